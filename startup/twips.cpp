#include "startup/twips.h"

#include "settings/numbers.h"

namespace glintora {

std::int16_t TwipsPerPixel(int dpi) {
  if (dpi <= 0) return 15;
  return RoundToInt16(1440.0 / dpi).value_or(15);
}

}  // namespace glintora
