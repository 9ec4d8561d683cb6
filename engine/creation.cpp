// Sections: group sizes; the centre and the launch set-up; the kind roll; filling the records;
// the rocket's frame.
#include "engine/creation.h"

#include <algorithm>
#include <cmath>

#include "engine/colours.h"
#include "engine/pixel_patterns.h"
#include "engine/surface_writer.h"
#include "engine/velocities.h"

namespace glintora {

std::int16_t LeaderGroup(std::int16_t sparks, std::int16_t leaders) {
  if (leaders < 1) return std::max<std::int16_t>(sparks, 1);
  return static_cast<std::int16_t>(std::max(sparks / leaders, 1));
}

Warp RollWarp(ShowState& st) {
  Warp w;
  const double r3 = static_cast<double>(st.Rnd()) * 100;
  if (r3 < st.S.FireSplinePct) {
    w.Mode = kWarpSpline;
  } else if (r3 < st.S.FireSplinePct + st.S.FirePatternPct) {
    w.Mode = kWarpPattern;
    w.Pattern = static_cast<std::int16_t>(Floor(static_cast<double>(st.Rnd()) * 4));
  }
  return w;
}

namespace {

inline void AtCentre(Spark& p, const Slot& s) {
  p.X = s.CentreX;
  p.Y = s.CentreY;
  p.Z = s.CentreZ;
}

std::int16_t StandardTrail(ShowState& st) {
  const std::int32_t len = st.S.FireLength;
  const std::int32_t minimum = std::max(1, RoundSmall(std::log(static_cast<double>(std::max(len, 1)))));
  return static_cast<std::int16_t>(Floor(static_cast<double>(st.Rnd()) * len) + minimum);
}

// Rolls the burst kind and sets the slot's group size, live count and trail length.
void RollKind(ShowState& st, Slot& s) {
  const auto& S = st.S;
  const double r2 = static_cast<double>(st.Rnd()) * 100;
  const std::int16_t pcts[7] = {S.FireScintPct, S.FireMultiPct, S.FireBurstPct, S.FireSparkPct,
                                S.FireRingPct,  S.FireTwistPct, S.FireDecayPct};
  const std::int16_t kinds[7] = {kScintillator, kMultiBurst, kJetBurst, kSparkler,
                                 kRing,         kTwister,    kDecayingStar};
  std::int32_t sum = 0;
  std::int16_t kind = kStandard;
  for (int k = 0; k < 7; ++k) {
    sum += pcts[k];
    if (sum > r2) {
      kind = kinds[k];
      break;
    }
  }
  const std::int16_t n = S.FireSparks;
  s.Kind = kind;
  s.TrailLength = 1;
  switch (kind) {
    case kScintillator:
      s.GroupSize = static_cast<std::int16_t>(Floor(static_cast<double>(st.Rnd()) * S.FireScintStyle) * 4 + 5);
      s.LiveCount = static_cast<std::int16_t>(n / s.GroupSize);
      break;
    case kMultiBurst:
      s.GroupSize = LeaderGroup(n, S.FireMultiBurst);
      s.LiveCount = static_cast<std::int16_t>(n / s.GroupSize);
      break;
    case kJetBurst:
      s.GroupSize = LeaderGroup(n, S.FireBurstCount);
      s.LiveCount = static_cast<std::int16_t>((n / s.GroupSize) * (s.GroupSize - 1));
      break;
    case kSparkler:
      s.GroupSize = std::max<std::int16_t>(S.FireSparkPix, 1);
      s.LiveCount = static_cast<std::int16_t>(n / s.GroupSize);
      break;
    case kRing:
      s.GroupSize = 1;
      s.LiveCount = n;
      s.TrailLength = StandardTrail(st);
      break;
    case kTwister:
      s.GroupSize = LeaderGroup(n, S.FireTwistCnt);
      s.LiveCount = static_cast<std::int16_t>((n / s.GroupSize) * (s.GroupSize - 1));
      break;
    case kDecayingStar:
      s.GroupSize = LeaderGroup(n, S.FireDecayCnt);
      s.LiveCount = static_cast<std::int16_t>(n / s.GroupSize);
      break;
    default:
      s.GroupSize = 1;
      s.LiveCount = n;
      s.TrailLength = StandardTrail(st);
      break;
  }
}

void FillRing(ShowState& st, const Slot& s, std::int32_t base, const Warp& warp, float size,
              const ColourScheme& scheme) {
  const auto& S = st.S;
  const std::int32_t rings = S.FireRingEmb;
  for (std::int32_t e = 0; e < rings; ++e) {
    st.RingA[e] = Single(static_cast<double>(st.Rnd()) * 6.2831855);
    st.RingB[e] = Single(static_cast<double>(st.Rnd()) * 6.2831855);
  }
  const auto& t = *st.Trig;
  for (std::int32_t j = base; j < base + S.FireSparks; ++j) {
    Spark& p = st.Sparks[j];
    AtCentre(p, s);
    if (warp.Mode == kWarpSpline) {
      const float speed = SparkSpeed(st, size);
      BurstVelocity(st, p.VX, p.VY, p.VZ, s.CentreX, s.CentreY, s.CentreZ, speed, warp.Mode,
                    warp.Pattern, size, false);
    } else {
      const std::int32_t e = Floor(static_cast<double>(st.Rnd()) * rings);
      const double v = SparkSpeed(st, size);
      const std::int32_t a =
          Floor(S.FireRingDeg / 180.0 * 1000 * (static_cast<double>(st.Rnd()) - 0.5)) + 500;
      const std::int32_t b = RoundSmall(static_cast<double>(st.Rnd()) * 1000);
      const double sg = Sign(static_cast<double>(st.Rnd()) - 0.5);
      const Vec3 r = RotateYX(Single(v * t.Cos[b] * t.Sin[a]), Single(sg * v * t.Sin[b] * t.Sin[a]),
                              Single(v * t.Cos[a]), st.RingA[e], st.RingB[e]);
      p.VX = r.X;
      p.VY = r.Y;
      p.VZ = r.Z;
    }
    TailCopy(p);
    p.Alive = true;
    p.Colour = SparkColour(st, scheme);
  }
}

// The spray sources (jet and twister leaders) start one velocity step from the centre.
void FillSprayLeaders(ShowState& st, const Slot& s, std::int32_t base, const Warp& warp, float size,
                      const ColourScheme& scheme) {
  const auto& S = st.S;
  const std::int32_t g = s.GroupSize;
  const bool jet = s.Kind == kJetBurst;
  for (std::int32_t j = base; j <= base + S.FireSparks - g; j += g) {
    Spark& p = st.Sparks[j];
    float speed;
    if (jet) {
      const double sym = S.FireSymmetry;
      speed = Single(static_cast<double>(S.FireSpeed) * size *
                     (((1 - sym) * st.Rnd() + sym) * 0.5 + 0.25));
    } else {
      speed = SparkSpeed(st, size);
    }
    BurstVelocity(st, p.VX, p.VY, p.VZ, s.CentreX, s.CentreY, s.CentreZ, speed, warp.Mode,
                  warp.Pattern, size, true);
    p.X = Single(static_cast<double>(s.CentreX) + p.VX);
    p.Y = Single(static_cast<double>(s.CentreY) + p.VY);
    p.Z = Single(static_cast<double>(s.CentreZ) + p.VZ);
    if (!jet) {
      p.TailX = s.CentreX;
      p.TailY = s.CentreY;
      p.TailZ = s.CentreZ;
      p.TailVX = 0;
    }
    p.Alive = true;
    p.Spraying = true;
    const float radius = jet ? S.FireBurstRadius : S.FireTwistRad;
    for (std::int32_t f = j + 1; f < j + g; ++f) {
      Spark& q = st.Sparks[f];
      q.X = p.X;
      q.Y = p.Y;
      q.Z = p.Z;
      SphereVelocity(st, q.VX, q.VY, q.VZ, radius);
      q.Alive = true;
      q.Colour = jet ? kWhite : SparkColour(st, scheme);
    }
  }
}

void FillRecords(ShowState& st, Slot& s, std::int32_t base, const Warp& warp, float size,
                 const ColourScheme& scheme) {
  const auto& S = st.S;
  const std::int32_t g = s.GroupSize;
  switch (s.Kind) {
    case kLaunch:
      for (std::int32_t j = base; j < base + S.FireLaunchPixel; ++j) {
        Spark& p = st.Sparks[j];
        AtCentre(p, s);
        SphereVelocity(st, p.VX, p.VY, p.VZ, S.FireLaunchRadius);
        p.Alive = true;
        p.Colour = kWhite;
      }
      break;
    case kStandard:
      for (std::int32_t j = base; j < base + S.FireSparks; ++j) {
        Spark& p = st.Sparks[j];
        AtCentre(p, s);
        const float speed = SparkSpeed(st, size);
        BurstVelocity(st, p.VX, p.VY, p.VZ, s.CentreX, s.CentreY, s.CentreZ, speed, warp.Mode,
                      warp.Pattern, size, false);
        TailCopy(p);
        p.Alive = true;
        p.Colour = SparkColour(st, scheme);
      }
      break;
    case kRing:
      s.Kind = kStandard;
      FillRing(st, s, base, warp, size, scheme);
      break;
    case kJetBurst:
    case kTwister:
      FillSprayLeaders(st, s, base, warp, size, scheme);
      break;
    case kScintillator:
    case kMultiBurst:
    case kSparkler:
    case kDecayingStar:
      for (std::int32_t j = base; j <= base + S.FireSparks - g; j += g) {
        Spark& p = st.Sparks[j];
        AtCentre(p, s);
        const float speed = SparkSpeed(st, size);
        BurstVelocity(st, p.VX, p.VY, p.VZ, s.CentreX, s.CentreY, s.CentreZ, speed, warp.Mode,
                      warp.Pattern, size, false);
        if (s.Kind == kSparkler || s.Kind == kDecayingStar) TailCopy(p);
        if (s.Kind == kDecayingStar)
          p.SparkAge = static_cast<std::int16_t>(
              Floor(static_cast<double>(st.Rnd()) * (S.FireDecayMLife - 5)) + 5);
        p.Alive = true;
        p.Colour = s.Kind == kSparkler ? SparkColour(st, scheme) : kWhite;
      }
      break;
    default:
      break;
  }
}

}  // namespace

void CreateFirework(ShowState& st, std::int32_t i) {
  const auto& S = st.S;
  Slot& s = st.Slots[i];
  const double kx = S.CenterX / static_cast<double>(S.ProjectionScale);
  const double ky = S.CenterY / static_cast<double>(S.ProjectionScale);
  if (s.Kind != kLaunch) {
    s.CentreX = Single((static_cast<double>(st.Rnd()) * 1.8 - 0.9) * kx);
    s.CentreY = Single((static_cast<double>(st.Rnd()) * 1.5 - 0.9) * ky);
    s.CentreZ = Single(static_cast<double>(st.Rnd()) * 0.3 + 0.9);
  }
  s.Age = 0;
  Warp warp;
  float size = 1.0f;
  const double r = static_cast<double>(st.Rnd()) * 100;
  if (r < S.FireLaunchPct && s.Kind == kStandard) {
    s.Kind = kLaunch;
    s.TrailLength = 1;
    s.LiveCount = S.FireLaunchPixel;
    s.GroupSize = static_cast<std::int16_t>(std::max(S.FireSparks / S.FireLaunchPixel, 1));
    const double steps = S.FireLaunchSteps;
    const double sx = std::clamp(static_cast<double>(s.CentreX) + (static_cast<double>(st.Rnd()) * 0.25 - 0.125),
                                 -0.9, 0.9) * kx;
    s.DriftX = Single((s.CentreX - sx) / steps);
    s.CentreX = Single(sx);
    s.CentreY = Single((static_cast<double>(st.Rnd()) * 1.2 - 0.9) * ky);
    s.DriftY = Single((s.CentreY - ky) / steps);
    s.CentreY = Single(ky);
    s.DriftZ = Single((s.CentreZ - 1.0) / steps);
    s.CentreZ = 1.0f;
    st.Expect(i, ShowEventType::Launch, kLaunch, S.FireLaunchPixel);
  } else {
    RollKind(st, s);
    st.Expect(i, ShowEventType::Burst, s.Kind, S.FireSparks);
    warp = RollWarp(st);
    size = Single(((S.FireSizeDev - 1) * static_cast<double>(st.Rnd()) + 1) * 0.0025);
  }
  if (warp.Mode == kWarpSpline) SeedSplineKnots(st, s.CentreX, s.CentreY, s.CentreZ);
  const ColourScheme scheme = ChooseColourScheme(st);
  FillRecords(st, s, i * S.FireSparks, warp, size, scheme);
  s.ListReady = false;
  s.ScreenKept = false;
}

void UpdateLaunch(ShowState& st, std::int32_t i) {
  const auto& S = st.S;
  Slot& s = st.Slots[i];
  const View& v = st.Screen;
  SurfaceWriter fb(*st.Surface);
  if (s.Age <= S.FireLaunchSteps) {
    s.CentreX = Single(static_cast<double>(s.CentreX) + s.DriftX);
    s.CentreY = Single(static_cast<double>(s.CentreY) + s.DriftY);
    s.CentreZ = Single(static_cast<double>(s.CentreZ) + s.DriftZ);
  }
  const double persist = S.FireLaunchPersist;
  const std::int32_t base = i * S.FireSparks;
  for (std::int32_t j = base; j < base + S.FireLaunchPixel; ++j) {
    Spark& p = st.Sparks[j];
    if (!p.Alive) continue;
    std::int32_t sx = 0, sy = 0;
    if (v.Project(p.X, p.Y, p.Z, sx, sy)) fb.Set(sx, sy, 0);
    p.X = Single(static_cast<double>(p.X) + p.VX);
    p.Y = Single(static_cast<double>(p.Y) + p.VY);
    p.Z = Single(static_cast<double>(p.Z) + p.VZ);
    bool seen = v.Project(p.X, p.Y, p.Z, sx, sy);
    const bool dies = st.Rnd() > persist;  // drawn for every spark, seen or not
    const bool fails = dies || !(seen && v.OnScreen(sx, sy));
    if (fails) {
      if (s.Age >= S.FireLaunchSteps) {
        p.Alive = false;
        --s.LiveCount;
      } else {
        p.X = s.CentreX;
        p.Y = s.CentreY;
        p.Z = s.CentreZ;
        SphereVelocity(st, p.VX, p.VY, p.VZ, S.FireLaunchRadius);
        seen = v.Project(p.X, p.Y, p.Z, sx, sy);
      }
    }
    if (p.Alive) {
      if (seen) fb.Set(sx, sy, p.Colour);
      p.VY = Single(static_cast<double>(p.VY) + S.FireGravity);
      p.VX = Single(static_cast<double>(p.VX) * S.FireDamping);
      p.VY = Single(static_cast<double>(p.VY) * S.FireDamping);
      p.VZ = Single(static_cast<double>(p.VZ) * S.FireDamping);
    }
  }
  fb.Close();
  if (s.Age >= S.FireLaunchSteps && s.LiveCount <= 0) CreateFirework(st, i);
}

}  // namespace glintora
