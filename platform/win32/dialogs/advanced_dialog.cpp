// Sections: fonts | creation | commands | help and closing | entry
#include "platform/win32/dialogs/advanced_dialog.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/files/wide_text.h"
#include "platform/win32/window_placement.h"

namespace glintora {

namespace {

constexpr char kPlacementSection[] = "General\\Advanced";
constexpr int kHelpTopic = 500;

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS;
constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | WS_CLIPSIBLINGS;
constexpr DWORD kSpinner = SBS_VERT | WS_CLIPSIBLINGS;
constexpr DWORD kFrame = BS_GROUPBOX | WS_CLIPSIBLINGS;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS;

int CALLBACK CollectFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
  auto& names = *reinterpret_cast<std::vector<std::string>*>(list);
  const std::string name = Narrow(font->lfFaceName);
  // '@' names are the vertical twins of other fonts.
  if (!name.empty() && name[0] != '@' &&
      std::find(names.begin(), names.end(), name) == names.end()) {
    names.push_back(name);
  }
  return 1;
}

}  // namespace

// --- fonts ---

std::vector<std::string> ScreenFonts() {
  std::vector<std::string> names;
  HDC screen = GetDC(nullptr);
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(screen, &wanted, &CollectFont, reinterpret_cast<LPARAM>(&names), 0);
  ReleaseDC(nullptr, screen);
  return names;
}

// --- creation ---

AdvancedDialog::AdvancedDialog(Program& program, std::vector<std::string> fonts, HelpFunction help)
    : program_(program), model_(view_, program.Store, std::move(fonts)), help_(std::move(help)) {
  view_.SetListener(&model_);
}

AdvancedDialog::~AdvancedDialog() { view_.SetListener(nullptr); }

bool AdvancedDialog::Open(HWND owner) {
  return OpenDialogFrame(program_.Instance, owner, "Advanced Settings", 7200, 4590, nullptr,
                         program_.Run.TwipsPerPixelX, program_.Run.TwipsPerPixelY);
}

