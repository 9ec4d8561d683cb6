// glintora-render: runs a show on the null host, frame by frame with a fixed seed, and writes the
// frames out, and the show's sound track. The same seed gives the same frames and samples.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/sound_track.h"
#include "engine/frame_hash.h"
#include "engine/show.h"
#include "platform/null/null_host.h"
#include "tools/render/image_writers.h"
#include "tools/render/output_files.h"
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
  // Everything is checked before any output is opened: a refused run touches no file.
  RenderPlan plan;
  if (!PlanRender(options, settings.Adv_TimeDelay, plan, error)) {
    std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
    return 2;
  }
  settings.Adv_TimeDelay = plan.delayMs;
  const std::int32_t frames = plan.frames;
  // Without sound the video has no sound stream at all rather than a silent one.
  const bool video = !options.videoPath.empty();
  const bool videoSound = video && SoundEffectsOn(settings);
  if (video && !VideoWriter::Check(options.videoPath, videoSound, error)) {
    std::fprintf(stderr, "glintora-render: %s\n", error.c_str());
    return 2;
  }

  NullHost host(options.width, options.height);
  EngineRecord engine;
  RunState run;
  BuildTrigTables(engine.Trig);
  engine.Host = &host;
  engine.Surface = &host.Surface();
  engine.Rng.Seed(options.seed);

  // Declared before the writers, so a failed run's files are closed before they are removed.
  PendingOutputs outputs;
  if (!options.pngDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(options.pngDir, ec);
    if (ec) return Fail("--png-dir: cannot make " + options.pngDir + ": " + ec.message());
  }
  std::string gifTemp, wavTemp, videoTemp;
  if ((!options.gifPath.empty() && (gifTemp = outputs.Add(options.gifPath, error)).empty()) ||
      (!options.wavPath.empty() && (wavTemp = outputs.Add(options.wavPath, error)).empty()) ||
      (video && (videoTemp = outputs.Add(options.videoPath, error)).empty()))
    return Fail(error);
  GifWriter gif;
  if (!gifTemp.empty() && !gif.Open(gifTemp, options.width, options.height, error)) return Fail(error);
  SoundTrack track(options.seed, settings.Adv_TimeDelay, SoundEffectsOn(settings));
  if (options.fps > 0) track.UseFrameRate(plan.rateNum, plan.rateDen);
  if (!wavTemp.empty() && !track.Open(wavTemp, error)) return Fail(error);
  VideoWriter writer;
  if (video && !writer.Open(options.videoPath, videoTemp, options.width, options.height, plan.rateNum,
                            plan.rateDen, videoSound, error))
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
      // Each frame is written under a temporary name too: a failed run leaves no frame named.
      char name[32];
      std::snprintf(name, sizeof name, "/frame%05d.png", static_cast<int>(drawn));
      const std::string temp = outputs.Add(options.pngDir + name, error);
      if (temp.empty() || !WritePng(temp, frame, error)) return Fail(error);
    }
    if (!gifTemp.empty() && !gif.Add(frame, settings.Adv_TimeDelay, error)) return Fail(error);
    if (video && !writer.AddFrame(frame, error)) return Fail(error);
    if (sound && !track.EndFrame(error)) return Fail(error);
    ++drawn;
    progress.Show(drawn, frames);
    if (show.EndFrame()) break;
  }
  if (sound && !track.Finish(error)) return Fail(error);
  if (options.hash) {
    std::printf("%016llx\n", static_cast<unsigned long long>(FrameHash(host.Surface())));
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return Fail("cannot write the hash to the output");
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
  if (!writer.Close(error) || !outputs.Commit(error)) return Fail(error);
  return 0;
}
