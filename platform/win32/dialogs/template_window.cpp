// Sections: creation | the three lists | commands | entry
#include "platform/win32/dialogs/template_window.h"

#include <cstring>
#include <vector>

#include "platform/win32/window_placement.h"

namespace glintora {

namespace {

constexpr char kPlacementSection[] = "General\\Template";
constexpr int kHelpTopic = 500;
constexpr char kParentEntry[] = "[..]";

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

}  // namespace

// --- creation ---

TemplateWindow::TemplateWindow(Program& program, TemplateDialogModel& model,
                               InformFunction inform, HelpFunction help)
    : program_(program), model_(model), inform_(std::move(inform)), help_(std::move(help)) {}

bool TemplateWindow::Open(HWND owner) {
  return OpenDialogFrame(program_.Instance, owner, model_.Title(), 7320, 4560, nullptr,
                         program_.Run.TwipsPerPixelX, program_.Run.TwipsPerPixelY);
}

void TemplateWindow::CreateControls() {
  using namespace TemplateIds;
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
  constexpr DWORD kList = LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOINTEGRALHEIGHT;
  constexpr DWORD kPick = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  AddControl("STATIC", "Template name:", kLabel, {120, 120, 3000, 240}, -1);
  HWND name = AddControl("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {120, 390, 3000, 300},
                         kName, kHelpTopic, WS_EX_CLIENTEDGE);
  SendMessageA(name, EM_SETLIMITTEXT, 100, 0);
  AddControl("LISTBOX", "", kList | LBS_SORT, {120, 780, 3000, 2820}, kFiles, kHelpTopic);
  AddControl("STATIC", "List Files of Type:", kLabel, {120, 3690, 3000, 240}, -1);
  AddControl("COMBOBOX", "", kPick, {120, 3960, 3000, 1800}, kTypes, kHelpTopic);

  AddControl("STATIC", "Drive / Directory:", kLabel, {3300, 120, 2520, 240}, -1);
  AddControl("STATIC", "", kLabel | SS_PATHELLIPSIS, {3300, 390, 2520, 240}, kFolderPath);
  AddControl("LISTBOX", "", kList, {3300, 690, 2520, 2910}, kFolders, kHelpTopic);
  AddControl("COMBOBOX", "", kPick, {3300, 3960, 2520, 1800}, kDrives, kHelpTopic);

  AddControl("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {5970, 390, 1230, 360}, kOk);
  AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, {5970, 810, 1230, 360}, kDismiss);
  AddControl("BUTTON", "&Help", BS_PUSHBUTTON | WS_TABSTOP, {5970, 1230, 1230, 360}, kHelp);
}

void TemplateWindow::OnCreate() {
  LoadWindowPlacement(program_, Handle(), kPlacementSection);
  CreateControls();
  SendMessageA(Handle(), DM_SETDEFID, TemplateIds::kOk, 0);

  HWND types = Item(TemplateIds::kTypes);
  for (const FileType& type : model_.Types()) {
    SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.description.c_str()));
  }
  SendMessageA(types, CB_SETCURSEL, 0, 0);
  if (!model_.Types().empty() && !model_.Types().front().pattern.empty()) {
    pattern_ = model_.Types().front().pattern;
  }

  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  folder_ = WithoutTrailingSlash(current);
  // The last accepted drive, then folder; one that no longer exists leaves the lists be.
  const TemplateLocation last = ReadTemplateLocation(program_.Store);
  if (!last.drive.empty()) {
    char onDrive[MAX_PATH] = {};
    const std::string drive = last.drive.substr(0, 2);
    if (GetFullPathNameA(drive.c_str(), MAX_PATH, onDrive, nullptr) && IsFolder(onDrive)) {
      folder_ = WithoutTrailingSlash(onDrive);
    }
  }
  if (!last.folder.empty() && IsFolder(last.folder)) folder_ = WithoutTrailingSlash(last.folder);
  FillDrives();
  FillFolders();
  FillFiles();
}

// --- the three lists ---

std::string TemplateWindow::Drive() const { return folder_.substr(0, 2); }

bool TemplateWindow::ShowFolder(const std::string& path) {
  if (!IsFolder(path)) return false;
  char full[MAX_PATH] = {};
  if (!GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr)) return false;
  folder_ = WithoutTrailingSlash(full);
  FillDrives();
  FillFolders();
  FillFiles();
  return true;
}

std::string TemplateWindow::ListText(HWND list, int index) const {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  return buffer.data();
}

