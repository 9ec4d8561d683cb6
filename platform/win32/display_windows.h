// The windows that start-up opens. Each returns true when it opened a window that keeps the
// process alive; the process then runs its message loop until a window posts WM_QUIT (or ends
// the process itself). Implemented by saver_window.cpp, application_window.cpp,
// preview_window.cpp and dialogs/properties_entry.cpp.
#pragma once

#include "platform/win32/program.h"

namespace glintora {

// The full-screen saver window, caption "KRYX:Glintora Fireworks 1.0".
bool OpenSaverWindow(Program& program);
// The application window (started from the .exe with no .scr twin).
bool OpenApplicationWindow(Program& program);
// The properties dialog, modeless, caption "Glintora Fireworks".
bool OpenPropertiesDialog(Program& program);
// The preview surface inside Program::Run.PreviewHostWindow; ends when the host goes away.
bool OpenPreviewWindow(Program& program);

}  // namespace glintora
