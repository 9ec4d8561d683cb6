// frmSplash: the product picture for three seconds at the start of a screen-saver run, centred
// on the screen; the show starts when it has gone.
#pragma once

#include <windows.h>

namespace glintora {

inline constexpr int kSplashWidth = 420;
inline constexpr int kSplashHeight = 225;
inline constexpr UINT kSplashMilliseconds = 3000;

// Shows the splash inside parent (a window over the whole screen), centred on the primary
// screen, and returns when it has closed itself, or at once when *cancelled turns true (the
// saver was closed meanwhile). Being a child, it is never taken for the program's window.
void ShowSplashModal(HINSTANCE instance, HWND parent, const bool* cancelled);

}  // namespace glintora
