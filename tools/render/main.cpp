// glintora-render: runs a show on the null host, frame by frame with a fixed seed, and writes the
// frames out, and the show's sound track. The same seed gives the same frames and samples.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "audio/sound_track.h"
#include "engine/frame_hash.h"
#include "engine/show.h"
#include "platform/null/null_host.h"
#include "tools/render/image_writers.h"
#include "tools/render/progress.h"
#include "tools/render/render_options.h"
#include "tools/render/show_settings.h"
#include "tools/render/video_writer.h"

using namespace glintora;

namespace {

int Fail(const std::string& error) {
  std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
  return 1;
}

// The progress line, rewritten in place a few times a second, only when stderr is a terminal.
class Progress {
 public:
  explicit Progress(bool wanted) : on_(wanted && isatty(fileno(stderr))) {}
  void Show(std::int64_t done, std::int64_t total, bool last = false) {
    if (!on_) return;
    const auto now = Clock::now();
    if (!last && now - shown_ < std::chrono::milliseconds(250)) return;
    shown_ = now;
    const std::string text = ProgressText(done, total, std::chrono::duration<double>(now - start_).count());
    std::fprintf(stderr, "\r%s\033[K%s", text.c_str(), last ? "\n" : "");
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool on_;
  Clock::time_point start_ = Clock::now(), shown_{};
};

}  // namespace

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
  if (options.pngDir.empty() && options.gifPath.empty() && options.wavPath.empty() &&
      options.videoPath.empty() && !options.hash) {
    std::fprintf(stderr, "glintora-render: nothing to write (--png-dir, --gif, --wav, --video or --hash)\n%s",
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
  // The frame rate, rateNum / rateDen frames a second: --fps (the show then runs with the nearest
  // whole-millisecond delay), or one frame per frame delay.
  std::int32_t rateNum = 1000, rateDen = settings.Adv_TimeDelay;
  if (options.fps > 0) {
    rateNum = options.fps;
    rateDen = 1;
    settings.Adv_TimeDelay = (1000 + options.fps / 2) / options.fps;
  } else if (rateDen > 0) {
    const std::int32_t common = std::gcd(rateNum, rateDen);
    rateNum /= common;
    rateDen /= common;
  } else if (!options.videoPath.empty() || options.seconds > 0) {
    std::fprintf(stderr, "glintora-render: the settings' frame delay is 0 ms: give --fps\n");
    return 2;
  }
  std::int32_t frames = options.frames;
  if (options.seconds > 0)
    frames = static_cast<std::int32_t>(std::clamp(std::llround(options.seconds * rateNum / rateDen), 1LL, 1000000LL));

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
  if (!options.gifPath.empty() && !gif.Open(options.gifPath, options.width, options.height, error))
    return Fail(error);
  SoundTrack track(options.seed, settings.Adv_TimeDelay, SoundEffectsOn(settings));
  if (options.fps > 0) track.UseFrameRate(rateNum, rateDen);
  if (!options.wavPath.empty() && !track.Open(options.wavPath, error)) return Fail(error);
  // Without sound the video has no sound stream at all rather than a silent one.
  const bool video = !options.videoPath.empty();
  const bool videoSound = video && SoundEffectsOn(settings);
  VideoWriter writer;
  if (video && !writer.Open(options.videoPath, options.width, options.height, rateNum, rateDen,
                            videoSound, error))
    return Fail(error);
  if (videoSound)
    track.SetTap([&writer](const std::int16_t* s, std::int32_t n, std::string& e) { return writer.AddSamples(s, n, e); });
  const bool sound = !options.wavPath.empty() || videoSound;
  if (sound) engine.Events = track.Sink();

  Progress progress(video || !options.gifPath.empty() || !options.pngDir.empty());
  ClearSurface(engine, settings);
  PrepareSurface(engine);
  ClampFireParams(settings);
  ShowSession show(engine, settings, run);
  std::int32_t drawn = 0;
  while (drawn < frames) {
    show.DrawFrame();
    const Framebuffer& frame = host.Surface();
    if (!options.pngDir.empty()) {
      char name[32];
      std::snprintf(name, sizeof name, "/frame%05d.png", static_cast<int>(drawn));
      if (!WritePng(options.pngDir + name, frame, error)) return Fail(error);
    }
    if (!options.gifPath.empty() && !gif.Add(frame, settings.Adv_TimeDelay, error)) return Fail(error);
    if (video && !writer.AddFrame(frame, error)) return Fail(error);
    if (sound && !track.EndFrame(error)) return Fail(error);
    ++drawn;
    progress.Show(drawn, frames);
    if (show.EndFrame()) break;
  }
  if (sound && !track.Finish(error)) return Fail(error);
  if (options.hash) {
    std::printf("%016llx\n", static_cast<unsigned long long>(FrameHash(host.Surface())));
  }
  if (!gif.Close(error)) return Fail(error);
  if (videoSound) {
    // Like the WAV, the show runs on (without new sounds) until its last sounds have rung out,
    // and the sound track is padded with silence to the end of that frame.
    engine.Events = nullptr;
    const SoundMixer& clock = track.Mixer();
    std::int64_t total = drawn;
    while (clock.FrameStart(total) < track.Written()) ++total;
    while (drawn < total) {
      show.DrawFrame();
      if (!writer.AddFrame(host.Surface(), error)) return Fail(error);
      ++drawn;
      progress.Show(drawn, total);
      show.EndFrame();
    }
    const std::vector<std::int16_t> silence(
        2 * static_cast<std::size_t>(std::max<std::int64_t>(clock.FrameStart(drawn) - track.Written(), 0)));
    if (!writer.AddSamples(silence.data(), static_cast<std::int32_t>(silence.size() / 2), error)) return Fail(error);
  }
  progress.Show(drawn, std::max(drawn, frames), true);
  if (!writer.Close(error)) return Fail(error);
  return 0;
}
