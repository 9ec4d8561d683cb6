// The engine's number rules: round half to even into 32 bits (or fail), floor, sign, and the
// perspective projection. A conversion that does not fit fails instead of wrapping.
#pragma once

#include <cmath>
#include <cstdint>

namespace glintora {

// Round half to even; false when value is not finite or outside the 32-bit range.
inline bool RoundFits32(double value, std::int32_t& out) {
  if (!(value > -2147483648.5 && value < 2147483647.5)) return false;  // also rejects NaN
  // Adding and removing 1.5 * 2^52 rounds half to even under the default rounding mode, as
  // nearbyint does, without a library call on CPUs lacking a rounding instruction.
  const double r = (value + 6755399441055744.0) - 6755399441055744.0;
  if (r < -2147483648.0 || r > 2147483647.0) return false;
  out = static_cast<std::int32_t>(r);
  return true;
}

// Round half to even for values known to be small (indices, counts under the clamps).
inline std::int32_t RoundSmall(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

// Int: the largest integer not above value (value known to be small).
inline std::int32_t Floor(double value) { return static_cast<std::int32_t>(std::floor(value)); }

inline double Sign(double value) { return value > 0 ? 1.0 : (value < 0 ? -1.0 : 0.0); }

inline float Single(double value) { return static_cast<float>(value); }

// The view: a point (X right, Y down, Z depth) to surface pixels.
struct View {
  double Scale = 0;  // ProjectionScale
  double CenterX = 0;
  double CenterY = 0;
  std::int32_t Width = 0;  // SurfaceWidth
  std::int32_t Height = 0;

  // False when the point cannot be projected (depth 0, or a coordinate beyond 32 bits); the
  // engine then treats the point as off screen.
  bool Project(float x, float y, float z, std::int32_t& sx, std::int32_t& sy) const {
    if (z == 0.0f) return false;
    const double k = Scale / static_cast<double>(z);
    return RoundFits32(k * static_cast<double>(x) + CenterX, sx) &&
           RoundFits32(k * static_cast<double>(y) + CenterY, sy);
  }

  bool OnScreen(std::int32_t sx, std::int32_t sy) const {
    return sx >= 0 && sx <= Width && sy >= 0 && sy <= Height;
  }
};

}  // namespace glintora
