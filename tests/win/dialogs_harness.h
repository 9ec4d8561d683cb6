// What the dialog tests share: a program whose store is a scratch registry key, the user's
// actions as messages (typing, clicks, list choices, menu commands) and readers of controls.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/program.h"
#include "scratch_key.h"

namespace glintora::test {

// A program record over HKEY_CURRENT_USER\Software\GlintoraTests\<name>, emptied first.
class DialogProgram {
 public:
  explicit DialogProgram(const std::string& name);
  Program& Get() { return *program_; }
  Store& StoreOf() { return program_->Store; }
  // The stored text of section\key, "<absent>" when missing.
  std::string Stored(const std::string& section, const std::string& key);

 private:
  ScratchKey key_;
  std::unique_ptr<Program> program_;
};

std::string TextOf(HWND control);
// Focuses the field (its text is then selected) and types the characters, as the keyboard would.
void TypeInto(HWND edit, const std::string& chars);
void Click(HWND button);
// Chooses an entry of a pick list as the user does (the list tells its dialog).
void ChooseEntry(HWND comboBox, int index);
void MenuCommand(HWND dialog, int id);
// Posts a key to the window with the focus and handles pending messages.
void PressKey(WPARAM key);
// How many pixels of the window's client area are not black.
int LitPixels(HWND window);

}  // namespace glintora::test
