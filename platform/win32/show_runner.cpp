#include "platform/win32/show_runner.h"

#include <windows.h>

#include "audio/sound_mixer.h"
#include "engine/show.h"
#include "platform/win32/wave_out_sound.h"
#include "settings/loaders.h"

namespace glintora {

std::uint64_t ClockSeed() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) ^
         (static_cast<std::uint64_t>(GetCurrentProcessId()) << 17);
}

void PrepareShows(Program& program, Win32Host& host, const ShowSurfaceOptions& options) {
  EngineRecord& engine = program.Engine;
  RunState& run = program.Run;
  engine.Host = &host;
  engine.Surface = &host.Surface();
  const double width = host.Surface().Width;
  const double height = host.Surface().Height;
  // A picture box measures itself in twips; a window draws in pixels.
  const double scaleX = options.IsPreview ? width * run.TwipsPerPixelX : width;
  const double scaleY = options.IsPreview ? height * run.TwipsPerPixelY : height;
  LoadAdvancedParams(program.Store, program.Settings, scaleX, scaleY, options.IsPreview,
                     run.TwipsPerPixelX, run.TwipsPerPixelY);
  engine.Rng.Seed(ClockSeed());
  if (options.Clear) ClearSurface(engine, program.Settings);
}

void RunShowsOn(Program& program, Win32Host& host, bool withSound) {
  EngineRecord& engine = program.Engine;
  ShowSound sound(engine, withSound && SoundEffectsOn(program.Settings), program.Settings.Adv_TimeDelay);
  while (!program.Run.StopRequested) {
    // A dialog's preview may have drawn in between; every show starts on this surface.
    engine.Host = &host;
    engine.Surface = &host.Surface();
    LoadFireParams(program.Store, program.Settings);
    PrepareSurface(engine);
    StartShow(engine, program.Settings, program.Run);
  }
}

}  // namespace glintora
