#include "platform/win32/system_services.h"

#include "platform/win32/system_values.h"

namespace glintora {

namespace {

constexpr DWORD kWin9x = 1;

bool PasswordServicesApply() { return OsPlatform() == kWin9x && ScreenSaverPasswordOn(); }

}  // namespace

DWORD OsPlatform() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExA(&info)) return 0;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return info.dwPlatformId;
}

void MakeTopmost(HWND window) {
  if (OsPlatform() != kWin9x) return;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void SetSaverRunning(bool running) {
  if (!PasswordServicesApply()) return;
  UINT previous = 0;
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

bool VerifySaverPassword(HWND window) {
  if (!PasswordServicesApply()) return true;
  HMODULE module = LoadLibraryA("password.cpl");
  if (!module) return true;
  using VerifyFn = BOOL(WINAPI*)(HWND);
  auto verify = reinterpret_cast<VerifyFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "VerifyScreenSavePwd")));
  const bool ok = !verify || static_cast<short>(verify(window)) == 1;
  FreeLibrary(module);
  return ok;
}

}  // namespace glintora
