// Sections: the signal-aware host; the show loop; RunProgram.
#include "platform/x11/x11_program.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "engine/engine_record.h"
#include "engine/show.h"
#include "engine/trig_tables.h"
#include "settings/loaders.h"
#include "settings/settings_record.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "startup/run_state.h"
#include "display/saver_input.h"
#include "display/settings_report.h"

#include "platform/posix/alsa_sound.h"
#include "platform/posix/stop_signals.h"

// Last: Xlib defines None, Bool and Status as macros that the portable headers must not see.
#include "platform/x11/x11_host.h"

namespace glintora::x11 {

namespace {

// The host with the signal flag looked at in every event pass.
class SignalAwareHost : public X11Host {
 public:
  using X11Host::X11Host;
  void ProcessPendingEvents() override {
    X11Host::ProcessPendingEvents();
    if (posix::StopSignalled()) RequestStop();
  }
};

// ---- the show loop, as every display window runs it.
void RunShows(SignalAwareHost& host, Store& store, const ShowOptions& options,
              RunState& run) {
  SettingsRecord settings;
  EngineRecord engine;
  BuildTrigTables(engine.Trig);
  engine.Host = &host;
  engine.Surface = &host.Surface();

  auto loadAdvanced = [&] {
    LoadAdvancedParams(store, settings, host.Surface().Width, host.Surface().Height, false,
                       run.TwipsPerPixelX, run.TwipsPerPixelY);
  };
  run.StopRequested = false;
  loadAdvanced();
  const std::uint64_t seed = options.seed ? *options.seed : static_cast<std::uint64_t>(std::time(nullptr));
  engine.Rng.Seed(seed);
  // Sound effects when the stored flag (or -sound) says so; without a device the show is silent.
  LiveSound live(seed, settings.Adv_TimeDelay);
  posix::AlsaSound sound;
  if (SoundEffectsOn(settings) && sound.Start(live)) engine.Events = &live;
  ClearSurface(engine, settings);
  while (!run.StopRequested) {
    if (host.TakeResize()) {
      engine.Surface = &host.Surface();
      loadAdvanced();
      ClearSurface(engine, settings);
    }
    LoadFireParams(store, settings);
    if (options.verbose) {
      std::printf("%s\n", SettingsReport(settings).c_str());
      std::fflush(stdout);
    }
    PrepareSurface(engine);
    StartShow(engine, settings, run);
    live.Silence();  // a new show (a resize) starts afresh
    store.Reload();  // and loads the settings file as it is then
  }
  sound.Stop();
}

}  // namespace

int RunProgram(const ShowOptions& options, Store& store) {
  std::string error;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "glintora: cannot open the X display '%s'\n",
                 std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    return 1;
  }
  posix::InstallStopSignals();

  RunState run;
  switch (options.target) {
    case ShowTarget::OwnWindow: run.Mode = RunMode::Application; break;
    case ShowTarget::FullScreen:
    case ShowTarget::Root: run.Mode = RunMode::Saver; break;
    case ShowTarget::ForeignWindow:
      run.Mode = RunMode::Preview;
      run.PreviewHostWindow = options.windowId;
      break;
    case ShowTarget::Saver:
    case ShowTarget::Wallpaper:
    case ShowTarget::Idle:
      std::fprintf(stderr, "glintora: -saver, -wallpaper and -idle need Wayland\n");
      return 2;
  }
  int code = 0;
  {
    SignalAwareHost host(display, run);
    const bool ignoreMoves =
        IgnoresMouseMoves(RegReadText(store, kSectionAdvanced, "Adv_MouseMove", "0").c_str());
    if (!host.Open(options, ignoreMoves, error)) {
      std::fprintf(stderr, "glintora: %s\n", error.c_str());
      code = 1;
    } else {
      host.SetShowFps(options.fps);
      RunShows(host, store, options, run);
    }
  }
  XCloseDisplay(display);
  return code;
}

}  // namespace glintora::x11
