// The screen's twips (1/1440 inch) per pixel for a given dots-per-inch figure.
#pragma once

#include <cstdint>

namespace glintora {

// 1440 / dpi rounded half to even: 15 at 96 dpi, 12 at 120, 8 at 192. A dpi that is not
// positive (an unreadable screen) gives the 96-dpi figure.
std::int16_t TwipsPerPixel(int dpi);

}  // namespace glintora
