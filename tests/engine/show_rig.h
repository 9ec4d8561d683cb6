// A show on the null host with factory settings, stepped frame by frame.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/show.h"
#include "engine/show_state.h"
#include "platform/null/null_host.h"
#include "settings/loaders.h"
#include "settings/memory_store.h"

namespace glintora {

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

  // StartShow's clamps, then a session ready for its first frame.
  std::unique_ptr<ShowSession> Begin() {
    ClampFireParams(settings);
    settings.FireSparks = std::max(settings.FireSparks, settings.FireSparkPix);
    return std::make_unique<ShowSession>(engine, settings, run);
  }
};

}  // namespace glintora
