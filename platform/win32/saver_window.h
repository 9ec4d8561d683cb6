// frmSaver: the full-screen window of a screen-saver run. It covers the whole virtual screen
// (every monitor), hides the cursor, shows the splash, then runs shows until a key, a button or
// a burst of mouse moves closes it (after the password check of the Windows 95/98 family).
#pragma once

#include <windows.h>

namespace glintora {

// Local time of day in seconds, with its fraction.
double SecondsOfDay();

}  // namespace glintora
