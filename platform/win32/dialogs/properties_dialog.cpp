// Sections: creation and load | commands | themes and pages | preview | accept, cancel, exit |
// reset and templates | help and closing
#include "platform/win32/dialogs/properties_dialog.h"

#include <cstring>

#include "dialogs/dialog_preview.h"
#include "dialogs/template_dialog.h"
#include "engine/show.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/wave_out_sound.h"
#include "platform/win32/win32_host.h"
#include "settings/loaders.h"
#include "settings/store_ops.h"
#include "dialogs/theme_fields.h"
#include "dialogs/transfers.h"

namespace glintora {

namespace {

constexpr char kPlacementSection[] = "General\\Main";
constexpr char kResetQuestion[] =
    "Do you really want to reset the Properties back to the factory settings?";
constexpr char kPreviewCaption[] = "Display Effects Preview";
constexpr char kStopCaption[] = "Stop Preview";

bool IsFrame(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return _stricmp(name, "Button") == 0 &&
         (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsStatic(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return _stricmp(name, "Static") == 0;
}

}  // namespace

// --- creation and load ---

PropertiesDialog::PropertiesDialog(Program& program, PropsServices services)
    : program_(program), services_(std::move(services)), model_(view_) {
  view_.SetListener(&model_);
}

PropertiesDialog::~PropertiesDialog() {
  // The view's subclass must not outlive the model it calls.
  view_.SetListener(nullptr);
}

bool PropertiesDialog::Open(HWND owner) {
  return OpenDialogFrame(program_.Instance, owner, kPropertiesTitle, 8940, 6390, CreateMenus(),
                         program_.Run.TwipsPerPixelX, program_.Run.TwipsPerPixelY);
}

void PropertiesDialog::OnCreate() {
  menu_ = GetMenu(Handle());
  CreateControls();
  SendMessageA(Handle(), DM_SETDEFID, PropsIds::kAccept, 0);
  LoadWindowPlacement(program_, Handle(), kPlacementSection);

  SendMessageA(Item(PropsIds::kTheme), CB_SETCURSEL, 0, 0);
  ChooseTheme(0);
  SendMessageA(Item(PropsIds::kExtras), CB_SETCURSEL, 0, 0);
  ShowPage(0);

  model_.Link();
  OpenPropsFromStore(view_, program_.Store);
}

// --- commands ---

void PropertiesDialog::OnCommand(int id, int code, HWND control) {
  using namespace PropsIds;
  if (control && view_.HandleCommand(MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control))) {
    return;
  }
  switch (id) {
    case IDCANCEL:  // Esc: the cancel button is the preview's while it runs
      if (previewRunning_) {
        SetPreviewRunning(false);
      } else {
        Cancel();
      }
      return;
    case kAccept:
      Accept();
      return;
    case kDismiss:
      Cancel();
      return;
    case kDispPreview:
      if (code == BN_CLICKED) SetPreviewRunning(!previewRunning_);
      return;
    case kTheme:
      if (code == CBN_SELCHANGE) {
        ChooseTheme(static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0)));
      }
      return;
    case kExtras:
      if (code == CBN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0)));
      }
      return;
    case kMenuFile + 0: OpenTemplate(); return;
    case kMenuFile + 2: SaveTemplate(); return;
    case kMenuFile + 3: SaveTemplateAs(); return;
    case kMenuFile + 5: Exit(); return;
    case kMenuEdit + 0: ResetProperties(); return;
    case kMenuEdit + 2:
      if (services_.ShowAdvanced) services_.ShowAdvanced(Handle());
      return;
    case kMenuHelp + 0:
      Help({program_.Run.HelpFileName, kHelpContents, 0});
      return;
    case kMenuHelp + 1:
      Help({program_.Run.HelpFileName, kHelpFinder, 0});
      return;
    case kMenuHelp + 3:
      if (services_.OpenWebPage) services_.OpenWebPage(Handle());
      return;
    case kMenuHelp + 5:
      if (services_.ShowAbout) services_.ShowAbout(Handle());
      return;
    default:
      return;
  }
}

