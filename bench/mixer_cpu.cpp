// The sound mixer's share of one core: a show's events (recorded first, so the engine's time is
// not counted) mixed into 48 kHz stereo blocks of one frame each, timed against the length of
// sound made. Scenarios: the factory defaults, and 99 fireworks of 303 sparks of every kind.
// usage: glintora_mixer_cpu [seconds of show (120)]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sound_mixer.h"
#include "bench/bench_scenarios.h"
#include "engine/show.h"
#include "platform/null/null_host.h"

using namespace glintora;

namespace {

struct Recorder : ShowEventSink {
  std::vector<ShowEvent> events;
  void OnShowEvent(const ShowEvent& e) override { events.push_back(e); }
};

void Measure(const std::string& name, SettingsRecord settings, std::int32_t width, std::int32_t height,
             double seconds) {
  NullHost host(width, height);
  EngineRecord engine;
  RunState run;
  BuildTrigTables(engine.Trig);
  engine.Host = &host;
  engine.Surface = &host.Surface();
  engine.Rng.Seed(1);
  Recorder recorder;
  engine.Events = &recorder;
  ClampFireParams(settings);
  const std::int32_t delay = settings.Adv_TimeDelay > 0 ? settings.Adv_TimeDelay : 40;
  const auto frames = static_cast<std::uint32_t>(seconds * 1000 / delay);
  {
    ShowSession show(engine, settings, run);
    for (std::uint32_t f = 0; f < frames; ++f) show.DrawFrame();
  }
  SoundMixer mixer(1);
  mixer.UseFrameClock(delay);
  const std::int32_t block = delay * (SoundMixer::kRate / 1000);
  std::vector<std::int16_t> out(static_cast<std::size_t>(block) * SoundMixer::kChannels);
  std::size_t next = 0;
  std::int32_t mostVoices = 0;
  const auto start = std::chrono::steady_clock::now();
  for (std::uint32_t f = 0; f < frames; ++f) {
    while (next < recorder.events.size() && recorder.events[next].Frame == f)
      mixer.OnShowEvent(recorder.events[next++]);
    mixer.Render(out.data(), block);
    if (f % 25 == 0) mostVoices = std::max(mostVoices, mixer.ActiveVoices());
  }
  const double used = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double made = static_cast<double>(frames) * block / SoundMixer::kRate;
  std::printf("%-28s %8.2f%% of a core  (%zu events, up to %d voices, %.0f s of sound)\n",
              name.c_str(), 100 * used / made, recorder.events.size(), mostVoices, made);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 120.0;
  if (!(seconds > 0) || argc > 2) {
    std::fprintf(stderr, "usage: glintora_mixer_cpu [SECONDS (120)]\n");
    return 2;
  }
  for (const Scenario& s : BenchScenarios()) {
    if (s.name != "defaults") continue;
    Measure("defaults", s.settings, s.width, s.height, seconds);
    SettingsRecord crowd = s.settings;
    crowd.FireWorks = 99;
    crowd.FireSparks = 303;
    crowd.FireScintPct = crowd.FireMultiPct = crowd.FireBurstPct = crowd.FireSparkPct =
        crowd.FireRingPct = crowd.FireTwistPct = crowd.FireDecayPct = 12;
    Measure("99 fireworks of 303 sparks", crowd, s.width, s.height, seconds);
  }
  return 0;
}
