// The application window opens the real properties dialog, modal over it.
#include "platform/win32/application_window.h"
#include "platform/win32/dialogs/properties_dialog.h"

namespace glintora {

void ShowPropertiesOverApplication(Program& program, HWND owner) {
  ShowPropertiesModal(program, owner);
  SetForegroundWindow(owner);
}

}  // namespace glintora