INT_PTR PropertiesDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_VSCROLL:
      handled = view_.HandleScroll(wParam, lParam);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (HBRUSH brush = view_.HandleColor(reinterpret_cast<HDC>(wParam),
                                           reinterpret_cast<HWND>(lParam))) {
        handled = true;
        return reinterpret_cast<INT_PTR>(brush);
      }
      return 0;
    case WM_PAINT: {
      // The etched line under the menu bar.
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      RECT client;
      GetClientRect(Handle(), &client);
      RECT dark{0, 0, client.right, 1}, light{0, 1, client.right, 2};
      FillRect(dc, &dark, GetSysColorBrush(COLOR_BTNSHADOW));
      FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
      EndPaint(Handle(), &paint);
      handled = true;
      return TRUE;
    }
    case WM_QUERYENDSESSION:
      // Shutdown or log-off: a running preview must end, and the process may end as soon as any
      // window of it has answered the session's end, so the place is written before agreeing.
      program_.Run.ShowInterrupted = true;
      SaveClosingState();
      return 0;
    case WM_ENDSESSION:
      // The dialog closes as from its close box, but after the answer: tearing windows down
      // waits on the display, and a loaded system must not wait for the answer. What closing
      // writes is written now.
      if (wParam) {
        SaveClosingState();
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
      }
      return 0;
    default:
      return 0;
  }
}

// --- themes and pages ---

void PropertiesDialog::ChooseTheme(int position) { glintora::ChooseTheme(view_, position); }

