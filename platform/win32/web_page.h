// Opening the maker's web page with the shell.
#pragma once

#include <windows.h>

namespace glintora {

inline constexpr const char* kMakerWebPage = "https://glintora.example/fireworks";

// Asks the shell to open the page. The shell's answer is not looked at; only when the call
// itself cannot be made is the user told, with the address to type in.
void OpenMakerWebPage(HWND owner);

// The text of that message.
const char* WebPageFailureText();

}  // namespace glintora
