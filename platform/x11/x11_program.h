// The native show program: options, settings, the target window and the display windows' loop.
#pragma once

namespace glintora::x11 {

// Exit codes: 0 the show ended normally, 1 the display or the window could not be used,
// 2 a usage error.
int RunProgram(int argc, char** argv);

}  // namespace glintora::x11
