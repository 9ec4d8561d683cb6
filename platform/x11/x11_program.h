// The native show program on X11: the target window and the display windows' loop.
#pragma once

#include "settings/store.h"
#include "display/show_options.h"

namespace glintora::x11 {

// store: the user's settings with this run's options laid over them. Exit codes: 0 the show
// ended normally, 1 the display or the window could not be used, 2 a usage error.
int RunProgram(const ShowOptions& options, Store& store);

}  // namespace glintora::x11
