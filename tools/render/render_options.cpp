#include "tools/render/render_options.h"

#include <cerrno>
#include <cstdlib>

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
    "An odd width or height gets one black column or row. Progress shows on a terminal.\n";

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

}  // namespace glintora
