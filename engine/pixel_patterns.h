// The four pixel clouds drawn around a spark's screen position: scintillator, shell, sparkle
// cluster and decaying star. Each is rings around the centre pixel at distances that scale with
// the spark's perspective unit u. Every call draws the centre, forms u, then sets its pixels in a
// fixed unrolled order; a ring whose distance does not fit 32 bits (u not finite, a spark at the
// eye) ends the call there, keeping the pixels already set.
//
// Sections: ring helpers; PlotScintillatorPattern; PlotShellPattern; PlotSparkleCluster;
// PlotDecayingStar.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/engine_math.h"
#include "engine/framebuffer.h"

namespace glintora {

namespace rings {

// The rings of one call: A = axis ring, D = diagonal ring, a trailing c = rounded after adding
// the offset to the centre (differs only at exact halves). Target is a Framebuffer or a
// SurfaceWriter.
template <typename Target>
struct Rings {
  Target& fb;
  std::int64_t x, y;
  double u;
  std::uint32_t c;

  void Px(std::int64_t px, std::int64_t py) const { fb.Set(px, py, c); }

  bool A(double k) const {
    std::int32_t d;
    if (!RoundFits32(k * u, d)) return false;
    ADist(d);
    return true;
  }
  void ADist(std::int64_t d) const {
    Px(x - d, y);
    Px(x + d, y);
    Px(x, y - d);
    Px(x, y + d);
  }
  bool D(double k) const {
    std::int32_t d;
    if (!RoundFits32(k * u, d)) return false;
    Px(x - d, y - d);
    Px(x + d, y - d);
    Px(x - d, y + d);
    Px(x + d, y + d);
    return true;
  }
  // round(x - ku), round(x + ku), round(y - ku), round(y + ku)
  bool Offsets(double k, std::int32_t& xm, std::int32_t& xp, std::int32_t& ym,
               std::int32_t& yp) const {
    const double ku = k * u;
    return RoundFits32(static_cast<double>(x) - ku, xm) && RoundFits32(static_cast<double>(x) + ku, xp) &&
           RoundFits32(static_cast<double>(y) - ku, ym) && RoundFits32(static_cast<double>(y) + ku, yp);
  }
  bool Ac(double k) const {
    std::int32_t xm, xp, ym, yp;
    if (!Offsets(k, xm, xp, ym, yp)) return false;
    Px(xm, y);
    Px(xp, y);
    Px(x, ym);
    Px(x, yp);
    return true;
  }
  bool Dc(double k) const {
    std::int32_t xm, xp, ym, yp;
    if (!Offsets(k, xm, xp, ym, yp)) return false;
    Px(xm, ym);
    Px(xp, ym);
    Px(xm, yp);
    Px(xp, yp);
    return true;
  }
};

// u = focal / z kept as a float; false when it cannot be formed.
inline bool Unit(double focal, float z, double& u) {
  if (z == 0.0f) return false;
  const float kept = static_cast<float>(focal / static_cast<double>(z));
  if (!std::isfinite(kept)) return false;
  u = kept;
  return true;
}

}  // namespace rings

// p pixels for p = 5, 9, ..., 37; the centre alone for any other p.
template <typename Target>
inline void PlotScintillatorPattern(Target& fb, std::int32_t x, std::int32_t y, float z,
                                    double focal, std::int32_t p, std::uint32_t colour) {
  fb.Set(x, y, colour);
  double u;
  if (!rings::Unit(focal, z, u)) return;
  const rings::Rings<Target> r{fb, x, y, u, colour};
  const int n = (p >= 5 && p <= 37 && (p - 1) % 4 == 0) ? (p - 1) / 4 : 0;
  if (n < 1 || !r.Ac(1)) return;
  if (n < 2 || !r.A(2)) return;
  if (n < 3 || !r.D(4)) return;
  if (n < 4 || !r.A(8)) return;
  if (n < 5 || !r.A(12)) return;
  if (n < 6 || !r.D(7)) return;
  if (n < 7 || !r.A(16)) return;
  if (n < 8 || !r.D(11)) return;
  if (n < 9) return;
  r.A(25);
}

// The shell of a multi-burst leader; count n picks how many rings (1, 2, 3, 5, 9, ..., 33 pixels).
template <typename Target>
inline void PlotShellPattern(Target& fb, std::int32_t x, std::int32_t y, float z,
                             double focal, std::int32_t n, std::uint32_t colour) {
  fb.Set(x, y, colour);
  double u;
  if (!rings::Unit(focal, z, u)) return;
  const rings::Rings<Target> r{fb, x, y, u, colour};
  if (n <= 1) return;
  if (n <= 4) {
    std::int32_t xp, xm;
    if (!RoundFits32(static_cast<double>(x) + u, xp)) return;
    r.Px(xp, y);
    if (n == 2 || !RoundFits32(static_cast<double>(x) - u, xm)) return;
    r.Px(xm, y);
    return;
  }
  const int tier = n >= 33 ? 8 : n >= 25 ? 6 : n >= 21 ? 5 : n >= 17 ? 4 : n >= 13 ? 3 : n >= 9 ? 2 : 1;
  if (!r.Ac(1)) return;
  if (tier < 2 || !r.Dc(1)) return;
  if (tier < 3 || !r.A(2)) return;
  if (tier < 4 || !r.A(3)) return;
  if (tier < 5 || !r.A(4)) return;
  if (tier < 6 || !r.D(3)) return;
  if (tier < 8 || !r.A(5)) return;
  r.A(8);
}

// The twinkle of a sparkler's leader; level is FireSparkPix.
template <typename Target>
inline void PlotSparkleCluster(Target& fb, std::int32_t x, std::int32_t y, float z,
                               double focal, std::int32_t level, std::uint32_t colour) {
  fb.Set(x, y, colour);
  double u;
  if (!rings::Unit(focal, z, u)) return;
  const rings::Rings<Target> r{fb, x, y, u, colour};
  const double fx = x, fy = y;
  std::int32_t a, b, c2, d2;
  if (level == 1 || level >= 31) return;
  if (level == 2) {
    if (RoundFits32(fx + 2 * u, a)) r.Px(a, y);
    return;
  }
  if (level == 3) {
    if (!RoundFits32(fx - u, a) || !RoundFits32(fy + u, b) || !RoundFits32(fx + u, c2)) return;
    r.Px(a, b);
    r.Px(c2, b);
    return;
  }
  if (level <= 5) {
    r.A(2);
    return;
  }
  if (level <= 7) {
    std::int32_t xm, xp, ym, yp, xm2, xp2;
    if (!r.Offsets(1, xm, xp, ym, yp) || !RoundFits32(fx - 2 * u, xm2) ||
        !RoundFits32(fx + 2 * u, xp2))
      return;
    r.Px(xm, ym);
    r.Px(xp, ym);
    r.Px(xm2, y);
    r.Px(xp2, y);
    r.Px(xm, yp);
    r.Px(xp, yp);
    return;
  }
  if (level <= 10) {
    if (r.Dc(1)) r.A(4);
    return;
  }
  if (level <= 12) {
    if (!r.Dc(1)) return;
    if (!RoundFits32(fx - 5 * u, c2) || !RoundFits32(fx + 5 * u, d2)) return;
    r.Px(c2, y);
    r.Px(d2, y);
    if (!RoundFits32(2 * u, a) || !RoundFits32(3 * u, b)) return;
    const std::int64_t ea = a, eb = b;
    r.Px(x - ea, y - eb);
    r.Px(x - ea, y + eb);
    r.Px(x + ea, y - eb);
    r.Px(x + ea, y + eb);
    return;
  }
  if (level <= 14) {
    if (r.D(2) && r.A(6)) r.D(4);
    return;
  }
  if (!r.D(2) || !r.A(5)) return;
  if (level <= 18) {
    if (r.D(3)) r.D(6);
    return;
  }
  if (level <= 22) {
    if (r.D(3) && r.D(6)) r.A(8);
    return;
  }
  if (level <= 26) {
    if (r.D(3) && r.D(5) && r.D(6)) r.A(9);
    return;
  }
  if (r.A(7) && r.D(3) && r.D(5) && r.D(7)) r.A(11);
}

// A decaying star of remaining size s; scale is the show's decaying-star size factor.
template <typename Target>
inline void PlotDecayingStar(Target& fb, std::int32_t x, std::int32_t y, float z,
                             double focal, double scale, std::int32_t s, std::uint32_t colour) {
  fb.Set(x, y, colour);
  if (z == 0.0f) return;
  const double wide = focal / static_cast<double>(z) * scale * s * 0.1;
  std::int32_t reach;
  if (!RoundFits32(32 * wide, reach)) return;
  const float kept = static_cast<float>(wide);
  if (!std::isfinite(kept)) return;
  const rings::Rings<Target> r{fb, x, y, kept, colour};
  if (reach < 1) return;
  if (reach >= 8 && (!r.Ac(1) || !r.A(4))) return;
  if (reach >= 4 && (!r.D(8) || !r.D(12))) return;
  if (reach >= 2 && !r.A(16)) return;
  r.ADist(reach);
}

}  // namespace glintora
