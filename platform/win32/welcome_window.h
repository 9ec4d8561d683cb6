// frmWelcome, the about box: the logo, "OK" (default and cancel) and "&Web...", which opens the
// maker's web page. Modal over its owner; returns when it has closed. "OK" and Esc leave
// StopRequested raised; the window's close box does not.
#pragma once

#include <windows.h>

#include "platform/win32/program.h"

namespace glintora {

void ShowWelcomeModal(Program& program, HWND owner);

}  // namespace glintora
