// CPU seconds per second of a headless show at the stored frame delay: a host on the real clock
// that sleeps through its waits, as a window sleeps in its event wait.
// usage: glintora_cpu_per_second [seconds=10] [scenario=defaults]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

#include "bench/bench_scenarios.h"
#include "engine/show.h"
#include "platform/null/null_host.h"

using namespace glintora;

namespace {

class SleepingHost : public NullHost {
 public:
  SleepingHost(std::int32_t w, std::int32_t h) : NullHost(w, h), origin_(Clock::now()) {}
  std::uint32_t TickCount() override {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - origin_).count());
  }
  void WaitForEvent(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

 private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point origin_;
};

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  const std::string want = argc > 2 ? argv[2] : "defaults";
  if (!(seconds > 0) || argc > 3) {
    std::fprintf(stderr, "usage: glintora_cpu_per_second [SECONDS (10)] [SCENARIO (defaults)]\n");
    return 2;
  }
  for (const Scenario& sc : BenchScenarios()) {
    if (sc.name != want) continue;
    SleepingHost host(sc.width, sc.height);
    EngineRecord engine;
    RunState run;
    SettingsRecord settings = sc.settings;
    BuildTrigTables(engine.Trig);
    engine.Host = &host;
    engine.Surface = &host.Surface();
    engine.Rng.Seed(1);
    ClampFireParams(settings);
    ShowSession show(engine, settings, run);
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu0 = std::clock();
    long frames = 0;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds) {
      show.DrawFrame();
      show.EndFrame();
      ++frames;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = static_cast<double>(std::clock() - cpu0) / CLOCKS_PER_SEC;
    std::printf("%s: %ld frames in %.2f s (delay %d ms), CPU (user+sys) %.4f s per second of show\n",
                sc.name.c_str(), frames, wall, static_cast<int>(settings.Adv_TimeDelay), cpu / wall);
    return 0;
  }
  std::fprintf(stderr, "no scenario %s\n", want.c_str());
  return 2;
}
