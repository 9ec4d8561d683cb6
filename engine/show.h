// The engine's entry points: a show run by a window (StartShow, RunShow), the same show stepped
// one frame at a time (ShowSession: tests, the renderer, the benchmarks), and the end-of-frame and
// surface services.
//
// A window runs shows like this:
//   engine.Host = &host; engine.Surface = &host's framebuffer;
//   LoadAdvancedParams(...); engine.Rng.Seed(clock); ClearSurface(engine, settings);
//   while (!run.StopRequested) { LoadFireParams(...); PrepareSurface(engine);
//                                StartShow(engine, settings, run); }
#pragma once

#include <cstdint>
#include <memory>

#include "engine/engine_record.h"
#include "settings/settings_record.h"
#include "startup/run_state.h"

namespace glintora {

struct ShowState;

// Clamps and converts the loaded firework settings in place (settings must be freshly loaded:
// gravity and damping are converted, so a second call without reloading converts them again),
// then runs the show. Returns when the show ends.
void StartShow(EngineRecord& engine, SettingsRecord& settings, RunState& run);

// StartShow's clamps and conversions alone (for a show stepped with ShowSession).
void ClampFireParams(SettingsRecord& settings);

// Runs a show with settings already in engine units (StartShow's or the dialog preview's
// conversions done). Returns on StopRequested, ShowInterrupted (cleared here) or, in preview
// mode, when the preview host has gone.
void RunShow(EngineRecord& engine, SettingsRecord& settings, RunState& run);

// One show, one frame at a time. The constructor raises FireSparks to FireSparkPix, allocates the
// show's arrays (sized once; a frame allocates nothing) and creates every slot's first firework;
// the destructor releases them.
// RunShow is: ShowSession s(...); do s.DrawFrame(); while (!s.EndFrame());
class ShowSession {
 public:
  ShowSession(EngineRecord& engine, SettingsRecord& settings, RunState& run);
  ~ShowSession();
  ShowSession(const ShowSession&) = delete;
  ShowSession& operator=(const ShowSession&) = delete;

  // TimerStart, every started slot's update, then the host presents the touched rectangle.
  void DrawFrame();
  // FrameWait, ShowInterrupted and the preview's one brief yield; true when the show ends.
  bool EndFrame();

  // The show's state (slots, sparks, the settings in use), for tests and tools.
  const ShowState& State() const { return *state_; }
  ShowState& State() { return *state_; }

 private:
  EngineRecord& engine_;
  SettingsRecord& settings_;  // re-read at the end of every frame (delay, message)
  RunState& run_;
  std::unique_ptr<ShowState> state_;
};

// Waits out the frame delay while handling events, checks the preview host, refreshes the
// message every 3000 ms. True when the show must end.
bool FrameWait(EngineRecord& engine, const SettingsRecord& settings, RunState& run);

// Restyles the host's message label when the surface is a window and LockMessage is not empty.
void RefreshLockMessage(EngineRecord& engine, const SettingsRecord& settings);

// Clears the surface to black and presents it, then refreshes the message.
void ClearSurface(EngineRecord& engine, const SettingsRecord& settings);

// Readies the surface for a show: black, presented.
void PrepareSurface(EngineRecord& engine);

}  // namespace glintora
