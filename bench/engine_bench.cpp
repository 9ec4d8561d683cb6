// Frame cost against its pixel floor. For each scenario the show is warmed up, then the same
// 100 frames are timed again and again from a snapshot:
//   BM_Frame/<name>: the 100 frames run by the engine (all work plus the pixel writes; no log);
//   BM_Floor/<name>: the same frames' pixel writes replayed into the same framebuffer the cheapest
//     way the framebuffer allows: per frame, each write stored (clip, pixel, tile mark, touched
//     rectangle kept in general registers, which a tight replay loop has to spare), the frame's
//     write count added at once, the rectangle and the marked tiles handed back and reset.
// frame_time is per frame; writes_per_frame is the same for both by construction.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/bench_scenarios.h"
#include "engine/show.h"
#include "engine/show_state.h"
#include "platform/null/null_host.h"

namespace glintora {
namespace {

constexpr int kWarmUp = 400;
constexpr int kFrames = 100;

struct Running {
  NullHost host;
  EngineRecord engine;
  RunState run;
  SettingsRecord settings;
  std::unique_ptr<ShowSession> show;
  ShowState snapshot;
  Random rng;
  std::vector<std::uint32_t> pixels;
  std::uint32_t clock = 0;

  explicit Running(const Scenario& sc) : host(sc.width, sc.height), settings(sc.settings) {
    BuildTrigTables(engine.Trig);
    engine.Host = &host;
    engine.Surface = &host.Surface();
    engine.Rng.Seed(1);
    ClampFireParams(settings);
    show = std::make_unique<ShowSession>(engine, settings, run);
    for (int f = 0; f < kWarmUp; ++f) Step();
    snapshot = show->State();
    rng = engine.Rng;
    const Framebuffer& fb = host.Surface();
    pixels.assign(fb.Pixels, fb.Pixels + static_cast<std::size_t>(fb.Stride) * fb.Height);
  }
  void Step() {
    show->DrawFrame();
    show->EndFrame();
  }
  void Restore() {
    show->State() = snapshot;
    engine.Rng = rng;
    Framebuffer& fb = host.Surface();
    std::memcpy(fb.Pixels, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    fb.ResetTouched();
  }
};

// One frame's logged writes stored into fb with the bookkeeping in locals: the stores may alias
// the framebuffer's fields, not the locals.
void ReplayFrame(Framebuffer& fb, const PixelWrite* w, const PixelWrite* end) {
  std::uint32_t* const pixels = fb.Pixels;
  const std::uint64_t width = static_cast<std::uint64_t>(fb.Width);
  const std::uint64_t height = static_cast<std::uint64_t>(fb.Height);
  const std::int64_t stride = fb.Stride;
  std::int64_t left = fb.TouchedLeft, top = fb.TouchedTop;
  std::int64_t lastX = std::int64_t{fb.TouchedRight} - 1, lastY = std::int64_t{fb.TouchedBottom} - 1;
  const std::int64_t columns = fb.TileColumns;
  std::uint8_t* const marks = fb.TileMarks.data();
  std::uint32_t* const marked = fb.MarkedTiles.data();
  std::uint32_t count = fb.MarkedCount;
  fb.Writes += static_cast<std::uint64_t>(end - w);
  for (; w != end; ++w) {
    const std::int64_t x = w->X, y = w->Y;
    if (static_cast<std::uint64_t>(x) >= width || static_cast<std::uint64_t>(y) >= height) continue;
    pixels[y * stride + x] = w->Colour;
    const std::int64_t tile = (y >> Framebuffer::kTileShift) * columns + (x >> Framebuffer::kTileShift);
    marked[count] = static_cast<std::uint32_t>(tile);
    count += marks[tile] ^ 1u;
    marks[tile] = 1;
    left = x < left ? x : left;
    lastX = x > lastX ? x : lastX;
    top = y < top ? y : top;
    lastY = y > lastY ? y : lastY;
  }
  fb.TouchedLeft = static_cast<std::int32_t>(left);
  fb.TouchedTop = static_cast<std::int32_t>(top);
  fb.TouchedRight = static_cast<std::int32_t>(lastX + 1);
  fb.TouchedBottom = static_cast<std::int32_t>(lastY + 1);
  fb.MarkedCount = count;
}

void Report(benchmark::State& state, std::uint64_t writes) {
  const double frames = static_cast<double>(state.iterations()) * kFrames;
  state.counters["frame_time"] = benchmark::Counter(
      kFrames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["writes_per_frame"] = static_cast<double>(writes) / frames;
}

void BM_Frame(benchmark::State& state, const Scenario& sc) {
  Running r(sc);
  std::uint64_t writes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    r.Restore();
    const std::uint64_t before = r.host.Surface().Writes;
    state.ResumeTiming();
    for (int f = 0; f < kFrames; ++f) r.Step();
    writes += r.host.Surface().Writes - before;
  }
  Report(state, writes);
}

void BM_Floor(benchmark::State& state, const Scenario& sc) {
  Running r(sc);
  std::vector<PixelWrite> log;
  r.Restore();
  // Where each frame's writes end, so the touched rectangle is handed over per frame as well.
  std::vector<std::size_t> ends;
  r.host.Surface().Log = &log;
  for (int f = 0; f < kFrames; ++f) {
    r.Step();
    ends.push_back(log.size());
  }
  r.host.Surface().Log = nullptr;
  Framebuffer& fb = r.host.Surface();
  const std::vector<std::uint32_t> drawn(fb.Pixels, fb.Pixels + r.pixels.size());
  auto replay = [&] {
    std::size_t k = 0;
    for (std::size_t end : ends) {
      ReplayFrame(fb, log.data() + k, log.data() + end);
      k = end;
      fb.ResetTouched();
    }
  };
  r.Restore();
  replay();
  if (!std::equal(drawn.begin(), drawn.end(), fb.Pixels)) {
    state.SkipWithError("the replayed writes do not reproduce the frames");
    return;
  }
  std::uint64_t writes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    r.Restore();
    state.ResumeTiming();
    replay();
    benchmark::ClobberMemory();
    writes += log.size();
  }
  Report(state, writes);
}

int Register() {
  static const std::vector<Scenario> scenarios = BenchScenarios();
  for (const Scenario& sc : scenarios) {
    benchmark::RegisterBenchmark(("BM_Frame/" + sc.name).c_str(), BM_Frame, sc)
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.5);
    benchmark::RegisterBenchmark(("BM_Floor/" + sc.name).c_str(), BM_Floor, sc)
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.5);
  }
  return 0;
}

const int registered = Register();

}  // namespace
}  // namespace glintora

BENCHMARK_MAIN();
