#include "display/show_options.h"

#include <cerrno>
#include <cstdlib>

#include "settings/text.h"

namespace glintora {

namespace {

// A whole decimal number in lo..hi, nothing else in the text.
std::optional<long long> ParseBounded(const std::string& text, long long lo, long long hi) {
  if (text.empty()) return std::nullopt;
  const char first = text[0];
  if (!(first == '-' || first == '+' || (first >= '0' && first <= '9'))) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || v < lo || v > hi) return std::nullopt;
  return v;
}

std::string Dashless(const std::string& arg) {
  std::size_t n = 0;
  while (n < arg.size() && n < 2 && arg[n] == '-') ++n;
  return arg.substr(n);
}

}  // namespace

std::optional<std::uint32_t> ParseWindowId(const std::string& text) {
  // xscreensaver writes ids in decimal or as 0x hexadecimal; a leading 0 is not octal.
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos) return std::nullopt;
  errno = 0;
  const unsigned long long v = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
  if (errno != 0 || v == 0 || v > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(v);
}

const char* ShowUsage() {
  return "usage: glintora [-window | -fullscreen | -root | -window-id ID | -saver | -wallpaper | "
         "-idle SECONDS] [-x11 | -wayland] [-delay MS] [-theme 1..13] [-template FILE.glx] "
         "[-seed N] [-fps] [-verbose] [-sound | -no-sound] [-no-battery-pause] [-KEY VALUE]...";
}

ParsedOptions ParseShowOptions(const std::vector<std::string>& args,
                               const char* xscreensaverWindow) {
  ParsedOptions r;
  ShowOptions& o = r.options;
  bool targetGiven = false;
  bool rootAsked = false;
  const char* const kOneTarget =
      "only one of -window, -fullscreen, -root, -window-id, -saver, -wallpaper, -idle";
  auto fail = [&r](std::string message) {
    r.ok = false;
    r.error = std::move(message);
    return r;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') return fail("unexpected argument " + QuotedForMessage(arg));
    const std::string name = Dashless(arg);
    if (name.empty()) return fail("unexpected argument " + QuotedForMessage(arg));
    // The value of an option that takes one; null when the command line ends.
    auto value = [&]() -> const std::string* {
      if (i + 1 >= args.size()) return nullptr;
      return &args[++i];
    };
    auto setTarget = [&](ShowTarget t) -> bool {
      if (targetGiven && o.target != t) return false;
      targetGiven = true;
      o.target = t;
      return true;
    };

    if (name == "window") {
      if (!setTarget(ShowTarget::OwnWindow)) return fail(kOneTarget);
    } else if (name == "fullscreen") {
      if (!setTarget(ShowTarget::FullScreen)) return fail(kOneTarget);
    } else if (name == "root") {
      if (!setTarget(ShowTarget::Root)) return fail(kOneTarget);
      rootAsked = true;
    } else if (name == "window-id") {
      const std::string* v = value();
      if (!v) return fail("-window-id needs a window id");
      const auto id = ParseWindowId(*v);
      if (!id) return fail("-window-id: " + QuotedForMessage(*v) + " is not a window id");
      if (!setTarget(ShowTarget::ForeignWindow)) return fail(kOneTarget);
      o.windowId = *id;
    } else if (name == "saver") {
      if (!setTarget(ShowTarget::Saver)) return fail(kOneTarget);
    } else if (name == "wallpaper") {
      if (!setTarget(ShowTarget::Wallpaper)) return fail(kOneTarget);
    } else if (name == "idle") {
      const std::string* v = value();
      if (!v) return fail("-idle needs seconds");
      const auto secs = ParseBounded(*v, 1, 86400);
      if (!secs) return fail("-idle: " + QuotedForMessage(*v) + " is not a whole number of seconds 1..86400");
      if (!setTarget(ShowTarget::Idle)) return fail(kOneTarget);
      o.idleSeconds = static_cast<std::uint32_t>(*secs);
    } else if (name == "x11" || name == "wayland") {
      const DisplayForce force = name == "x11" ? DisplayForce::X11 : DisplayForce::Wayland;
      if (o.display != DisplayForce::Any && o.display != force) return fail("only one of -x11, -wayland");
      o.display = force;
    } else if (name == "delay") {
      const std::string* v = value();
      if (!v) return fail("-delay needs milliseconds");
      const auto ms = ParseBounded(*v, 0, 999);
      if (!ms) return fail("-delay: " + QuotedForMessage(*v) + " is not a whole number of milliseconds 0..999");
      o.delayMs = static_cast<std::int32_t>(*ms);
    } else if (name == "theme") {
      const std::string* v = value();
      if (!v) return fail("-theme needs a number 1..13");
      const auto t = ParseBounded(*v, 1, 13);
      if (!t) return fail("-theme: " + QuotedForMessage(*v) + " is not a theme number 1..13");
      o.theme = static_cast<std::int16_t>(*t);
    } else if (name == "template") {
      const std::string* v = value();
      if (!v || v->empty()) return fail("-template needs a file name");
      o.templatePath = *v;
    } else if (name == "seed") {
      const std::string* v = value();
      if (!v) return fail("-seed needs a number");
      const auto s = ParseBounded(*v, 0, 0xFFFFFFFFll);
      if (!s) return fail("-seed: " + QuotedForMessage(*v) + " is not a number 0..4294967295");
      o.seed = static_cast<std::uint32_t>(*s);
    } else if (name == "fps") {
      o.fps = true;
    } else if (name == "verbose") {
      o.verbose = true;
    } else if (name == "no-battery-pause") {
      o.batteryPause = false;
    } else if (name == "sound" || name == "no-sound") {
      o.settings.emplace_back("SoundFX_ON", name == "sound" ? "1" : "0");
    } else if (name == "help" || name == "h") {
      o.help = true;
    } else {
      const std::string* v = value();
      if (!v) return fail("unknown option " + QuotedForMessage(arg));
      o.settings.emplace_back(name, *v);
    }
  }

  // The daemon hands its window over in the environment; it wins over the real root.
  if ((rootAsked || !targetGiven) && o.display != DisplayForce::Wayland && xscreensaverWindow &&
      *xscreensaverWindow) {
    const auto id = ParseWindowId(xscreensaverWindow);
    if (!id) return fail("$XSCREENSAVER_WINDOW: " + QuotedForMessage(xscreensaverWindow) +
                         " is not a window id");
    o.target = ShowTarget::ForeignWindow;
    o.windowId = *id;
  }
  r.ok = true;
  return r;
}

}  // namespace glintora
