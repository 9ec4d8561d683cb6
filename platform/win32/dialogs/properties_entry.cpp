// The two ways the properties dialog is opened: by start-up for configuration (no owner) and by
// the application window (modal over it); and the real services it uses.
#include "platform/win32/display_windows.h"
#include "platform/win32/dialogs/advanced_dialog.h"
#include "platform/win32/dialogs/properties_dialog.h"
#include "platform/win32/dialogs/template_window.h"
#include "platform/win32/files/wide_text.h"
#include "platform/win32/web_page.h"
#include "platform/win32/welcome_window.h"

namespace glintora {

PropsServices DefaultPropsServices(Program& program) {
  PropsServices services;
  services.AskYesNo = [](HWND owner, const std::string& text, const std::string& title) {
    return MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  };
  services.Warn = [](HWND owner, const std::string& text, const std::string& title) {
    MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_ICONEXCLAMATION);
  };
  services.ChooseTemplate = [&program](HWND owner, bool open, const std::string& title,
                                       const std::string& types) {
    return ShowTemplateDialog(program, owner, open, title, types);
  };
  services.ShowAdvanced = [&program](HWND owner) { ShowAdvancedDialog(program, owner); };
  services.ShowAbout = [&program](HWND owner) { ShowWelcomeModal(program, owner); };
  services.OpenWebPage = [](HWND owner) { OpenMakerWebPage(owner); };
  services.ShowHelp = [](HWND owner, const HelpRequest& request) {
    OpenHelpPage(owner, request);
  };
  return services;
}

bool ShowPropertiesModal(Program& program, HWND owner, PropsServices services) {
  PropertiesDialog dialog(program, std::move(services));
  if (!dialog.Open(owner)) return false;
  dialog.RunUntilClosed(owner);
  return dialog.Accepted();
}

bool ShowPropertiesModal(Program& program, HWND owner) {
  return ShowPropertiesModal(program, owner, DefaultPropsServices(program));
}

// Start-up's configuration: the dialog has no owner and is the process's only window. It runs
// its own message loop (the dialog keys need IsDialogMessage) and the process ends when it
// closes, so nothing is left for the caller's loop.
bool OpenPropertiesDialog(Program& program) {
  PropertiesDialog dialog(program, DefaultPropsServices(program));
  if (!dialog.Open(nullptr)) return false;
  SetForegroundWindow(dialog.Handle());
  dialog.RunUntilClosed(nullptr);
  return false;
}

}  // namespace glintora
