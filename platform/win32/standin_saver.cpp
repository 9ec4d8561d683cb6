// Stand-in for the saver window: full screen, black, any key or click ends it.
#include "platform/win32/display_windows.h"
#include "platform/win32/standin_window.h"
#include "platform/win32/system_services.h"
#include "startup/launch_decision.h"

namespace glintora {

bool OpenSaverWindow(Program& program) {
  StandInSpec spec;
  spec.Caption = kSaverCaption;
  spec.Style = WS_POPUP;
  spec.ExStyle = WS_EX_TOPMOST;
  spec.X = 0;
  spec.Y = 0;
  spec.Width = GetSystemMetrics(SM_CXSCREEN);
  spec.Height = GetSystemMetrics(SM_CYSCREEN);
  spec.CloseOnAnyInput = true;
  spec.OnClosed = [] { SetSaverRunning(false); };
  return CreateStandInWindow(program.Instance, spec) != nullptr;
}

}  // namespace glintora
