// frmAppEXE: the show in an ordinary window when the program runs from its .exe. Esc ends the
// program, F5 restarts the show, any other key or a click opens the properties dialog, after
// which the show starts afresh with the settings as they now stand. With Adv_WinResize "1" the
// window is sizable, captioned and remembers its placement in "General"; otherwise it fills
// the screen with no caption text and no cursor.
#pragma once

#include <windows.h>

#include "platform/win32/program.h"

namespace glintora {

inline constexpr const char* kApplicationPlacementSection = "General";

// The properties dialog, modal over the application window; returns when it has closed.
// Program::Run.QuitRequested tells whether the dialog asked the program to end.
void ShowPropertiesOverApplication(Program& program, HWND owner);

}  // namespace glintora
