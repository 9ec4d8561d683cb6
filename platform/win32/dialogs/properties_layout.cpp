// The properties dialog's controls and menus, at their places in twips.
// Sections: geometry | colour frames | preview frame and buttons | firework frame | pages | menus

#include <string>

#include "platform/win32/dialogs/properties_dialog.h"
#include "platform/win32/web_page.h"
#include "platform/win32/win32_host.h"
#include "settings/themes.h"

namespace glintora {

namespace {

// --- geometry (twips) ---

constexpr TwipsRect kFraColor{60, 60, 4635, 630};
constexpr TwipsRect kFraPixCol{60, 720, 4635, 1350};
constexpr TwipsRect kFraPreview{60, 2100, 4650, 3825};
constexpr TwipsRect kFraAni{4800, 60, 4080, 6250};
constexpr TwipsRect kPage{120, 3900, 3840, 2220};  // in kFraAni

constexpr int kMainRowTop = 240, kRowStep = 360;
constexpr int kMainFieldLeft = 3060;  // whole fields 660 wide, decimals 852; spinners after 660
constexpr int kPageFieldLeft = 3840 - 120 - 732;
constexpr int kFieldHeight = 300, kSpinnerWidth = 192, kLabelHeight = 240;
constexpr int kListDrop = 3000;  // a pick list's height with its list dropped

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP | SS_NOTIFY | WS_CLIPSIBLINGS;
constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | WS_CLIPSIBLINGS;
constexpr DWORD kSpinner = SBS_VERT | WS_CLIPSIBLINGS;
constexpr DWORD kFrame = BS_GROUPBOX | WS_CLIPSIBLINGS;
constexpr DWORD kList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS;

const char* const kExtrasNames[9] = {
    "Launch",
    "Pixel Dispersion Pattern",
    "Burst Config:  Multi-Burst",
    "Burst Config:  Jet-Burst",
    "Burst Config:  Scintillators",
    "Burst Config:  Sparklers",
    "Burst Config:  Rings",
    "Burst Config:  Twisters",
    "Burst Config:  Decaying Stars",
};

}  // namespace

void PropertiesDialog::CreateControls() {
  using namespace PropsIds;
  std::vector<HWND> frames;

  // --- colour frames ---
  frames.push_back(AddControl("BUTTON", "Red, Green, Blue Hue Mix (0 - 100)", kFrame, kFraColor, -1));
  static const int kHueLeft[3] = {120, 1620, 3120};
  static const int kHueHelp[3] = {210, 220, 230};
  for (int i = 0; i < 3; ++i) {
    const int x = kFraColor.Left + kHueLeft[i], y = kFraColor.Top + 240;
    HWND field = AddControl("EDIT", "", kEdit, {x, y, 600, kFieldHeight}, kPixHueBase + i,
                            kHueHelp[i], WS_EX_CLIENTEDGE);
    HWND spin = AddControl("SCROLLBAR", "", kSpinner, {x + 600, y, kSpinnerWidth, kFieldHeight},
                           kPixHueSpinBase + i, kHueHelp[i]);
    HWND swatch = AddControl("STATIC", "", SS_SUNKEN | SS_NOTIFY | WS_CLIPSIBLINGS,
                             {x + 840, y, 540, kFieldHeight}, kSwatchBase + i, kHueHelp[i]);
    view_.AddTextBox({Control::TxtPixHue, i}, field);
    view_.AddSpinner({Control::SpnPixHue, i}, spin);
    view_.AddSwatch({Control::PicPixHue, i}, swatch);
  }
  frames.push_back(AddControl("BUTTON", "Pixel Color Distribution", kFrame, kFraPixCol, -1));
  static const char* const kPixColCaptions[3] = {"Variable Hue Wheel Intensity % (0 - 100):",
                                                 "Variable Hue Wheel % (0 - 100):",
                                                 "Hue Wheel Wedge Angle (0 - 360):"};
  static const int kPixColHelp[3] = {250, 260, 265};
  for (int i = 0; i < 3; ++i) {
    const int y = kFraPixCol.Top + 240 + 360 * i;
    AddControl("STATIC", kPixColCaptions[i], kLabel, {kFraPixCol.Left + 120, y + 30, 3420, kLabelHeight},
               -1, kPixColHelp[i]);
    HWND field = AddControl("EDIT", "", kEdit, {kFraPixCol.Left + 3600, y, 732, kFieldHeight},
                            kPixColBase + i, kPixColHelp[i], WS_EX_CLIENTEDGE);
    HWND spin = AddControl("SCROLLBAR", "", kSpinner,
                           {kFraPixCol.Left + 4320, y, kSpinnerWidth, kFieldHeight},
                           kPixColSpinBase + i, kPixColHelp[i]);
    view_.AddTextBox({Control::TxtPixCol, i}, field);
    view_.AddSpinner({Control::SpnPixCol, i}, spin);
  }

  // --- preview frame and buttons ---
  frames.push_back(AddControl("BUTTON", "", kFrame, kFraPreview, -1));
  AddControl("BUTTON", "Display Effects Preview", BS_PUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS,
             {kFraPreview.Left + 120, kFraPreview.Top, 4395, 300}, kDispPreview);
  {
    const RECT px = PixelRect({kFraPreview.Left + 120, kFraPreview.Top + 300, 4410, 3435},
                              TwipsX(), TwipsY());
    HWND picture = CreatePictureBox(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Handle(), GWLP_HINSTANCE)),
                                    Handle(), px.left, px.top, px.right - px.left,
                                    px.bottom - px.top, kPicture);
    SetHelpTopic(picture, 295);
  }
  AddControl("BUTTON", "&Accept Settings", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS,
             {60, 6000, 1572, 312}, kAccept, 620);
  AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS, {3840, 6000, 852, 312},
             kDismiss, 630);

  // --- firework frame ---
  frames.push_back(AddControl("BUTTON", "Fireworks Properties", kFrame, kFraAni, -1));
  int mainRow = 0;
  for (const FireFieldInfo& f : FireFields()) {
    if (f.page != -1) continue;
    const int y = kFraAni.Top + kMainRowTop + kRowStep * mainRow++;
    const int x = kFraAni.Left + kMainFieldLeft;
    AddControl("STATIC", f.caption, kLabel, {kFraAni.Left + 120, y + 30, kMainFieldLeft - 180, kLabelHeight},
               -1, f.help);
    HWND field = AddControl("EDIT", "", kEdit, {x, y, f.Decimal() ? 852 : 660, kFieldHeight},
                            kFireBase + f.box, f.help, WS_EX_CLIENTEDGE);
    view_.AddTextBox({Control::TxtFire, f.box}, field);
    if (f.hasSpinner) {
      HWND spin = AddControl("SCROLLBAR", "", kSpinner, {x + 660, y, kSpinnerWidth, kFieldHeight},
                             kFireSpinBase + f.box, f.help);
      view_.AddSpinner({Control::SpnFire, f.box}, spin);
    }
  }
  AddControl("STATIC", "Theme:", kLabel, {kFraAni.Left + 120, kFraAni.Top + 3570, 675, 240}, -1, 1080);
  HWND theme = AddControl("COMBOBOX", "", kList, {kFraAni.Left + 840, kFraAni.Top + 3510, 3135, kListDrop},
                          kTheme, 1080);
  for (int n = 0; n < kThemeListSize; ++n) {
    const std::string name(ThemeName(n));
    SendMessageA(theme, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }

  // --- pages ---
  const int pageLeft = kFraAni.Left + kPage.Left, pageTop = kFraAni.Top + kPage.Top;
  for (int page = 0; page < 9; ++page) {
    HWND frame = AddControl("BUTTON", "Extras:", kFrame, {pageLeft, pageTop, kPage.Width, kPage.Height},
                            kPageBase + page);
    pages_[page].push_back(frame);
    int y = pageTop + 360;
    for (const FireFieldInfo& f : FireFields()) {
      if (f.page != page) continue;
      if (f.box == 36) y += 120;  // the pattern share stands apart from the spline rows
      HWND label = AddControl("STATIC", f.caption, kLabel,
                              {pageLeft + 120, y + 30, kPageFieldLeft - 180, kLabelHeight}, -1, f.help);
      HWND field = AddControl("EDIT", "", kEdit, {pageLeft + kPageFieldLeft, y, 732, kFieldHeight},
                              kFireBase + f.box, f.help, WS_EX_CLIENTEDGE);
      view_.AddTextBox({Control::TxtFire, f.box}, field);
      pages_[page].push_back(label);
      pages_[page].push_back(field);
      y += kRowStep;
    }
    for (const CheckInfo& c : FireChecks()) {
      if (c.page != page) continue;
      const int id = c.control == Control::ChkMultiMom ? kMultiMom : kJetBurst;
      HWND check = AddControl("BUTTON", c.caption,
                              BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP | WS_CLIPSIBLINGS,
                              {pageLeft + 120, y, kPageFieldLeft + 240 - 120, kFieldHeight}, id, c.help);
      view_.AddCheck({c.control, 0}, check);
      pages_[page].push_back(check);
    }
  }
  HWND extras = AddControl("COMBOBOX", "", kList,
                           {kFraAni.Left + 840, kFraAni.Top + 3870, 3135, kListDrop}, kExtras, 1081);
  for (const char* name : kExtrasNames) {
    SendMessageA(extras, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }

  // Frames paint beneath everything they hold, the pages above the frame that holds them.
  for (const auto& page : pages_) {
    SetWindowPos(page.front(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (HWND frame : frames) {
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// --- menus ---

HMENU PropertiesDialog::CreateMenus() {
  using namespace PropsIds;
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kMenuFile + 0, "&Open Template...");
  AppendMenuA(file, MF_SEPARATOR, kMenuFile + 1, nullptr);
  AppendMenuA(file, MF_STRING, kMenuFile + 2, "&Save Template");
  AppendMenuA(file, MF_STRING, kMenuFile + 3, "Save Template &As...");
  AppendMenuA(file, MF_SEPARATOR, kMenuFile + 4, nullptr);
  AppendMenuA(file, MF_STRING, kMenuFile + 5, "E&xit");
  HMENU edit = CreatePopupMenu();
  AppendMenuA(edit, MF_STRING, kMenuEdit + 0, "&Reset Properties");
  SetMenuHelpTopic(kMenuEdit + 0, 610);
  AppendMenuA(edit, MF_SEPARATOR, kMenuEdit + 1, nullptr);
  AppendMenuA(edit, MF_STRING, kMenuEdit + 2, "&Advanced Settings...");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, kMenuHelp + 0, "&Contents...");
  AppendMenuA(help, MF_STRING, kMenuHelp + 1, "&Search...");
  AppendMenuA(help, MF_SEPARATOR, kMenuHelp + 2, nullptr);
  const std::string web = std::string(kMakerWebPage) + "...";
  AppendMenuA(help, MF_STRING, kMenuHelp + 3, web.c_str());
  AppendMenuA(help, MF_SEPARATOR, kMenuHelp + 4, nullptr);
  AppendMenuA(help, MF_STRING, kMenuHelp + 5, "&About Glintora Fireworks...");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  return bar;
}

}  // namespace glintora
