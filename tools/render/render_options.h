// The renderer's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glintora {

struct RenderOptions {
  std::int32_t width = 640;
  std::int32_t height = 400;
  std::uint64_t seed = 1;
  std::int32_t frames = 150;
  bool framesGiven = false;
  double seconds = 0;  // --seconds: the length in seconds instead of frames (0: not given)
  std::int32_t fps = 0;  // --fps: the frame rate instead of the frame delay's (0: not given)
  std::optional<int> theme;
  std::string templatePath;
  std::string pngDir;
  std::string gifPath;
  std::string wavPath;
  std::string videoPath;
  bool sound = false;  // --sound: SoundFX_ON "1" for this run
  bool hash = false;  // print the last frame's hash
  bool help = false;
};

// False with a message in error when an option is unknown or its value is bad.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error);

// The most frames a run makes (--frames, or --seconds at the rate).
inline constexpr std::int32_t kMaxFrames = 1000000;

// What a run makes, worked out before any output is opened.
struct RenderPlan {
  std::int32_t rateNum = 1000, rateDen = 40;  // rateNum / rateDen frames a second
  std::int32_t delayMs = 40;  // the show's frame delay
  std::int32_t frames = 0;
};

// The rate and frame count for the options and the settings' frame delay (0..999 ms). False with
// a message when they ask for more than kMaxFrames frames or a WAV past its 4 GiB, or name one
// output twice.
bool PlanRender(const RenderOptions& options, std::int32_t delayMs, RenderPlan& plan, std::string& error);

extern const char* const kRenderUsage;

}  // namespace glintora
