// The engine's number rules: round half to even into 32 bits (or fail), floor, sign, and the
// perspective projection. A conversion that does not fit fails instead of wrapping.
#pragma once

#include <cmath>
#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define GLINTORA_CVT_ROUNDS 1
#else
#define GLINTORA_CVT_ROUNDS 0
#endif

namespace glintora {

// Round half to even; false when value is not finite or outside the 32-bit range.
inline bool RoundFits32(double value, std::int32_t& out) {
#if GLINTORA_CVT_ROUNDS
  // One conversion under the default rounding mode (half to even); NaN and values beyond 64 bits
  // come back as INT64_MIN, which fails the 32-bit test. -2^31 - 0.5 rounds to -2^31 yet lies
  // outside the range, so that one result looks at the value again.
  const long long r = _mm_cvtsd_si64(_mm_set_sd(value));
  if (r != static_cast<std::int32_t>(r)) return false;
  if (r == INT32_MIN && !(value > -2147483648.5)) return false;
  out = static_cast<std::int32_t>(r);
  return true;
#else
  if (!(value > -2147483648.5 && value < 2147483647.5)) return false;  // also rejects NaN
  // Adding and removing 1.5 * 2^52 rounds half to even under the default rounding mode, as
  // nearbyint does, without a library call on CPUs lacking a rounding instruction. Inside the
  // range above the result always fits.
  const double r = (value + 6755399441055744.0) - 6755399441055744.0;
  out = static_cast<std::int32_t>(r);
  return true;
#endif
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

  // Project && OnScreen. sx and sy are meaningful only when true.
  bool ProjectOnScreen(float x, float y, float z, std::int32_t& sx, std::int32_t& sy) const {
#if GLINTORA_CVT_ROUNDS
    // A rounded coordinate inside [0, Width] also fits 32 bits, so one conversion per axis does.
    if (z == 0.0f) return false;
    const double k = Scale / static_cast<double>(z);
    const long long rx = _mm_cvtsd_si64(_mm_set_sd(k * static_cast<double>(x) + CenterX));
    const long long ry = _mm_cvtsd_si64(_mm_set_sd(k * static_cast<double>(y) + CenterY));
    sx = static_cast<std::int32_t>(rx);
    sy = static_cast<std::int32_t>(ry);
    return rx >= 0 && rx <= Width && ry >= 0 && ry <= Height;
#else
    return Project(x, y, z, sx, sy) && OnScreen(sx, sy);
#endif
  }
};

}  // namespace glintora
