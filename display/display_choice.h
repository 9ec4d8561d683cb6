// Which display system a run of the native program talks to. The X11 targets (the root window, a
// window by id, the daemon's $XSCREENSAVER_WINDOW) keep xscreensaver's hacks on X11 whatever else
// is running; the saver, wallpaper and idle watcher exist only on Wayland; otherwise a Wayland
// session wins over an X server, and -x11 or -wayland decide outright.
#pragma once

#include <string>

#include "display/show_options.h"

namespace glintora {

enum class DisplaySystem { X11, Wayland };

struct DisplayChoice {
  bool ok = false;
  DisplaySystem system = DisplaySystem::X11;
  std::string error;  // one line when !ok
};

// waylandDisplay: the environment's $WAYLAND_DISPLAY or null. Without it the choice is X11, whose
// own message names $DISPLAY when that cannot be opened.
DisplayChoice ChooseDisplay(const ShowOptions& options, const char* waylandDisplay);

}  // namespace glintora