void TemplateWindow::FillDrives() {
  HWND drives = Item(TemplateIds::kDrives);
  SendMessageA(drives, CB_RESETCONTENT, 0, 0);
  char all[512] = {};
  const DWORD length = GetLogicalDriveStringsA(sizeof all - 1, all);
  for (const char* drive = all; length && *drive; drive += std::strlen(drive) + 1) {
    const std::string name = std::string(drive).substr(0, 2);  // "C:"
    const LRESULT at = SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (_stricmp(name.c_str(), Drive().c_str()) == 0) {
      SendMessageA(drives, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
  }
}

void TemplateWindow::FillFolders() {
  SetWindowTextA(Item(TemplateIds::kFolderPath), folder_.c_str());
  HWND folders = Item(TemplateIds::kFolders);
  SendMessageA(folders, LB_RESETCONTENT, 0, 0);
  if (folder_.size() > 3) SendMessageA(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kParentEntry));
  WIN32_FIND_DATAA found;
  const std::string search = folder_ + (folder_.back() == '\\' ? "*" : "\\*");
  HANDLE finder = FindFirstFileA(search.c_str(), &found);
  if (finder == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
      SendMessageA(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
  } while (FindNextFileA(finder, &found));
  FindClose(finder);
}

void TemplateWindow::FillFiles() {
  HWND files = Item(TemplateIds::kFiles);
  SendMessageA(files, LB_RESETCONTENT, 0, 0);
  WIN32_FIND_DATAA found;
  const std::string search = folder_ + (folder_.back() == '\\' ? "" : "\\") + pattern_;
  HANDLE finder = FindFirstFileA(search.c_str(), &found);
  if (finder == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      SendMessageA(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    }
  } while (FindNextFileA(finder, &found));
  FindClose(finder);
}

// --- commands ---

void TemplateWindow::OnCommand(int id, int code, HWND control) {
  using namespace TemplateIds;
  switch (id) {
    case kOk:
    case IDOK:
      Ok();
      return;
    case kDismiss:
    case IDCANCEL:
      model_.Cancel();
      Destroy();
      return;
    case kHelp:
      OnHelpKey(control, kHelpTopic);
      return;
    case kName:
      if (code == EN_SETFOCUS) SendMessageA(control, EM_SETSEL, 0, -1);
      return;
    case kTypes:
      if (code == CBN_SELCHANGE) {
        const LRESULT at = SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (at >= 0 && at < static_cast<LRESULT>(model_.Types().size())) {
          pattern_ = model_.Types()[static_cast<std::size_t>(at)].pattern;
          FillFiles();
        }
      }
      return;
    case kDrives:
      if (code == CBN_SELCHANGE) {
        char drive[8] = {};
        GetWindowTextA(control, drive, sizeof drive);
        char onDrive[MAX_PATH] = {};
        if (GetFullPathNameA(drive, MAX_PATH, onDrive, nullptr) && !ShowFolder(onDrive)) {
          FillDrives();  // a drive that cannot be read: the list returns to the folder's drive
        }
      }
      return;
    case kFolders:
      if (code == LBN_DBLCLK) {
        const LRESULT at = SendMessageA(control, LB_GETCURSEL, 0, 0);
        if (at < 0) return;
        const std::string entry = ListText(control, static_cast<int>(at));
        if (entry == kParentEntry) {
          const auto slash = folder_.find_last_of('\\');
          ShowFolder(slash == std::string::npos ? folder_ : folder_.substr(0, slash + 1));
        } else {
          ShowFolder(folder_ + (folder_.back() == '\\' ? "" : "\\") + entry);
        }
      }
      return;
    case kFiles: {
      const LRESULT at = SendMessageA(control, LB_GETCURSEL, 0, 0);
      if (at < 0) return;
      const std::string name = ListText(control, static_cast<int>(at));
      if (code == LBN_SELCHANGE) SetWindowTextA(Item(kName), name.c_str());
      if (code == LBN_DBLCLK) {
        model_.FileDoubleClicked(Drive(), folder_, name);
        Destroy();
      }
      return;
    }
    default:
      return;
  }
}

void TemplateWindow::Ok() {
  char name[128] = {};
  GetWindowTextA(Item(TemplateIds::kName), name, sizeof name);
  const std::string message = model_.Ok(Drive(), folder_, name);
  if (message.empty()) {
    Destroy();
    return;
  }
  if (inform_) inform_(Handle(), message);
  if (IsOpen()) SetFocus(Item(TemplateIds::kName));
}

void TemplateWindow::OnHelpKey(HWND, int) {
  if (help_) help_(Handle(), {program_.Run.HelpFileName, kHelpContext, kHelpTopic});
}

void TemplateWindow::OnDestroy() { SaveWindowPlacement(program_, Handle(), kPlacementSection); }

// --- entry ---

std::string ShowTemplateDialog(Program& program, HWND owner, bool open, const std::string& title,
                               const std::string& types) {
  StdFileSystem files;
  TemplateDialogModel model(program.Store, files);
  model.FormLet(open, title, types);
  TemplateWindow window(
      program, model,
      [](HWND dialog, const std::string& text) {
        MessageBoxA(dialog, text.c_str(), kMessageCaption, MB_OK | MB_ICONINFORMATION);
      },
      &OpenHelpPage);
  if (!window.Open(owner)) return {};
  window.RunUntilClosed(owner);
  return model.Accepted() ? model.FullFileName() : std::string();
}

}  // namespace glintora
