// A show on the null host with factory settings, stepped frame by frame; the settings that make
// every burst one kind, or mix them all.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/show.h"
#include "engine/show_state.h"
#include "platform/null/null_host.h"
#include "settings/loaders.h"
#include "settings/memory_store.h"

namespace glintora {

// The percentage that rolls this kind (a Kind value; kStandard has none, it takes the rest).
inline std::int16_t* KindPct(SettingsRecord& s, int kind) {
  std::int16_t* const pct[] = {&s.FireLaunchPct, nullptr,        &s.FireScintPct, &s.FireMultiPct, &s.FireBurstPct,
                               &s.FireSparkPct,  &s.FireRingPct, &s.FireTwistPct, &s.FireDecayPct};
  return kind >= 0 && kind < 9 ? pct[kind] : nullptr;
}

// Rockets at launchPct, every other kind at eachPct.
inline void MixKinds(SettingsRecord& s, std::int16_t launchPct, std::int16_t eachPct) {
  for (int kind = kScintillator; kind <= kDecayingStar; ++kind) *KindPct(s, kind) = eachPct;
  s.FireLaunchPct = launchPct;
}

struct ShowRig {
  SettingsRecord settings;
  RunState run;
  EngineRecord engine;
  NullHost host;

  ShowRig(std::int32_t width, std::int32_t height, std::uint64_t seed = 1) : host(width, height) {
    MemoryStore store;
    LoadFireParams(store, settings);
    SurfaceScale scale;
    scale.scaleWidth = width;
    scale.scaleHeight = height;
    LoadAdvancedParams(store, settings, scale);
    BuildTrigTables(engine.Trig);
    engine.Host = &host;
    engine.Surface = &host.Surface();
    engine.Rng.Seed(seed);
  }

  // Every burst of this kind (kStandard: all percentages 0), no rocket.
  void OnlyKind(std::int16_t kind) {
    MixKinds(settings, 0, 0);
    if (std::int16_t* pct = KindPct(settings, kind)) *pct = 100;
  }

  // One slot of this many sparks, every burst of this kind.
  void OneSlot(std::int16_t kind, std::int16_t sparks) {
    OnlyKind(kind);
    settings.FireWorks = 1;
    settings.FireSparks = sparks;
  }

  // StartShow's clamps, then a session ready for its first frame.
  std::unique_ptr<ShowSession> Begin() {
    ClampFireParams(settings);
    return std::make_unique<ShowSession>(engine, settings, run);
  }
};

inline bool AllBlack(const Framebuffer& fb) {
  for (std::int32_t y = 0; y < fb.Height; ++y)
    for (std::int32_t x = 0; x < fb.Width; ++x)
      if (fb.At(x, y) != 0) return false;
  return true;
}

}  // namespace glintora
