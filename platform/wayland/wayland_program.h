// The native show program on Wayland: a window, full screen, the saver over every output, the
// wallpaper under everything, or the idle watcher that runs the saver.
#pragma once

#include "settings/store.h"
#include "display/show_options.h"

namespace glintora::wayland {

// store: the user's settings with this run's options laid over them. Exit codes: 0 the show
// ended normally, 1 the display could not be used or the connection broke, 2 the compositor
// lacks what the mode needs.
int RunProgram(const ShowOptions& options, Store& store);

}  // namespace glintora::wayland
