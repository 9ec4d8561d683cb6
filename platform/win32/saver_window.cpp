// Sections: the window object; input; the window procedure; set-up and the run loop.
#include "platform/win32/saver_window.h"

#include <windowsx.h>

#include "platform/win32/blank_cursor.h"
#include "platform/win32/display_windows.h"
#include "platform/win32/show_runner.h"
#include "platform/win32/splash_window.h"
#include "platform/win32/system_services.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/window_class.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "startup/launch_decision.h"
#include "display/saver_input.h"

namespace glintora {

double SecondsOfDay() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

namespace {

constexpr char kSaverClass[] = "GlintoraSaver";

// --- The window object ---

struct SaverWindow {
  Program& Owner;
  Win32Host Host;
  SaverInput Input{false};
  HWND Window = nullptr;
  POINT LastMouse{-1, -1};
  bool Closed = false;

  explicit SaverWindow(Program& owner) : Owner(owner), Host(owner.Run) {}

  // --- Input ---

  // The close request: the show stops unless the password check says no.
  void RequestClose() {
    if (Closed) return;
    Owner.Run.StopRequested = true;
    if (!VerifySaverPassword(Window)) {
      Owner.Run.StopRequested = false;
      return;
    }
    // Closed: the show ends at its next check and the process with it, which takes the window
    // away at once (tearing it down first only delays the end).
    OnClosed();
  }

  void OnMouseMove(LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The system repeats a move at the same place (a window appearing under the cursor, a
    // cursor re-shown); only a change of position is the user moving the mouse.
    if (at.x == LastMouse.x && at.y == LastMouse.y) return;
    LastMouse = at;
    if (Input.OnMouseMove(SecondsOfDay())) RequestClose();
  }

  void OnClosed() {
    if (Closed) return;
    Closed = true;
    SetSaverRunning(false);
    Host.Detach();  // CurrentSurface := none
  }
};

// --- The window procedure ---

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* saver = WindowObject<SaverWindow>(window, message, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      if (saver) saver->RequestClose();
      return 0;
    case WM_MOUSEMOVE:
      if (saver) saver->OnMouseMove(lParam);
      return 0;
    case WM_CLOSE:
      if (saver) saver->RequestClose();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(BlankCursor(saver ? saver->Owner.Instance : nullptr));
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // painted whole from the surface, or black
    case WM_PAINT:
      PaintFromHostOrBlack(window);
      return 0;
    case WM_DESTROY:
      if (saver) {
        saver->Owner.Run.StopRequested = true;
        saver->OnClosed();
        saver->Window = nullptr;
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterSaver(HINSTANCE instance) {
  return RegisterWindowClass(instance, {kSaverClass, SaverProc, BlankCursor(instance),
                                        LoadIconA(instance, MAKEINTRESOURCEA(1)), CS_DBLCLKS});
}

}  // namespace

// --- Set-up and the run loop ---

bool OpenSaverWindow(Program& program) {
  if (!RegisterSaver(program.Instance)) return false;
  SaverWindow saver(program);
  // The flag holds from the first message: a jittery mouse during the splash is no burst either.
  const bool ignoreMoves =
      IgnoresMouseMoves(RegReadText(program.Store, kSectionAdvanced, "Adv_MouseMove", "0").c_str());
  saver.Input = SaverInput(ignoreMoves);

  // Every monitor, not only the primary one; the program is DPI aware, so these are pixels.
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
  }
  saver.Window =
      CreateWindowExA(WS_EX_TOPMOST, kSaverClass, kSaverCaption, WS_POPUP | WS_CLIPCHILDREN, left,
                      top, width, height, nullptr, nullptr, program.Instance, &saver);
  if (!saver.Window) return false;
  // A move reported where the cursor already is, is not a move.
  if (GetCursorPos(&saver.LastMouse)) ScreenToClient(saver.Window, &saver.LastMouse);

  ShowWindow(saver.Window, SW_SHOW);
  UpdateWindow(saver.Window);
  SetForegroundWindow(saver.Window);
  ShowSplashModal(program.Instance, saver.Window, &saver.Closed);
  if (!saver.Closed) {
    MakeTopmost(saver.Window);
    SetForegroundWindow(saver.Window);
    SetFocus(saver.Window);
    saver.Host.Attach(saver.Window, true);

    RunState& run = program.Run;
    run.StopRequested = false;
    saver.Input = SaverInput(ignoreMoves);  // the show starts counting afresh
    PrepareShows(program, saver.Host, ShowSurfaceOptions{});
    RunShowsOn(program, saver.Host);
  }
  saver.OnClosed();
  program.Engine.Host = nullptr;
  program.Engine.Surface = nullptr;
  return false;  // the window is gone: the process ends
}

}  // namespace glintora
