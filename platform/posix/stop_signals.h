// SIGTERM (the daemon ending a hack, or the session ending a wallpaper), SIGINT and SIGHUP end the
// show at its next wait, on X11 and Wayland alike.
#pragma once

namespace glintora::posix {

// Without SA_RESTART: a wait in poll() returns EINTR and the caller looks at StopSignalled.
void InstallStopSignals();
bool StopSignalled();

}  // namespace glintora::posix
