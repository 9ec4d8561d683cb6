// Sections: shared steps; Standard; Scintillator and Twinkle; MultiBurst; jet and twister spray;
// Sparkler; DecayingStar; SplitLeaders.
#include "engine/bursts.h"

#include <cmath>

#include "engine/colours.h"
#include "engine/creation.h"
#include "engine/pixel_patterns.h"
#include "engine/surface_writer.h"
#include "engine/velocities.h"

namespace glintora {

namespace {

inline void Move(Spark& p) {
  p.X = Single(static_cast<double>(p.X) + p.VX);
  p.Y = Single(static_cast<double>(p.Y) + p.VY);
  p.Z = Single(static_cast<double>(p.Z) + p.VZ);
}

inline void Physics(Spark& p, double gravity, double damping) {
  p.VY = Single(static_cast<double>(p.VY) + gravity);
  p.VX = Single(static_cast<double>(p.VX) * damping);
  p.VY = Single(static_cast<double>(p.VY) * damping);
  p.VZ = Single(static_cast<double>(p.VZ) * damping);
}

// Projects and tests the screen; a point that cannot be projected is off screen.
inline bool ProjectOn(const View& v, const Spark& p, std::int32_t& sx, std::int32_t& sy) {
  return v.ProjectOnScreen(p.X, p.Y, p.Z, sx, sy);
}

inline bool Visible(const Spark& p) { return p.Z >= 0.0001f; }

// Where the previous update drew p, for its erase: the projection it kept when the slot keeps
// them, else a new one. False when the position cannot be projected (nothing was drawn).
inline bool LastShown(const View& v, const Spark& p, bool kept, std::int32_t& sx, std::int32_t& sy) {
  if (!kept) return v.Project(p.X, p.Y, p.Z, sx, sy);
  sx = p.ShownX;
  sy = p.ShownY;
  return p.Shown;
}

inline void KeepShown(Spark& p, bool projected, std::int32_t sx, std::int32_t sy) {
  p.Shown = projected;
  p.ShownX = sx;
  p.ShownY = sy;
}

}  // namespace

void FinishSlot(ShowState& st, std::int32_t i) {
  st.Slots[i].Kind = kStandard;
  CreateFirework(st, i);
}

void UpdateStandard(ShowState& st, std::int32_t i) {
  Slot& s = st.Slots[i];
  const View& v = st.Screen;
  QueuedWriter fb(*st.Surface);
  const double persist = st.S.FirePersist;
  const double gravity = st.S.FireGravity;
  const double damping = st.S.FireDamping;
  const std::int16_t trail = s.TrailLength;
  const std::int32_t base = i * st.S.FireSparks;
  std::int32_t* list = st.InFlight.data() + base;
  if (!s.ListReady) {
    std::int32_t n = 0;
    for (std::int32_t j = base; j < base + st.S.FireSparks; ++j)
      if (st.Sparks[j].Alive || st.Sparks[j].TailAlive) list[n++] = j;
    s.Listed = n;
    s.ListReady = true;
  }
  std::int32_t kept = 0;
  const std::int32_t listed = s.Listed;  // the list's stores would otherwise reload it
  Random rng = *st.Rng;                  // nothing else draws while the loop runs
  for (std::int32_t k = 0; k < listed; ++k) {
    const std::int32_t j = list[k];
    Spark* p = &st.Sparks[j];
    if (p->Alive) {
      Move(*p);
      if (p->SparkAge < INT16_MAX) ++p->SparkAge;
      std::int32_t sx = 0, sy = 0;
      const bool seen = ProjectOn(v, *p, sx, sy);
      const bool dies = (rng.Next() > persist) | !seen;
      if (p->SparkAge == trail || dies) p->TailAlive = true;
      if (dies) {
        p->Alive = false;
        p->TailCountdown = trail;
      } else {
        if (Visible(*p)) fb.Set(sx, sy, p->Colour);
        Physics(*p, gravity, damping);
      }
    }
    if (p->TailAlive) {
      std::int32_t tx = 0, ty = 0;
      if (v.Project(p->TailX, p->TailY, p->TailZ, tx, ty)) fb.Set(tx, ty, 0);
      if (!p->Alive && --p->TailCountdown <= 0) {
        p->TailAlive = false;
        --s.LiveCount;
      }
      p->TailX = Single(static_cast<double>(p->TailX) + p->TailVX);
      p->TailY = Single(static_cast<double>(p->TailY) + p->TailVY);
      p->TailZ = Single(static_cast<double>(p->TailZ) + p->TailVZ);
      p->TailVY = Single(static_cast<double>(p->TailVY) + gravity);
      p->TailVX = Single(static_cast<double>(p->TailVX) * damping);
      p->TailVY = Single(static_cast<double>(p->TailVY) * damping);
      p->TailVZ = Single(static_cast<double>(p->TailVZ) * damping);
    }
    if (p->Alive || p->TailAlive) list[kept++] = j;
  }
  *st.Rng = rng;
  s.Listed = kept;
  fb.Close();
  if (s.LiveCount <= 0) FinishSlot(st, i);
}

namespace {

// Scintillator (pattern plotter, draw roll over 40 frames) and Twinkle (sparkle cluster, 100).
template <bool kTwinkleKind>
void UpdateFlicker(ShowState& st, std::int32_t i) {
  Slot& s = st.Slots[i];
  const View& v = st.Screen;
  SurfaceWriter fb(*st.Surface);
  const double focal = st.S.FocalLength;
  const double persist = st.S.FirePersist;
  const double gravity = st.S.FireGravity;
  const double damping = st.S.FireDamping;
  const std::int32_t g = s.GroupSize;
  const std::int32_t level = st.S.FireSparkPix;
  const double age = s.Age;
  const double span = age + persist * (kTwinkleKind ? 100 : 40);
  const std::int32_t base = i * st.S.FireSparks;
  auto plot = [&](const Spark& p, std::int32_t x, std::int32_t y, std::uint32_t c) {
    if (kTwinkleKind)
      PlotSparkleCluster(fb, x, y, p.Z, focal, level, c);
    else
      PlotScintillatorPattern(fb, x, y, p.Z, focal, g, c);
  };
  const bool kept = s.ScreenKept;
  Spark* const sparks = st.Sparks.data();
  Random rng = *st.Rng;  // nothing else draws while the loop runs
  for (std::int32_t j = base; j <= base + st.S.FireSparks - g; j += g) {
    Spark& p = sparks[j];
    if (!p.Alive) continue;
    std::int32_t sx = 0, sy = 0;
    if (LastShown(v, p, kept, sx, sy)) plot(p, sx, sy, 0);
    Move(p);
    const bool seen = ProjectOn(v, p, sx, sy);
    const double roll = rng.Next();
    const bool dies = kTwinkleKind ? (2 * roll > persist + 1) | !seen : (1.5 * roll > persist + 0.5) | !seen;
    if (dies) {
      p.Alive = false;
      --s.LiveCount;
      continue;
    }
    KeepShown(p, true, sx, sy);
    if (age < static_cast<double>(rng.Next()) * span) {
      if (Visible(p)) plot(p, sx, sy, p.Colour);
      Physics(p, gravity, damping);
    }
  }
  *st.Rng = rng;
  s.ScreenKept = true;
  fb.Close();
  if (s.LiveCount <= 0) FinishSlot(st, i);
}

}  // namespace

void UpdateScintillator(ShowState& st, std::int32_t i) { UpdateFlicker<false>(st, i); }
void UpdateTwinkle(ShowState& st, std::int32_t i) { UpdateFlicker<true>(st, i); }

void UpdateMultiBurst(ShowState& st, std::int32_t i) {
  Slot& s = st.Slots[i];
  const View& v = st.Screen;
  SurfaceWriter fb(*st.Surface);
  const double focal = st.S.FocalLength;
  const std::int32_t g = s.GroupSize;
  const std::int32_t base = i * st.S.FireSparks;
  const bool kept = s.ScreenKept;
  Spark* const sparks = st.Sparks.data();
  for (std::int32_t j = base; j <= base + st.S.FireSparks - g; j += g) {
    Spark& p = sparks[j];
    if (!p.Alive) continue;
    std::int32_t sx = 0, sy = 0;
    if (LastShown(v, p, kept, sx, sy)) PlotShellPattern(fb, sx, sy, p.Z, focal, g, 0);
    Move(p);
    if (ProjectOn(v, p, sx, sy)) {
      KeepShown(p, true, sx, sy);
      if (Visible(p)) PlotShellPattern(fb, sx, sy, p.Z, focal, g, p.Colour);
      Physics(p, st.S.FireGravity, st.S.FireDamping);
    } else {
      p.Alive = false;
    }
  }
  s.ScreenKept = true;
  fb.Close();
  if (s.Age == st.S.FireMultiAge) SplitLeaders(st, i, true);
}

void UpdateSpray(ShowState& st, std::int32_t i) {
  Slot& s = st.Slots[i];
  const View& v = st.Screen;
  SurfaceWriter fb(*st.Surface);
  const bool jet = s.Kind == kJetBurst;
  const double persist = st.S.FirePersist;
  const double sprayPersist = st.S.FireLaunchPersist;
  const double gravity = st.S.FireGravity;
  const double damping = st.S.FireDamping;
  const double leaderDamping = jet ? st.LeaderDamping : damping;
  const float radius = jet ? st.S.FireBurstRadius : st.S.FireTwistRad;
  const bool old = s.Age >= st.S.FireBurstAge;
  const std::int32_t g = s.GroupSize;
  const std::int32_t base = i * st.S.FireSparks;
  const bool kept = s.ScreenKept;
  Spark* const sparks = st.Sparks.data();
  Random rng = *st.Rng;  // handed back and forth around SphereVelocity, the only other draw
  for (std::int32_t j = base; j <= base + st.S.FireSparks - g; j += g) {
    Spark& leader = sparks[j];
    Vec3 source{leader.X, leader.Y, leader.Z};
    std::int32_t sx = 0, sy = 0;
    if (leader.Alive) {
      Move(leader);
      const bool seen = ProjectOn(v, leader, sx, sy);
      const bool dies = (old & (rng.Next() > persist)) | !seen;
      if (dies) {
        leader.Alive = false;
      } else {
        source = {leader.X, leader.Y, leader.Z};
        if (!jet) source = TwistEmitPoint(st, leader.X, leader.Y, leader.Z, leader.TailX, leader.TailY,
                                          leader.TailZ, leader.TailVX);
        Physics(leader, gravity, leaderDamping);
      }
    }
    if (!leader.Alive && !leader.Spraying) continue;
    bool flying = false;
    for (std::int32_t f = j + 1; f < j + g; ++f) {
      Spark& p = sparks[f];
      if (!p.Alive) continue;
      if (LastShown(v, p, kept, sx, sy)) fb.Set(sx, sy, 0);
      Move(p);
      bool seen = ProjectOn(v, p, sx, sy);
      const bool fails = (rng.Next() > sprayPersist) | !seen;
      if (fails) {
        if (leader.Alive) {
          p.X = source.X;
          p.Y = source.Y;
          p.Z = source.Z;
          *st.Rng = rng;
          SphereVelocity(st, p.VX, p.VY, p.VZ, radius);
          rng = *st.Rng;
          seen = v.Project(p.X, p.Y, p.Z, sx, sy);
        } else {
          p.Alive = false;
          --s.LiveCount;
        }
      }
      if (p.Alive) {
        KeepShown(p, seen, sx, sy);
        if (seen && Visible(p)) fb.Set(sx, sy, p.Colour);
        Physics(p, gravity, damping);
        flying = true;
      }
    }
    if (!leader.Alive && !flying) leader.Spraying = false;
  }
  *st.Rng = rng;
  s.ScreenKept = true;
  fb.Close();
  if (s.LiveCount <= 0) {
    if (jet && st.S.FireBurstShell)
      SplitLeaders(st, i, false);
    else
      FinishSlot(st, i);
  }
}

void UpdateSparkler(ShowState& st, std::int32_t i) {
  Slot& s = st.Slots[i];
  const View& v = st.Screen;
  SurfaceWriter fb(*st.Surface);
  const std::int32_t g = s.GroupSize;
  const std::int32_t base = i * st.S.FireSparks;
  const std::int32_t last = base + st.S.FireSparks - g;
  const bool kept = s.ScreenKept;
  Spark* const sparks = st.Sparks.data();
  for (std::int32_t j = base; j <= last; j += g) {
    Spark& p = sparks[j];
    if (!p.Alive) continue;
    std::int32_t sx = 0, sy = 0;
    if (LastShown(v, p, kept, sx, sy)) fb.Set(sx, sy, 0);
    Move(p);
    if (ProjectOn(v, p, sx, sy)) {
      KeepShown(p, true, sx, sy);
      if (Visible(p)) fb.Set(sx, sy, p.Colour);
      Physics(p, st.S.FireGravity, st.S.FireDamping);
    } else {
      p.Alive = false;
      --s.LiveCount;
    }
  }
  s.ScreenKept = true;
  if (s.Age != st.S.FireSparkAge) return;
  if (s.LiveCount < 1) {
    fb.Close();
    FinishSlot(st, i);
    return;
  }
  s.Kind = kTwinkle;
  st.Expect(i, ShowEventType::Twinkle, kTwinkle, s.LiveCount);
  for (std::int32_t j = base; j <= last; j += g) {
    const Spark& p = sparks[j];
    std::int32_t sx = 0, sy = 0;
    if (p.Alive && LastShown(v, p, true, sx, sy)) fb.Set(sx, sy, 0);
  }
}

void UpdateDecayingStar(ShowState& st, std::int32_t i) {
  Slot& s = st.Slots[i];
  const View& v = st.Screen;
  SurfaceWriter fb(*st.Surface);
  const double focal = st.S.FocalLength;
  const double scale = st.DecayStarScale;
  const std::int32_t g = s.GroupSize;
  const std::int32_t base = i * st.S.FireSparks;
  const bool kept = s.ScreenKept;
  Spark* const sparks = st.Sparks.data();
  for (std::int32_t j = base; j <= base + st.S.FireSparks - g; j += g) {
    Spark& p = sparks[j];
    if (!p.Alive) continue;
    std::int32_t sx = 0, sy = 0;
    if (LastShown(v, p, kept, sx, sy)) PlotDecayingStar(fb, sx, sy, p.Z, focal, scale, p.SparkAge, 0);
    Move(p);
    if (p.SparkAge != 0 && ProjectOn(v, p, sx, sy)) {
      KeepShown(p, true, sx, sy);
      --p.SparkAge;
      if (Visible(p)) PlotDecayingStar(fb, sx, sy, p.Z, focal, scale, p.SparkAge, p.Colour);
      Physics(p, st.S.FireGravity, st.S.FireDamping);
    } else {
      p.Alive = false;
      --s.LiveCount;
    }
  }
  s.ScreenKept = true;
  fb.Close();
  if (s.LiveCount <= 0) FinishSlot(st, i);
}

void SplitLeaders(ShowState& st, std::int32_t i, bool collectAlive) {
  Slot& s = st.Slots[i];
  const auto& S = st.S;
  const View& v = st.Screen;
  SurfaceWriter fb(*st.Surface);
  const std::int32_t g = s.GroupSize;
  const std::int32_t base = i * S.FireSparks;
  std::int32_t n = 0;
  for (std::int32_t j = base; j <= base + S.FireSparks - g; j += g) {
    const Spark& p = st.Sparks[j];
    std::int32_t sx = 0, sy = 0;
    if (collectAlive) {
      if (!p.Alive) continue;
      st.LX[n] = p.X;
      st.LY[n] = p.Y;
      st.LZ[n] = p.Z;
      st.LVX[n] = p.VX;
      st.LVY[n] = p.VY;
      st.LVZ[n] = p.VZ;
      ++n;
      if (LastShown(v, p, s.ScreenKept, sx, sy)) PlotShellPattern(fb, sx, sy, p.Z, S.FocalLength, g, 0);
    } else if (v.Project(p.X, p.Y, p.Z, sx, sy) && sx > 0 && sx < v.Width && sy > 0 && sy < v.Height) {
      st.LX[n] = p.X;
      st.LY[n] = p.Y;
      st.LZ[n] = p.Z;
      st.LVX[n] = st.LVY[n] = st.LVZ[n] = 0;
      ++n;
    }
  }
  fb.Close();
  if (n == 0) {
    FinishSlot(st, i);
    return;
  }
  st.Expect(i, ShowEventType::Split, kStandard, static_cast<std::int16_t>(n));
  s.Age = 0;
  s.Kind = kStandard;
  s.GroupSize = 1;
  s.LiveCount = S.FireSparks;
  s.TrailLength = static_cast<std::int16_t>(Floor(static_cast<double>(st.Rnd()) * S.FireLength) + 1);
  const float size = Single(std::pow(1 - std::log(static_cast<double>(S.FireMultiBurst)) /
                                             std::log(static_cast<double>(S.FireSparks)),
                                     2) *
                            0.0025);
  const Warp warp = RollWarp(st);
  if (warp.Mode == kWarpSpline) SeedSplineKnots(st, s.CentreX, s.CentreY, s.CentreZ);
  const ColourScheme scheme = ChooseColourScheme(st);
  for (std::int32_t j = base; j < base + S.FireSparks; ++j) {
    Spark& p = st.Sparks[j];
    const std::int32_t k = Floor(static_cast<double>(st.Rnd()) * n);
    p.X = st.LX[k];
    p.Y = st.LY[k];
    p.Z = st.LZ[k];
    switch (warp.Mode) {
      case kWarpSpline:
        SplineVelocity(st, p.VX, p.VY, p.VZ, s.CentreX, s.CentreY, s.CentreZ, size, false);
        break;
      case kWarpPattern:
        PatternVelocity(st, p.VX, p.VY, p.VZ, warp.Pattern, size);
        break;
      default:
        SphereVelocity(st, p.VX, p.VY, p.VZ, SparkSpeed(st, size));
        break;
    }
    if (S.FireMultiMoment) {
      p.VX = Single(static_cast<double>(p.VX) + st.LVX[k]);
      p.VY = Single(static_cast<double>(p.VY) + st.LVY[k]);
      p.VZ = Single(static_cast<double>(p.VZ) + st.LVZ[k]);
    }
    TailCopy(p);
    p.Alive = true;
    p.Colour = SparkColour(st, scheme);
  }
  s.ListReady = false;
  s.ScreenKept = false;
}

}  // namespace glintora
