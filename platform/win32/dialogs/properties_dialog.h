// frmProps, the properties dialog: every firework and colour field, the themes, the nine extras
// pages, the live preview, the template menu flows, the reset question, the advanced settings,
// help and about. Caption "Glintora Fireworks" (a second configuration start looks for it).
//
//   PropsIds                control and menu identifiers (tests drive the dialog with them)
//   PropsServices           what the dialog asks of the world: questions, file choice, other
//                           windows, help; replaceable so a test can answer for the user
//   PropertiesDialog        the window
//   ShowPropertiesModal     the application window's entry
// OpenPropertiesDialog (display_windows.h) is start-up's entry.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/props_fields.h"
#include "platform/win32/dialogs/dialog_window.h"
#include "platform/win32/dialogs/field_view.h"
#include "platform/win32/dialogs/help_viewer.h"
#include "platform/win32/program.h"

namespace glintora {

class Win32Host;

inline constexpr char kPropertiesTitle[] = "Glintora Fireworks";

namespace PropsIds {
inline constexpr int kAccept = 101;       // cmdAccept
inline constexpr int kDismiss = 102;      // cmdDismiss
inline constexpr int kDispPreview = 103;  // cmdDispPreview
inline constexpr int kTheme = 104;        // cboFireTheme
inline constexpr int kExtras = 105;       // cboFireExtras
inline constexpr int kPicture = 106;      // picPreview
inline constexpr int kMultiMom = 107;     // chkMultiMom
inline constexpr int kJetBurst = 108;     // chkJetBurst
inline constexpr int kFireBase = 1000;    // txtFire i: kFireBase + i
inline constexpr int kFireSpinBase = 1100;
inline constexpr int kPixHueBase = 1200;  // txtPixHue 0..2
inline constexpr int kPixHueSpinBase = 1210;
inline constexpr int kSwatchBase = 1220;  // picPixHue 0..2
inline constexpr int kPixColBase = 1230;  // txtPixCol 0..2
inline constexpr int kPixColSpinBase = 1240;
inline constexpr int kPageBase = 1300;    // fraFireProp 0..8
// Menu arrays: the item index is added to the base.
inline constexpr int kMenuFile = 2000;    // 0 open, 2 save, 3 save as, 5 exit
inline constexpr int kMenuEdit = 2100;    // 0 reset, 2 advanced
inline constexpr int kMenuHelp = 2200;    // 0 contents, 1 search, 3 web page, 5 about
}  // namespace PropsIds

struct PropsServices {
  // The reset question: true for Yes.
  std::function<bool(HWND owner, const std::string& text, const std::string& title)> AskYesNo;
  // A message with an OK button: a failed template save.
  std::function<void(HWND owner, const std::string& text, const std::string& title)> Warn;
  // The template file dialog: the chosen path, empty when cancelled.
  std::function<std::string(HWND owner, bool open, const std::string& title,
                            const std::string& types)>
      ChooseTemplate;
  std::function<void(HWND owner)> ShowAdvanced;
  std::function<void(HWND owner)> ShowAbout;
  std::function<void(HWND owner)> OpenWebPage;
  std::function<void(HWND owner, const HelpRequest& request)> ShowHelp;
};

// The real services for this program.
PropsServices DefaultPropsServices(Program& program);

class PropertiesDialog : public DialogWindow {
 public:
  PropertiesDialog(Program& program, PropsServices services);
  ~PropertiesDialog() override;

  // Creates and shows the dialog (not yet modal: RunUntilClosed makes it so).
  bool Open(HWND owner);

  Win32FieldView& Fields() { return view_; }
  bool PreviewRunning() const { return previewRunning_; }
  // How the dialog was closed: true once Accept stored the values.
  bool Accepted() const { return accepted_; }

  // The dialog's operations (the menu and button handlers call these).
  void ChooseTheme(int position);
  void ShowPage(int page);
  void SetPreviewRunning(bool running);
  void EnableForPreview(bool running, HWND kept);
  void Accept();
  void Cancel();
  void Exit();
  void ResetProperties();
  void OpenTemplate();
  void SaveTemplate();
  void SaveTemplateAs();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnClose() override;
  void OnDestroy() override;
  void OnHelpKey(HWND control, int topic) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void CreateControls();  // properties_layout.cpp
  HMENU CreateMenus();
  void RunEffectsPreview();
  void SaveTemplateWithDialog();
  void Help(const HelpRequest& request);
  void SaveClosingState();  // the placement, and the help window closed

  Program& program_;
  PropsServices services_;
  Win32FieldView view_;
  PropsFieldModel model_;
  std::vector<HWND> pages_[9];  // every control of page i, its frame first
  std::vector<HWND> lines_;     // never disabled by the preview
  HMENU menu_ = nullptr;
  bool previewRunning_ = false;
  bool closeAfterPreview_ = false;
  bool accepted_ = false;
  std::unique_ptr<Win32Host> previewHost_;  // kept so the picture repaints its last frame
};

// Shows the properties dialog modally over owner (the application window) and returns when it
// has closed; true when the user accepted. Program::Run.QuitRequested tells whether Exit was
// chosen; the preview may have changed the engine record and the settings, so a window that
// resumes its own show sets them again.
bool ShowPropertiesModal(Program& program, HWND owner);
bool ShowPropertiesModal(Program& program, HWND owner, PropsServices services);

}  // namespace glintora
