#include "engine/colours.h"

namespace glintora {

namespace {

inline std::int32_t Wrap360(std::int32_t v) {
  v %= 360;
  return v < 0 ? v + 360 : v;
}

}  // namespace

std::uint32_t WheelColour(ShowState& st, std::uint32_t c, std::int32_t hue) {
  if (c == 0) return st.S.HueWheel[Wrap360(Floor(static_cast<double>(st.Rnd()) * 360))];
  if (hue == 0) {
    const double f = st.Rnd();
    const auto r = static_cast<std::uint32_t>(Floor((c & 255) * f));
    const auto g = static_cast<std::uint32_t>(Floor(((c >> 8) & 255) * f));
    const auto b = static_cast<std::uint32_t>(Floor(((c >> 16) & 255) * f));
    return r | (g << 8) | (b << 16);
  }
  const std::int32_t spread = Floor(static_cast<double>(st.S.ColorHueWheel) * st.Rnd());
  return st.S.HueWheel[Wrap360(spread + hue + 330)];
}

ColourScheme ChooseColourScheme(ShowState& st) {
  ColourScheme scheme;
  const double r = static_cast<double>(st.Rnd()) * 100;
  scheme.Base = WheelColour(st, 0, 0);
  if (r < st.S.ColorPctInt) {
    scheme.Solid = false;
  } else if (r < st.S.ColorPctInt + st.S.ColorPctHue) {
    scheme.Solid = false;
    scheme.Hue = static_cast<std::int16_t>(Floor(static_cast<double>(st.Rnd()) * 360) + 1);
  } else {
    scheme.Solid = true;
  }
  return scheme;
}

std::uint32_t SparkColour(ShowState& st, const ColourScheme& scheme) {
  return scheme.Solid ? scheme.Base : WheelColour(st, scheme.Base, scheme.Hue);
}

}  // namespace glintora
