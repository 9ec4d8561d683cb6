// frmAdvanced, "Advanced Settings": frame delay, focal length, the on-screen message with its
// font, size and hue, and the two behaviour flags. Reads the store when it opens, writes it only
// on OK. The rules are the advanced model's; this is its window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/advanced_model.h"
#include "platform/win32/dialogs/dialog_window.h"
#include "platform/win32/dialogs/field_view.h"
#include "platform/win32/dialogs/help_viewer.h"
#include "platform/win32/program.h"

namespace glintora {

namespace AdvancedIds {
inline constexpr int kOk = 201;
inline constexpr int kDismiss = 202;
inline constexpr int kDefaults = 203;
inline constexpr int kHelp = 204;
inline constexpr int kBoxBase = 210;      // txtAdv 0, 4, 5, 6
inline constexpr int kSpinnerBase = 220;  // spnAdv 0, 4, 5
inline constexpr int kMessage = 230;
inline constexpr int kFont = 231;
inline constexpr int kMouseMove = 232;
inline constexpr int kResize = 233;
inline constexpr int kSound = 234;
}  // namespace AdvancedIds

// The installed screen fonts, in the order the system lists them, each name once.
std::vector<std::string> ScreenFonts();

class AdvancedDialog : public DialogWindow {
 public:
  using HelpFunction = std::function<void(HWND owner, const HelpRequest& request)>;
  AdvancedDialog(Program& program, std::vector<std::string> fonts, HelpFunction help);
  ~AdvancedDialog() override;

  bool Open(HWND owner);
  Win32FieldView& Fields() { return view_; }

  void Ok();
  void Defaults();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;
  void OnHelpKey(HWND control, int topic) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void CreateControls();
  // The font list shows the model's choice, and the message box previews it.
  void ShowChosenFont();

  Program& program_;
  Win32FieldView view_;
  AdvancedModel model_;
  HelpFunction help_;
  FontHandle messageFont_;
};

// Shows the dialog modally over owner; returns when it has closed.
void ShowAdvancedDialog(Program& program, HWND owner);

}  // namespace glintora
