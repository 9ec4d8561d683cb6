// frmSplash: the product picture for three seconds at the start of a screen-saver run, centred
// on the screen, modal over its owner.
#pragma once

#include <windows.h>

namespace glintora {

inline constexpr int kSplashWidth = 420;
inline constexpr int kSplashHeight = 225;
inline constexpr UINT kSplashMilliseconds = 3000;

// Shows the splash and returns when it has closed itself. owner is disabled meanwhile.
void ShowSplashModal(HINSTANCE instance, HWND owner);

}  // namespace glintora
