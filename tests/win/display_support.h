// What the display-window tests share: settings written where the program reads them, pixels
// read back from the screen, and the program's windows found by caption or size.
#pragma once

#include <windows.h>

#include <string>

#include "scr_process.h"

namespace glintora::test {

// The setting as the program will read it (machine key, nothing left in the per-user one);
// RemoveSetting deletes it from both.
void PutSetting(const std::string& section, const std::string& key, const std::string& value);
void RemoveSetting(const std::string& section, const std::string& key);

// Pixels within rect (screen coordinates) that are not black, read from the screen.
long NonBlackPixels(const RECT& rect);

// A visible top-level window of the process with exactly this caption; nullptr when none.
HWND FindProcessWindow(DWORD processId, const char* caption);

// Waits until the process shows a visible top-level window captioned caption.
HWND WaitForCaption(ScrProcess& process, const char* caption, DWORD ms);

}  // namespace glintora::test
