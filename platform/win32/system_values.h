// Reading values that belong to the system rather than to the program.
#pragma once

#include <windows.h>

#include <string>

namespace glintora {

// A value as text, empty when the key or the value is absent. A REG_DWORD reads as its decimal
// number with at least three digits ("000", "001", "1234"); other types as their stored text.
std::string RegReadSystemValue(HKEY root, const std::string& path, const std::string& name);

// Whether the user's screen-saver password option is on: ScreenSaveUsePassword under
// <root>\<path> reads as a number other than 0 (a DWORD 1 and a text "1" are both on).
bool ScreenSaverPasswordOn(HKEY root = HKEY_CURRENT_USER,
                           const std::string& path = "Control Panel\\Desktop");

}  // namespace glintora
