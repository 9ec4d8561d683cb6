// Sections: creation | the three lists | commands | entry
#include "platform/win32/dialogs/template_window.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/win32/files/wide_text.h"
#include "platform/win32/window_placement.h"

namespace glintora {

namespace {

constexpr char kPlacementSection[] = "General\\Template";
constexpr int kHelpTopic = 500;
constexpr char kParentEntry[] = "[..]";
constexpr std::size_t kNameLength = 100;  // what may be typed

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(FilePathW(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The full form of path ("C:" is the current folder of drive C); empty when there is none.
std::string FullPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return {};
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return {};
  full.resize(written);
  return Narrow(full);
}

void AddListText(HWND list, UINT message, const std::wstring& text) {
  SendMessageW(list, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
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
  SendMessageW(name, EM_SETLIMITTEXT, kNameLength, 0);
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
  SendMessageW(Handle(), DM_SETDEFID, TemplateIds::kOk, 0);

  HWND types = Item(TemplateIds::kTypes);
  for (const FileType& type : model_.Types()) AddListText(types, CB_ADDSTRING, Widen(type.description));
  SendMessageW(types, CB_SETCURSEL, 0, 0);
  if (!model_.Types().empty() && !model_.Types().front().pattern.empty()) {
    pattern_ = model_.Types().front().pattern;
  }

  folder_ = WithoutTrailingSlash(FullPath("."));
  // The last accepted drive, then folder; one that no longer exists leaves the lists be.
  const TemplateLocation last = ReadTemplateLocation(program_.Store);
  if (!last.drive.empty()) {
    const std::string onDrive = FullPath(last.drive.substr(0, 2));
    if (!onDrive.empty() && IsFolder(onDrive)) folder_ = WithoutTrailingSlash(onDrive);
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
  const std::string full = FullPath(path);
  if (full.empty()) return false;
  folder_ = WithoutTrailingSlash(full);
  FillDrives();
  FillFolders();
  FillFiles();
  return true;
}

std::string TemplateWindow::ListText(HWND list, int index) const {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  return Narrow(buffer.data());
}

void TemplateWindow::FillDrives() {
  HWND drives = Item(TemplateIds::kDrives);
  SendMessageW(drives, CB_RESETCONTENT, 0, 0);
  wchar_t all[512] = {};
  const DWORD length = GetLogicalDriveStringsW(511, all);
  const std::wstring current = Widen(Drive());
  for (const wchar_t* drive = all; length && *drive; drive += std::wcslen(drive) + 1) {
    const std::wstring name = std::wstring(drive).substr(0, 2);  // "C:"
    const LRESULT at = SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (_wcsicmp(name.c_str(), current.c_str()) == 0) {
      SendMessageW(drives, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
  }
}

void TemplateWindow::FillFolders() {
  SetWindowTextW(Item(TemplateIds::kFolderPath), Widen(folder_).c_str());
  HWND folders = Item(TemplateIds::kFolders);
  SendMessageW(folders, LB_RESETCONTENT, 0, 0);
  if (folder_.size() > 3) AddListText(folders, LB_ADDSTRING, Widen(kParentEntry));
  WIN32_FIND_DATAW found;
  const std::string search = folder_ + (folder_.back() == '\\' ? "*" : "\\*");
  HANDLE finder = FindFirstFileW(FilePathW(search).c_str(), &found);
  if (finder == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
      AddListText(folders, LB_ADDSTRING, name);
    }
  } while (FindNextFileW(finder, &found));
  FindClose(finder);
}

void TemplateWindow::FillFiles() {
  HWND files = Item(TemplateIds::kFiles);
  SendMessageW(files, LB_RESETCONTENT, 0, 0);
  WIN32_FIND_DATAW found;
  const std::string search = folder_ + (folder_.back() == '\\' ? "" : "\\") + pattern_;
  HANDLE finder = FindFirstFileW(FilePathW(search).c_str(), &found);
  if (finder == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      AddListText(files, LB_ADDSTRING, found.cFileName);
    }
  } while (FindNextFileW(finder, &found));
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
      if (code == EN_SETFOCUS) SendMessageW(control, EM_SETSEL, 0, -1);
      return;
    case kTypes:
      if (code == CBN_SELCHANGE) {
        const LRESULT at = SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (at >= 0 && at < static_cast<LRESULT>(model_.Types().size())) {
          pattern_ = model_.Types()[static_cast<std::size_t>(at)].pattern;
          FillFiles();
        }
      }
      return;
    case kDrives:
      if (code == CBN_SELCHANGE) {
        wchar_t drive[8] = {};
        GetWindowTextW(control, drive, 8);
        const std::string onDrive = FullPath(Narrow(drive));
        if (!onDrive.empty() && !ShowFolder(onDrive)) {
          FillDrives();  // a drive that cannot be read: the list returns to the folder's drive
        }
      }
      return;
    case kFolders:
      if (code == LBN_DBLCLK) {
        const LRESULT at = SendMessageW(control, LB_GETCURSEL, 0, 0);
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
      const LRESULT at = SendMessageW(control, LB_GETCURSEL, 0, 0);
      if (at < 0) return;
      const std::string name = ListText(control, static_cast<int>(at));
      if (code == LBN_SELCHANGE) {
        // A listed name may be longer than a typed one; the box then takes and keeps it whole.
        const std::wstring wide = Widen(name);
        SendMessageW(Item(kName), EM_SETLIMITTEXT,
                     std::max<std::size_t>(kNameLength, wide.size()), 0);
        SetWindowTextW(Item(kName), wide.c_str());
      }
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
  const std::string message = model_.Ok(Drive(), folder_, WindowText(Item(TemplateIds::kName)));
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
  TemplateDialogModel model(program.Store, SystemFileSystem());
  model.FormLet(open, title, types);
  TemplateWindow window(
      program, model,
      [](HWND dialog, const std::string& text) {
        MessageBoxW(dialog, Widen(text).c_str(), Widen(kMessageCaption).c_str(),
                    MB_OK | MB_ICONINFORMATION);
      },
      &OpenHelpPage);
  if (!window.Open(owner)) return {};
  window.RunUntilClosed(owner);
  return model.Accepted() ? model.FullFileName() : std::string();
}

}  // namespace glintora
