#include "dialogs_harness.h"

#include <vector>

#include "engine/trig_tables.h"
#include "platform/win32/dialogs/dialog_window.h"
#include "settings/store_ops.h"

namespace glintora::test {

DialogProgram::DialogProgram(const std::string& name)
    : key_(name), program_(std::make_unique<Program>()) {
  program_->Instance = GetModuleHandleA(nullptr);
  program_->Store = RegistryStore(RegistryLocation{key_.Root(), nullptr, "Store"});
  BuildTrigTables(program_->Engine.Trig);
}

std::string DialogProgram::Stored(const std::string& section, const std::string& key) {
  return RegReadText(program_->Store, section, key, "<absent>");
}

std::string TextOf(HWND control) {
  char buffer[512] = {};
  GetWindowTextA(control, buffer, sizeof buffer);
  return buffer;
}

void TypeInto(HWND edit, const std::string& chars) {
  SetFocus(edit);
  for (char ch : chars) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

void ChooseEntry(HWND comboBox, int index) {
  SendMessageA(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(comboBox), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(comboBox), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(comboBox));
}

void MenuCommand(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void PressKey(WPARAM key) {
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
  PumpPendingMessages();
}

int LitPixels(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return 0;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  int lit = 0;
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int i = 0; pixels && i < width * height; ++i) lit += (pixels[i] & 0xFFFFFF) != 0;
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(window, screen);
  return lit;
}

}  // namespace glintora::test
