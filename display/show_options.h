// The command line of the native show program: where the show runs (a window of its own, full
// screen, the root window, a foreign window by id; on Wayland also the saver over every output,
// the wallpaper under everything, or the idle watcher that runs the saver), which display system
// it talks to, a few run options, and settings given by key
// (-FireWorks 20) that override the stored ones for this run only. Portable: the caller passes
// the arguments and the value of $XSCREENSAVER_WINDOW.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace glintora {

enum class ShowTarget { OwnWindow, FullScreen, Root, ForeignWindow, Saver, Wallpaper, Idle };

// -x11 or -wayland; Any lets the targets and the environment decide.
enum class DisplayForce { Any, X11, Wayland };

struct ShowOptions {
  ShowTarget target = ShowTarget::OwnWindow;
  std::uint32_t windowId = 0;                  // ForeignWindow only
  std::uint32_t idleSeconds = 0;               // Idle only: -idle SECONDS
  DisplayForce display = DisplayForce::Any;
  std::optional<std::int32_t> delayMs;         // -delay: Adv_TimeDelay for this run
  std::optional<std::int16_t> theme;           // -theme 1..13
  std::string templatePath;                    // -template FILE.glx
  std::optional<std::uint32_t> seed;           // -seed: replayable show
  bool fps = false;                            // -fps: frame rate and busy share overlay
  bool verbose = false;                        // -verbose: print the settings each show loads
  bool batteryPause = true;                    // -wallpaper pauses on battery; -no-battery-pause
  bool help = false;                           // -help
  // -Key VALUE pairs in command-line order, checked against the settings table by the caller.
  std::vector<std::pair<std::string, std::string>> settings;
};

struct ParsedOptions {
  bool ok = false;
  std::string error;  // one line, no trailing newline, when !ok
  ShowOptions options;
};

// args excludes the program name. xscreensaverWindow: the environment's $XSCREENSAVER_WINDOW or
// null; it names the target when the command line asks for the root window or names no target,
// as hacks do when the daemon runs them, unless -wayland is given. Options take one or two
// leading dashes.
ParsedOptions ParseShowOptions(const std::vector<std::string>& args,
                               const char* xscreensaverWindow);

// A window id as X11 tools print it: decimal or 0x-prefixed hexadecimal, non-zero, 32 bits.
std::optional<std::uint32_t> ParseWindowId(const std::string& text);

// The one-line usage text printed after an error.
const char* ShowUsage();

}  // namespace glintora
