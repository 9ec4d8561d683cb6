#include "tools/render/render_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <numeric>

#include "audio/sound_track.h"
#include "audio/wav_file.h"
#include "settings/text.h"

namespace glintora {

const char* const kRenderUsage =
    "usage: glintora-render [--width N] [--height N] [--seed N] [--frames N | --seconds S]\n"
    "                       [--fps N] [--theme 1..13] [--template FILE.glx]\n"
    "                       [--png-dir DIR] [--gif FILE] [--wav FILE] [--video FILE.webm|.mp4]\n"
    "                       [--sound] [--hash]\n"
    "Runs a show headless with the factory settings (or a theme or template) and writes\n"
    "every frame as PNG and/or the whole show as an animated GIF, and its sound track as\n"
    "a 48 kHz stereo WAV (frame n starts at n times the frame delay; silent unless the\n"
    "settings' SoundFX_ON is \"1\", which --sound sets); --hash prints the last frame's\n"
    "64-bit FNV-1a hash (its pixels 0x00BBGGRR, row by row, low byte first).\n"
    "--video writes frames and sound as one file: .webm (VP9, Opus) or .mp4 (H.264, AAC);\n"
    "with sound on it runs on while the last sounds ring out, and has no sound stream when\n"
    "sound is off. The rate is --fps or one frame per frame delay (which --fps sets).\n"
    "An odd width or height gets one black column or row. Progress shows on a terminal.\n"
    "Outputs are written under temporary names and take their own only when the run succeeds.\n";

namespace {

bool ParseWhole(const std::string& text, long long lo, long long hi, long long& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& o, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    if (a == "--sound") {
      o.sound = true;
      continue;
    }
    if (a == "--hash") {
      o.hash = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = a + ": needs a value";
      return false;
    }
    const std::string& v = args[++i];
    long long n = 0;
    auto whole = [&](long long lo, long long hi) {
      if (ParseWhole(v, lo, hi, n)) return true;
      error = a + ": " + QuotedForMessage(v) + " is not a whole number " + std::to_string(lo) + ".." + std::to_string(hi);
      return false;
    };
    if (a == "--width") {
      if (!whole(1, 8192)) return false;
      o.width = static_cast<std::int32_t>(n);
    } else if (a == "--height") {
      if (!whole(1, 8192)) return false;
      o.height = static_cast<std::int32_t>(n);
    } else if (a == "--seed") {
      if (!whole(0, 9223372036854775807LL)) return false;
      o.seed = static_cast<std::uint64_t>(n);
    } else if (a == "--frames") {
      if (!whole(1, 1000000)) return false;
      o.frames = static_cast<std::int32_t>(n);
      o.framesGiven = true;
    } else if (a == "--seconds") {
      char* end = nullptr;
      errno = 0;
      const double s = std::strtod(v.c_str(), &end);
      if (v.empty() || errno != 0 || *end != '\0' || !(s > 0 && s <= 36000)) {
        error = a + ": " + QuotedForMessage(v) + " is not a number of seconds above 0, up to 36000";
        return false;
      }
      o.seconds = s;
    } else if (a == "--fps") {
      if (!whole(1, 240)) return false;
      o.fps = static_cast<std::int32_t>(n);
    } else if (a == "--theme") {
      if (!whole(1, 13)) return false;
      o.theme = static_cast<int>(n);
    } else if (a == "--template") {
      o.templatePath = v;
    } else if (a == "--png-dir") {
      o.pngDir = v;
    } else if (a == "--gif") {
      o.gifPath = v;
    } else if (a == "--wav") {
      o.wavPath = v;
    } else if (a == "--video") {
      o.videoPath = v;
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  if (o.framesGiven && o.seconds > 0) {
    error = "--frames and --seconds: give one of them";
    return false;
  }
  return true;
}

namespace {

std::filesystem::path Canonical(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::absolute(name, ec), ec);
  return p.has_filename() ? p : p.parent_path();  // "out/" is "out"
}

// The same file however it is named ("a.wav", "./a.wav", a link to it).
bool SamePath(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) || Canonical(a) == Canonical(b);
}

}  // namespace

bool PlanRender(const RenderOptions& o, std::int32_t delayMs, RenderPlan& plan, std::string& error) {
  const std::pair<const char*, const std::string*> outputs[] = {
      {"--png-dir", &o.pngDir}, {"--gif", &o.gifPath}, {"--wav", &o.wavPath}, {"--video", &o.videoPath}};
  for (std::size_t i = 0; i < std::size(outputs); ++i)
    for (std::size_t k = i + 1; k < std::size(outputs); ++k)
      if (!outputs[i].second->empty() && !outputs[k].second->empty() &&
          SamePath(*outputs[i].second, *outputs[k].second)) {
        error = std::string(outputs[i].first) + " and " + outputs[k].first + " name the same file";
        return false;
      }
  // --fps runs the show at the nearest whole-millisecond delay; else one frame per frame delay.
  plan.delayMs = delayMs;
  if (o.fps > 0) {
    plan.rateNum = o.fps;
    plan.rateDen = 1;
    plan.delayMs = (1000 + o.fps / 2) / o.fps;
  } else if (delayMs > 0) {
    const std::int32_t common = std::gcd(1000, delayMs);
    plan.rateNum = 1000 / common;
    plan.rateDen = delayMs / common;
  } else if (!o.videoPath.empty() || o.seconds > 0) {
    error = "the settings' frame delay is 0 ms: give --fps";
    return false;
  }
  plan.frames = o.frames;
  if (o.seconds > 0) {
    const double frames = std::round(o.seconds * plan.rateNum / plan.rateDen);
    if (frames > kMaxFrames) {
      error = "--seconds: " + std::to_string(static_cast<long long>(frames)) + " frames at this rate, more than " +
              std::to_string(kMaxFrames);
      return false;
    }
    plan.frames = std::max(1, static_cast<std::int32_t>(frames));
  }
  if (!o.wavPath.empty()) {
    // Frame n starts at sample n * 48000 * rateDen / rateNum; the sounds then ring out.
    const std::int64_t end = std::int64_t{plan.frames} * SoundMixer::kRate * plan.rateDen / plan.rateNum;
    const std::int64_t bytes = SoundTrack::MostSamples(end) * SoundMixer::kChannels * 2;
    if (bytes > std::int64_t{WavWriter::kMaxDataBytes}) {
      error = "--wav: the sound track may last " + std::to_string(SoundTrack::MostSamples(end) / SoundMixer::kRate) +
              " s, more than the " + std::to_string(WavWriter::kMaxDataBytes / (SoundMixer::kRate * 4)) +
              " s a WAV file holds";
      return false;
    }
  }
  return true;
}

}  // namespace glintora
