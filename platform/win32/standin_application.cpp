// Stand-in for the application window: maximised, no caption text, Esc ends it.
#include "platform/win32/display_windows.h"
#include "platform/win32/standin_window.h"

namespace glintora {

bool OpenApplicationWindow(Program& program) {
  StandInSpec spec;
  spec.Caption = "";
  spec.Style = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE;
  return CreateStandInWindow(program.Instance, spec) != nullptr;
}

}  // namespace glintora
