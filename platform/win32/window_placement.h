// Remembering a window's state, position and size in a section of the settings store.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/program.h"
#include "settings/store.h"
#include "startup/run_state.h"

namespace glintora {

// WindowState "2" when maximised, else "0"; WindowSize (twips) unless the window is minimised.
void SaveWindowPlacement(Store& store, const RunState& run, HWND window,
                         const std::string& section);
// Applies the stored state; a normal window also gets the stored position, and the stored size
// when its frame is sizable. Nothing stored leaves the window where it is. A hidden window stays
// hidden; the result is the show command that gives it the stored state when it is shown.
int LoadWindowPlacement(Store& store, const RunState& run, HWND window,
                        const std::string& section);

inline void SaveWindowPlacement(Program& program, HWND window, const std::string& section) {
  SaveWindowPlacement(program.Store, program.Run, window, section);
}
inline int LoadWindowPlacement(Program& program, HWND window, const std::string& section) {
  return LoadWindowPlacement(program.Store, program.Run, window, section);
}

}  // namespace glintora
