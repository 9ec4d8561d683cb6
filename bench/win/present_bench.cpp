// Pixel delivery on a real window: the same frames of a show, from the same snapshot, presented
//   dib:       into the host's DIB section and one BitBlt of the touched rectangle per frame;
//   setpixelv: every pixel the engine writes sent to the window's DC with SetPixelV.
// Both include the engine's own work; "engine" is that work alone, for reference.
// usage: glintora_present_bench [scenario] [frames]   (default standard_12x2500_trail99, 100)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_scenarios.h"
#include "engine/show.h"
#include "engine/show_state.h"
#include "platform/win32/win32_host.h"

namespace glintora {
namespace {

enum class Delivery { None, DibRect, DibTiles, SetPixelV };
const char* const kDeliveryNames[] = {"engine only", "dib, touched rect", "dib, dirty tiles",
                                      "setpixelv"};

// The Win32 host, or the same writes replayed one pixel at a time on the window's DC.
class BenchHost : public Win32Host {
 public:
  using Win32Host::Win32Host;
  Delivery mode = Delivery::DibTiles;

  void Present(const Framebuffer& surface) override {
    switch (mode) {
      case Delivery::DibRect:
      case Delivery::DibTiles:
        SetTiledPresent(mode == Delivery::DibTiles);
        Win32Host::Present(surface);
        return;
      case Delivery::SetPixelV:
        if (HDC dc = GetDC(Window())) {
          for (const PixelWrite& w : FrameWrites()) SetPixelV(dc, w.X, w.Y, w.Colour);
          ReleaseDC(Window(), dc);
        }
        break;
      case Delivery::None:
        break;
    }
    DiscardFrameWrites();
  }
};

LRESULT CALLBACK BenchProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_PAINT && PaintFromHost(w)) return 0;
  if (m == WM_ERASEBKGND) return 1;
  return DefWindowProcA(w, m, wp, lp);
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

int Run(const std::string& name, int frames) {
  Scenario scenario;
  bool found = false;
  for (const Scenario& s : BenchScenarios())
    if (s.name == name) scenario = s, found = true;
  if (!found) {
    std::fprintf(stderr, "no scenario %s\n", name.c_str());
    return 2;
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = BenchProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "GlintoraPresentBench";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                scenario.width, scenario.height, nullptr, nullptr, wc.hInstance,
                                nullptr);
  if (!window) return 1;

  RunState run;
  BenchHost host(run);
  host.Attach(window, false);
  host.KeepFrameWrites(true);  // the SetPixelV replay needs every write
  auto engine = std::make_unique<EngineRecord>();
  BuildTrigTables(engine->Trig);
  engine->Host = &host;
  engine->Surface = &host.Surface();
  engine->Rng.Seed(1);
  SettingsRecord settings = scenario.settings;
  settings.Adv_TimeDelay = 0;  // no frame wait: the timing is the drawing and the delivery
  ClampFireParams(settings);
  ShowSession show(*engine, settings, run);
  auto step = [&] {
    show.DrawFrame();
    show.EndFrame();
  };
  for (int f = 0; f < 400; ++f) step();

  const ShowState snapshot = show.State();
  const Random rng = engine->Rng;
  const Framebuffer& fb = host.Surface();
  const std::vector<std::uint32_t> pixels(fb.Pixels, fb.Pixels + std::size_t(fb.Stride) * fb.Height);
  auto restore = [&] {
    show.State() = snapshot;
    engine->Rng = rng;
    std::memcpy(host.Surface().Pixels, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    host.Surface().ResetTouched();
    host.DiscardFrameWrites();
  };

  constexpr int kModes = 4;
  double perFrame[kModes] = {};
  std::uint64_t writes = 0;
  for (int i = 0; i < kModes; ++i) {
    restore();
    host.mode = static_cast<Delivery>(i);
    const std::uint64_t before = host.Surface().Writes;
    const auto start = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; ++f) step();
    GdiFlush();
    perFrame[i] = Seconds(std::chrono::steady_clock::now() - start) / frames;
    writes = host.Surface().Writes - before;
  }
  std::printf("scenario %s, %dx%d, %d frames, %.0f pixel writes per frame\n", name.c_str(),
              scenario.width, scenario.height, frames, double(writes) / frames);
  for (int i = 0; i < kModes; ++i)
    std::printf("%-18s %9.3f ms/frame\n", kDeliveryNames[i], perFrame[i] * 1e3);
  std::printf("setpixelv / dib (as presented) %6.2f\n",
              perFrame[int(Delivery::SetPixelV)] / perFrame[int(Delivery::DibTiles)]);
  DestroyWindow(window);
  return 0;
}

}  // namespace
}  // namespace glintora

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "standard_12x2500_trail99";
  const int frames = argc > 2 ? std::atoi(argv[2]) : 100;
  return glintora::Run(name, frames > 0 ? frames : 100);
}
