// The pattern every display window runs its shows in: the surface and the host handed to the
// engine, the advanced settings for the surface's size, the random generator seeded from the
// clock, the surface cleared (not in the preview), then show after show with freshly loaded
// firework settings until StopRequested.
#pragma once

#include "platform/win32/program.h"
#include "platform/win32/win32_host.h"

namespace glintora {

struct ShowSurfaceOptions {
  bool IsPreview = false;  // the surface is measured in twips and is not cleared first
  bool Clear = true;       // ClearSurface before the first show
};

// Sets up the engine for host (whose surface must already have its size) and returns the size
// the shows run at; call RunShowsOn next.
void PrepareShows(Program& program, Win32Host& host, const ShowSurfaceOptions& options);

// LoadFireParams, PrepareSurface and StartShow until StopRequested, with sound effects when
// withSound and the stored flag asks for them.
void RunShowsOn(Program& program, Win32Host& host, bool withSound = true);

// A seed from the clock, different on every start.
std::uint64_t ClockSeed();

}  // namespace glintora
