// frmPreview: the live preview inside the display-properties dialog's monitor picture. A hidden
// window lends its picture box to the host window given after "/P"; the show runs in the box
// until the host destroys it or goes away, and then the process ends.
#pragma once

#include <windows.h>

namespace glintora {

inline constexpr const char* kPreviewCaption = "KRYX:Preview Glintora Fireworks 1.0";
inline constexpr const char* kPreviewSound = "Glinto10.wav";

}  // namespace glintora
