#include "platform/win32/web_page.h"

#include <shellapi.h>

#include <string>

namespace glintora {

namespace {

using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// Resolved at run time so that a system without the shell's entry reports it instead of
// refusing to start the program.
ShellExecuteFn ShellExecuteEntry() {
  HMODULE shell = LoadLibraryA("shell32.dll");
  if (!shell) return nullptr;
  return reinterpret_cast<ShellExecuteFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(shell, "ShellExecuteA")));
}

}  // namespace

const char* WebPageFailureText() {
  static const std::string text =
      std::string("The Web Page could not be reached.\r\n\r\nURL:  ") + kMakerWebPage;
  return text.c_str();
}

void OpenMakerWebPage(HWND owner) {
  if (ShellExecuteFn open = ShellExecuteEntry()) {
    open(owner, "Open", kMakerWebPage, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  MessageBoxA(owner, WebPageFailureText(), "Glintora Fireworks", MB_OK | MB_ICONINFORMATION);
}

}  // namespace glintora
