// A plain window that holds a run mode's place until its real window exists: the right caption,
// black, and it closes on a key. Closing the last one ends the message loop.
#pragma once

#include <windows.h>

#include <string>

namespace glintora {

struct StandInSpec {
  const char* Caption = "";
  DWORD Style = WS_OVERLAPPEDWINDOW;
  DWORD ExStyle = 0;
  int X = CW_USEDEFAULT, Y = CW_USEDEFAULT, Width = CW_USEDEFAULT, Height = CW_USEDEFAULT;
  HWND Parent = nullptr;
  bool CloseOnAnyInput = false;  // any key or button closes it, else Esc only
  HWND WatchedHost = nullptr;    // closes when this window is gone (checked on a timer)
  void (*OnClosed)() = nullptr;  // runs when the window is destroyed
};

// Creates and shows the window; nullptr when it could not be created.
HWND CreateStandInWindow(HINSTANCE instance, const StandInSpec& spec);

}  // namespace glintora
