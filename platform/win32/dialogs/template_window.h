// frmTemplate, the program's own chooser of template files: a drive list, a folder list (the
// parent entry "[..]" and the sub-folders; a double-click enters one), a file list filtered by the
// chosen type, the name box and OK, Cancel, Help. The checks and the remembered location are the
// template model's; this is its window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "dialogs/template_dialog.h"
#include "platform/win32/dialogs/dialog_window.h"
#include "platform/win32/dialogs/help_viewer.h"
#include "platform/win32/program.h"

namespace glintora {

namespace TemplateIds {
inline constexpr int kOk = 301;
inline constexpr int kDismiss = 302;
inline constexpr int kHelp = 303;
inline constexpr int kDrives = 304;   // drvTemp
inline constexpr int kFolders = 305;  // dirTemp
inline constexpr int kFiles = 306;    // filTemp
inline constexpr int kName = 307;     // txtFile
inline constexpr int kTypes = 308;    // cboTypes
inline constexpr int kFolderPath = 309;
}  // namespace TemplateIds

class TemplateWindow : public DialogWindow {
 public:
  using InformFunction = std::function<void(HWND owner, const std::string& text)>;
  using HelpFunction = std::function<void(HWND owner, const HelpRequest& request)>;
  TemplateWindow(Program& program, TemplateDialogModel& model, InformFunction inform,
                 HelpFunction help);

  bool Open(HWND owner);
  // The folder list shows path (the drive list follows); false when it is not a folder.
  bool ShowFolder(const std::string& path);
  const std::string& Folder() const { return folder_; }
  std::string Drive() const;

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;
  void OnHelpKey(HWND control, int topic) override;

 private:
  void CreateControls();
  void FillDrives();
  void FillFolders();
  void FillFiles();
  std::string ListText(HWND list, int index) const;
  void Ok();

  Program& program_;
  TemplateDialogModel& model_;
  InformFunction inform_;
  HelpFunction help_;
  std::string folder_;
  std::string pattern_ = "*.*";
};

// Shows the dialog modally and returns the confirmed path, or an empty text when cancelled.
std::string ShowTemplateDialog(Program& program, HWND owner, bool open, const std::string& title,
                               const std::string& types);

}  // namespace glintora
