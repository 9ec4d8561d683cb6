// Sections: the window object; input; the window procedure; RunApplication and the outer loop.
#include "platform/win32/application_window.h"

#include "platform/win32/blank_cursor.h"
#include "platform/win32/display_windows.h"
#include "platform/win32/show_runner.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_class.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "startup/launch_decision.h"

namespace glintora {

namespace {

constexpr char kApplicationClass[] = "GlintoraApplication";

// --- The window object ---

// A fresh run replaces the one that is going: the handlers only raise Restart or Ending and
// stop the show; the outer loop then starts the next run or ends the program. Runs never nest.
struct ApplicationWindow {
  Program& Owner;
  Win32Host Host;
  HWND Window = nullptr;
  bool Resizable = false;
  bool Restart = false;
  bool Ending = false;
  bool ShowRunning = false;
  bool AltAlone = false;  // Alt is down and no other key has come with it
  int ShowWidth = 0;
  int ShowHeight = 0;

  explicit ApplicationWindow(Program& owner) : Owner(owner), Host(owner.Run) {}

  void SavePlacement() { SaveWindowPlacement(Owner, Window, kApplicationPlacementSection); }

  void RestartShow() {
    Restart = true;
    Owner.Run.StopRequested = true;
  }

  void EndApplication() {
    // The placement is taken at the close command: the window may still change state as it
    // goes (a window manager restoring it), and it reopens as the user closed it.
    if (!Ending) SavePlacement();
    Ending = true;
    Restart = false;
    Host.Detach();  // CurrentSurface := none
    Owner.Run.StopRequested = true;
  }

  // --- Input ---

  void ShowProperties() {
    SavePlacement();
    ShowPropertiesOverApplication(Owner, Window);
    // The dialog's preview drew elsewhere with its own settings; the fresh run sets them again.
    Owner.Engine.Host = &Host;
    Owner.Engine.Surface = &Host.Surface();
    Host.ClearMessage();
    if (Owner.Run.QuitRequested) {
      EndApplication();
    } else {
      RestartShow();
    }
  }

  void OnKey(WPARAM key) {
    AltAlone = false;
    if (Ending) return;
    if (key == VK_ESCAPE) {
      EndApplication();
    } else if (key == VK_F5) {
      SavePlacement();
      RestartShow();
    } else {
      ShowProperties();
    }
  }

  void OnSize() {
    Host.FollowClientSize();
    if (Ending) return;
    // A fresh run reads the placement back, so it is saved first: else the window would snap
    // back to the size it had before, and a maximised one would be restored.
    if (Resizable) SavePlacement();
    // A show keeps the geometry it started with; a new size starts a show that fits it.
    if (ShowRunning && (Host.Surface().Width != ShowWidth || Host.Surface().Height != ShowHeight))
      RestartShow();
  }
};

// --- The window procedure ---

LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* app = WindowObject<ApplicationWindow>(window, message, lParam);
  switch (message) {
    case WM_KEYDOWN:
      if (app) app->OnKey(wParam);
      return 0;
    case WM_SYSKEYDOWN:
      // Alt and F10 are keys like any other here, not the way into the system menu. Alt comes
      // down first on its own, so it counts only when released alone: Alt+F4 stays the
      // system's close command.
      if (wParam == VK_MENU) {
        if (app) app->AltAlone = true;
        return 0;
      }
      if (app) app->AltAlone = false;
      if (wParam == VK_F4 && (lParam & (1L << 29))) break;
      if (app) app->OnKey(wParam);
      return 0;
    case WM_SYSKEYUP:
    case WM_KEYUP:
      if (app && wParam == VK_MENU && app->AltAlone) app->OnKey(VK_MENU);
      return 0;
    case WM_SYSCHAR:
      return 0;
    case WM_KILLFOCUS:
      // Alt+Tab: the release comes to another window, and one released here after switching
      // back was never pressed here.
      if (app) app->AltAlone = false;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      if (app) app->AltAlone = false;
      if (app && !app->Ending) app->ShowProperties();
      return 0;
    case WM_SIZE:
      if (app && wParam != SIZE_MINIMIZED) app->OnSize();
      return 0;
    case WM_CLOSE:
      // The system's close command ends the program as Esc does; the window goes with the
      // process.
      if (app) app->EndApplication();
      return 0;
    case WM_QUERYENDSESSION:
      // The system may end the process as soon as any window of it has answered the session's
      // end: the placement is written before agreeing.
      if (app && !app->Ending) app->SavePlacement();
      return TRUE;
    case WM_ENDSESSION:
      // Shutdown or log-off closes the window as the close command does; the system may end
      // the process as soon as this returns, so the placement is written now.
      if (app && wParam) app->EndApplication();
      return 0;
    case WM_SETCURSOR:
      if (app && !app->Resizable && LOWORD(lParam) == HTCLIENT) {
        SetCursor(BlankCursor(app->Owner.Instance));
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintFromHostOrBlack(window);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterApplication(HINSTANCE instance) {
  return RegisterWindowClass(instance, {kApplicationClass, ApplicationProc, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
                                        LoadIconA(instance, MAKEINTRESOURCEA(1)), CS_DBLCLKS});
}

// --- RunApplication and the outer loop ---

void RunApplication(ApplicationWindow& app) {
  Program& program = app.Owner;
  program.Run.StopRequested = false;
  app.Resizable =
      RegReadText(program.Store, kSectionAdvanced, "Adv_WinResize", "0") == "1";
  if (app.Resizable) {
    SetWindowTextA(app.Window, kSaverCaption);
    const int show = LoadWindowPlacement(program, app.Window, kApplicationPlacementSection);
    if (!IsWindowVisible(app.Window)) ShowWindow(app.Window, show);
  } else {
    SetWindowTextA(app.Window, "");
    ShowWindow(app.Window, SW_SHOWMAXIMIZED);
  }
  // The cursor follows the mode at once, not only at the next move.
  POINT cursor;
  if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == app.Window)
    SendMessageA(app.Window, WM_SETCURSOR, reinterpret_cast<WPARAM>(app.Window), HTCLIENT);
  SetForegroundWindow(app.Window);
  UpdateWindow(app.Window);

  if (app.Host.Window() != app.Window) {
    app.Host.Attach(app.Window, true);
  } else {
    app.Host.FollowClientSize();
  }
  PrepareShows(program, app.Host, ShowSurfaceOptions{});
  app.ShowWidth = app.Host.Surface().Width;
  app.ShowHeight = app.Host.Surface().Height;
  app.ShowRunning = true;
  RunShowsOn(program, app.Host);
  app.ShowRunning = false;
}

}  // namespace

bool OpenApplicationWindow(Program& program) {
  if (!RegisterApplication(program.Instance)) return false;
  ApplicationWindow app(program);
  app.Window = CreateWindowExA(0, kApplicationClass, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               program.Instance, &app);
  if (!app.Window) return false;
  do {
    app.Restart = false;
    RunApplication(app);
  } while (app.Restart && !app.Ending && !app.Host.QuitSeen());

  if (!app.Ending) app.SavePlacement();
  program.Engine.Host = nullptr;
  program.Engine.Surface = nullptr;
  app.Host.Detach();
  // The program ends at once; its window goes with the process.
  return false;
}

}  // namespace glintora