void PropertiesDialog::ShowPage(int page) {
  for (int i = 0; i < 9; ++i) {
    for (HWND control : pages_[i]) {
      ShowWindow(control, i == page ? SW_SHOWNA : SW_HIDE);
      if (control == pages_[i].front()) EnableWindow(control, i == page);
    }
  }
  // The extras list stands on the page frame's top edge, in front of it.
  SetWindowPos(Item(PropsIds::kExtras), HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// --- preview ---

void PropertiesDialog::SetPreviewRunning(bool running) {
  RunState& run = program_.Run;
  run.StopRequested = false;
  HWND button = Item(PropsIds::kDispPreview);
  if (running) SetFocus(button);  // so Esc reaches the dialog once the fields are disabled
  EnableForPreview(running, button);
  SetWindowTextA(button, running ? kStopCaption : kPreviewCaption);
  previewRunning_ = running;
  if (!running) {
    run.ShowInterrupted = true;
    return;
  }
  run.ShowInterrupted = false;
  RunEffectsPreview();
  // The show may also end without a stop click (the program is quitting): leave preview mode.
  if (previewRunning_ && IsOpen()) {
    previewRunning_ = false;
    EnableForPreview(false, button);
    SetWindowTextA(button, kPreviewCaption);
  }
  if (closeAfterPreview_) Destroy();
}

void PropertiesDialog::EnableForPreview(bool running, HWND kept) {
  for (HWND control = GetWindow(Handle(), GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT)) {
    const bool label = IsStatic(control) && !view_.Find(control);
    const bool enabled = control == kept || IsFrame(control) || label || !running;
    EnableWindow(control, enabled ? TRUE : FALSE);
  }
  for (UINT position = 0; position < 3; ++position) {
    EnableMenuItem(menu_, position, MF_BYPOSITION | (running ? MF_GRAYED : MF_ENABLED));
  }
  DrawMenuBar(Handle());
}

void PropertiesDialog::RunEffectsPreview() {
  SettingsRecord& settings = program_.Settings;
  EngineRecord& engine = program_.Engine;
  RunState& run = program_.Run;

  HWND picture = Item(PropsIds::kPicture);
  if (!previewHost_) previewHost_ = std::make_unique<Win32Host>(run);
  if (!previewHost_->Attach(picture, false)) return;
  const Framebuffer& surface = previewHost_->Surface();
  PreparePreviewView(program_.Store, settings, static_cast<double>(surface.Width) * run.TwipsPerPixelX,
                     static_cast<double>(surface.Height) * run.TwipsPerPixelY, run);
  engine.Host = previewHost_.get();
  engine.Surface = &previewHost_->Surface();
  PrepareSurface(engine);
  engine.Rng.Seed(GetTickCount());
  ReadPreviewColors(view_, settings);

  {
    const bool soundOn = RegReadText(program_.Store, "SoundFX", "SoundFX_ON", "0") == "1";
    ShowSound sound(engine, soundOn, settings.Adv_TimeDelay);
    RunDialogPreview(view_, engine, settings, run);
  }

  // The picture keeps showing the last frame; the engine no longer draws on it.
  engine.Host = nullptr;
  engine.Surface = nullptr;
}

// --- accept, cancel, exit ---

void PropertiesDialog::Accept() {
  if (previewRunning_ || !IsOpen()) return;
  // The field being edited loses the focus and is clamped before anything is stored.
  SetFocus(Item(PropsIds::kAccept));
  PumpPendingMessages();
  if (!IsOpen()) return;
  SavePropsToStore(view_, program_.Store);
  accepted_ = true;
  Destroy();
}

void PropertiesDialog::Cancel() {
  if (previewRunning_) return;
  Destroy();
}

void PropertiesDialog::Exit() {
  if (previewRunning_) return;
  program_.Run.QuitRequested = true;
  Destroy();
}

// --- reset and templates ---

void PropertiesDialog::ResetProperties() {
  if (services_.AskYesNo && services_.AskYesNo(Handle(), kResetQuestion, kPropertiesTitle)) {
    ResetPropsToFactory(view_, program_.Store);
  }
}

void PropertiesDialog::OpenTemplate() {
  if (!services_.ChooseTemplate) return;
  const std::string path =
      services_.ChooseTemplate(Handle(), true, kOpenTemplateTitle, kTemplateTypes);
  if (path.empty()) return;
  program_.TemplateFiles.CurrentTemplatePath = path;
  LoadTemplateFile(view_, program_.Store, program_.TemplateFiles);
}

void PropertiesDialog::SaveTemplateWithDialog() {
  if (!services_.ChooseTemplate) return;
  const std::string path =
      services_.ChooseTemplate(Handle(), false, kSaveTemplateTitle, kTemplateTypes);
  if (path.empty()) return;
  program_.TemplateFiles.CurrentTemplatePath = path;
  SaveTemplate();
}

void PropertiesDialog::SaveTemplate() {
  if (program_.TemplateFiles.CurrentTemplatePath.empty()) {
    SaveTemplateWithDialog();
    return;
  }
  std::string reason;
  if (SaveTemplateFile(view_, program_.Store, program_.TemplateFiles, reason)) return;
  if (services_.Warn) {
    services_.Warn(Handle(),
                   SaveFailedMessage(program_.TemplateFiles.CurrentTemplatePath, reason),
                   kPropertiesTitle);
  }
}

void PropertiesDialog::SaveTemplateAs() { SaveTemplateWithDialog(); }

// --- help and closing ---

void PropertiesDialog::Help(const HelpRequest& request) {
  if (services_.ShowHelp) services_.ShowHelp(Handle(), request);
}

void PropertiesDialog::OnHelpKey(HWND control, int topic) {
  (void)control;
  if (topic > 0) {
    Help({program_.Run.HelpFileName, kHelpContext, static_cast<DWORD>(topic)});
  } else {
    Help({program_.Run.HelpFileName, kHelpContents, 0});
  }
}

void PropertiesDialog::OnClose() {
  // Closed from outside the dialog's own code: a running show ends with it.
  program_.Run.ShowInterrupted = true;
  if (previewRunning_) {
    closeAfterPreview_ = true;  // the preview loop is below us on the stack
    return;
  }
  Destroy();
}

void PropertiesDialog::SaveClosingState() {
  SaveWindowPlacement(program_, Handle(), kPlacementSection);
  Help({program_.Run.HelpFileName, kHelpQuit, 0});
}

void PropertiesDialog::OnDestroy() {
  SaveClosingState();
  if (previewHost_) previewHost_->Detach();
}

}  // namespace glintora
