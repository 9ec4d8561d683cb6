// glintora-render: runs a show on the null host, frame by frame with a fixed seed, and writes the
// frames out, and the show's sound track. The same seed gives the same frames and samples.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/sound_track.h"
#include "engine/frame_hash.h"
#include "engine/show.h"
#include "platform/null/null_host.h"
#include "tools/render/image_writers.h"
#include "tools/render/render_options.h"
#include "tools/render/show_settings.h"

using namespace glintora;

int main(int argc, char** argv) {
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "glintora-render: %s\n%s", error.c_str(), kRenderUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kRenderUsage, stdout);
    return 0;
  }
  if (options.pngDir.empty() && options.gifPath.empty() && options.wavPath.empty() && !options.hash) {
    std::fprintf(stderr, "glintora-render: nothing to write (--png-dir, --gif, --wav or --hash)\n%s",
                 kRenderUsage);
    return 2;
  }
  SettingsRecord settings;
  if (!LoadShowSettings(settings, options.width, options.height, options.theme,
                        options.templatePath, error)) {
    std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
    return 2;
  }
  if (options.sound) settings.SoundFX_ON = "1";
  NullHost host(options.width, options.height);
  EngineRecord engine;
  RunState run;
  BuildTrigTables(engine.Trig);
  engine.Host = &host;
  engine.Surface = &host.Surface();
  engine.Rng.Seed(options.seed);

  if (!options.pngDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(options.pngDir, ec);
  }
  GifWriter gif;
  if (!options.gifPath.empty() && !gif.Open(options.gifPath, options.width, options.height, error)) {
    std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
    return 1;
  }
  SoundTrack track(options.seed, settings.Adv_TimeDelay, SoundEffectsOn(settings));
  if (!options.wavPath.empty()) {
    if (!track.Open(options.wavPath, error)) {
      std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
      return 1;
    }
    engine.Events = track.Sink();
  }

  ClearSurface(engine, settings);
  PrepareSurface(engine);
  ClampFireParams(settings);
  ShowSession show(engine, settings, run);
  for (std::int32_t f = 0; f < options.frames; ++f) {
    show.DrawFrame();
    const Framebuffer& frame = host.Surface();
    if (!options.pngDir.empty()) {
      char name[32];
      std::snprintf(name, sizeof name, "/frame%05d.png", static_cast<int>(f));
      if (!WritePng(options.pngDir + name, frame, error)) {
        std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
        return 1;
      }
    }
    if (!options.gifPath.empty() && !gif.Add(frame, settings.Adv_TimeDelay, error)) {
      std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
      return 1;
    }
    if (!options.wavPath.empty() && !track.EndFrame(error)) {
      std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
      return 1;
    }
    if (show.EndFrame()) break;
  }
  if (!options.wavPath.empty() && !track.Finish(error)) {
    std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
    return 1;
  }
  if (options.hash) {
    std::printf("%016llx\n", static_cast<unsigned long long>(FrameHash(host.Surface())));
  }
  if (!gif.Close(error)) {
    std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
