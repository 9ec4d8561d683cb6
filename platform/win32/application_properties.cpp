// Until the real properties dialog offers its modal entry: the start-up dialog, held modal here.
#include "platform/win32/application_window.h"
#include "platform/win32/display_windows.h"
#include "startup/launch_decision.h"

namespace glintora {

void ShowPropertiesOverApplication(Program& program, HWND owner) {
  EnableWindow(owner, FALSE);
  if (OpenPropertiesDialog(program)) {
    HWND dialog = FindWindowA(nullptr, kPropertiesCaption);
    MSG message;
    // This dialog posts a quit when it closes; that quit is its own, not the program's.
    while (dialog && IsWindow(dialog) && GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  EnableWindow(owner, TRUE);
  SetForegroundWindow(owner);
}

}  // namespace glintora
