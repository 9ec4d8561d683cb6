// Stand-in for the properties dialog: a small window with the dialog's caption; Esc or the close
// box ends it.
#include "platform/win32/display_windows.h"
#include "platform/win32/standin_window.h"
#include "startup/launch_decision.h"

namespace glintora {

bool OpenPropertiesDialog(Program& program) {
  StandInSpec spec;
  spec.Caption = kPropertiesCaption;
  spec.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  spec.Width = 480;
  spec.Height = 360;
  return CreateStandInWindow(program.Instance, spec) != nullptr;
}

}  // namespace glintora