void AdvancedDialog::CreateControls() {
  using namespace AdvancedIds;
  auto box = [&](int index, const TwipsRect& r, bool spinner) {
    HWND edit = AddControl("EDIT", "", kEdit, r, kBoxBase + index, kHelpTopic, WS_EX_CLIENTEDGE);
    view_.AddTextBox({Control::TxtAdv, index}, edit);
    if (spinner) {
      HWND spin = AddControl("SCROLLBAR", "", kSpinner, {r.Left + r.Width, r.Top, 192, 300},
                             kSpinnerBase + index, kHelpTopic);
      view_.AddSpinner({Control::SpnAdv, index}, spin);
    }
  };
  std::vector<HWND> frames;
  frames.push_back(AddControl("BUTTON", "Frame Delay for Animation Smoothing", kFrame,
                              {120, 60, 5520, 660}, -1));
  AddControl("STATIC", "Delay in Milliseconds (0 - 999):", kLabel, {240, 360, 3480, 240}, -1);
  box(0, {3840, 300, 660, 300}, true);

  frames.push_back(AddControl("BUTTON", "Display Enhancement", kFrame, {120, 780, 5520, 660}, -1));
  AddControl("STATIC", "Focal Length (0.01 - 10.0):", kLabel, {240, 1080, 3480, 240}, -1);
  box(6, {3840, 1020, 852, 300}, false);

  frames.push_back(AddControl("BUTTON", "On Screen Message", kFrame, {120, 1500, 5520, 1500}, -1));
  AddControl("STATIC", "Text:", kLabel, {240, 1830, 600, 240}, -1);
  HWND message = AddControl("EDIT", "", kEdit, {900, 1770, 4620, 300}, kMessage, kHelpTopic,
                            WS_EX_CLIENTEDGE);
  view_.AddTextBox({Control::TxtMessage, 0}, message);
  SendMessageW(message, EM_SETLIMITTEXT, 100, 0);
  AddControl("STATIC", "Font:", kLabel, {240, 2190, 600, 240}, -1);
  HWND fonts = AddControl("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS,
                          {900, 2130, 3000, 3000}, kFont, kHelpTopic);
  for (const std::string& name : model_.Fonts()) {
    SendMessageW(fonts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
  }
  AddControl("STATIC", "Size:", kLabel, {4020, 2190, 480, 240}, -1);
  box(4, {4500, 2130, 540, 300}, true);
  AddControl("STATIC", "Message display hue (0 - 359):", kLabel, {240, 2610, 3480, 240}, -1);
  box(5, {3840, 2550, 660, 300}, true);

  frames.push_back(AddControl("BUTTON", "Display Properties", kFrame, {120, 3120, 5520, 1350}, -1));
  HWND mouse = AddControl("BUTTON", "Ignore mouse moves when running as a screen saver",
                          BS_AUTOCHECKBOX | WS_TABSTOP | WS_CLIPSIBLINGS, {240, 3420, 5280, 270},
                          kMouseMove, kHelpTopic);
  HWND resize = AddControl("BUTTON", "Window can be resized (EXE version only)",
                           BS_AUTOCHECKBOX | WS_TABSTOP | WS_CLIPSIBLINGS, {240, 3750, 5280, 270},
                           kResize, kHelpTopic);
  view_.AddCheck({Control::ChkMouseM, 0}, mouse);
  view_.AddCheck({Control::ChkResize, 0}, resize);
  HWND sound = AddControl("BUTTON", "Sound effects", BS_AUTOCHECKBOX | WS_TABSTOP | WS_CLIPSIBLINGS,
                          {240, 4080, 5280, 270}, kSound, kHelpTopic);
  view_.AddCheck({Control::ChkSound, 0}, sound);

  AddControl("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS, {5820, 120, 1260, 360}, kOk);
  AddControl("BUTTON", "Cancel", kButton, {5820, 540, 1260, 360}, kDismiss);
  AddControl("BUTTON", "&Defaults", kButton, {5820, 960, 1260, 360}, kDefaults);
  AddControl("BUTTON", "&Help", kButton, {5820, 1380, 1260, 360}, kHelp);
  for (HWND frame : frames) {
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void AdvancedDialog::OnCreate() {
  LoadWindowPlacement(program_, Handle(), kPlacementSection);
  CreateControls();
  SendMessageW(Handle(), DM_SETDEFID, AdvancedIds::kOk, 0);
  model_.Open();
  ShowChosenFont();
}

void AdvancedDialog::ShowChosenFont() {
  HWND list = Item(AdvancedIds::kFont);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(model_.FontIndex()), 0);
  LOGFONTW look{};
  if (Font()) GetObjectW(Font(), sizeof look, &look);
  look.lfWeight = FW_NORMAL;
  look.lfItalic = look.lfUnderline = look.lfStrikeOut = FALSE;
  const std::wstring name = Widen(model_.FontName());
  std::wcsncpy(look.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  look.lfFaceName[LF_FACESIZE - 1] = L'\0';
  FontHandle font(CreateFontIndirectW(&look));
  HWND message = Item(AdvancedIds::kMessage);
  SendMessageW(message, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  messageFont_ = std::move(font);  // the old font goes only once the box no longer uses it
}

// --- commands ---

void AdvancedDialog::OnCommand(int id, int code, HWND control) {
  using namespace AdvancedIds;
  if (control && view_.HandleCommand(MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control))) {
    return;
  }
  switch (id) {
    case kOk:
    case IDOK:
      Ok();
      return;
    case kDismiss:
    case IDCANCEL:
      Destroy();
      return;
    case kDefaults:
      Defaults();
      return;
    case kHelp:
      OnHelpKey(control, kHelpTopic);
      return;
    case kFont:
      if (code == CBN_SELCHANGE) {
        model_.ChooseFont(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
        ShowChosenFont();
      }
      return;
    default:
      return;
  }
}

INT_PTR AdvancedDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_VSCROLL:
      handled = view_.HandleScroll(wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = view_.HandleColor(reinterpret_cast<HDC>(wParam),
                                           reinterpret_cast<HWND>(lParam))) {
        handled = true;
        return reinterpret_cast<INT_PTR>(brush);
      }
      return 0;
    default:
      return 0;
  }
}

void AdvancedDialog::Ok() {
  if (!IsOpen()) return;
  // The box being edited is normalised by its focus loss before anything is written.
  SetFocus(Item(AdvancedIds::kOk));
  PumpPendingMessages();
  if (!IsOpen()) return;
  model_.Ok();
  Destroy();
}

void AdvancedDialog::Defaults() {
  model_.Defaults();
  ShowChosenFont();
}

// --- help and closing ---

void AdvancedDialog::OnHelpKey(HWND, int) {
  if (help_) help_(Handle(), {program_.Run.HelpFileName, kHelpContext, kHelpTopic});
}

void AdvancedDialog::OnDestroy() { SaveWindowPlacement(program_, Handle(), kPlacementSection); }

// --- entry ---

void ShowAdvancedDialog(Program& program, HWND owner) {
  AdvancedDialog dialog(program, ScreenFonts(), &OpenHelpPage);
  if (!dialog.Open(owner)) return;
  dialog.RunUntilClosed(owner);
}

}  // namespace glintora
