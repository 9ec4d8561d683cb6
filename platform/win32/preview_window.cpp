// Sections: the preview's records; the box's replacement procedure; the preview run.
#include "platform/win32/preview_window.h"

#include <mmsystem.h>

#include "platform/win32/display_windows.h"
#include "platform/win32/show_runner.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/window_class.h"

namespace glintora {

namespace {

constexpr char kPreviewClass[] = "GlintoraPreview";
constexpr char kPreviewProperty[] = "GlintoraPreview";
constexpr int kPictureBoxId = 1;

// What the box's replacement procedure needs; it reaches it through a property of the box.
struct PreviewRecords {
  RunState* Run = nullptr;
  HWND Form = nullptr;           // frmPreview
  HWND Box = nullptr;            // PreviewBoxHandle
  WNDPROC SavedProc = nullptr;   // PreviewSavedProc
};

// --- The box's replacement procedure ---

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* records = static_cast<PreviewRecords*>(GetPropA(window, kPreviewProperty));
  if (!records) return DefWindowProcA(window, message, wParam, lParam);
  if (window == records->Box && message == WM_DESTROY) {
    // The host is closing and takes its children with it: take the box back, end the show.
    SetParent(records->Box, records->Form);
    records->Run->StopRequested = true;
    return 0;
  }
  return CallWindowProcA(records->SavedProc, window, message, wParam, lParam);
}

LRESULT CALLBACK PreviewFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterPreviewForm(HINSTANCE instance) {
  return RegisterWindowClass(instance, {kPreviewClass, PreviewFormProc});
}

}  // namespace

// --- The preview run ---

bool OpenPreviewWindow(Program& program) {
  RunState& run = program.Run;
  if (!program.SoundPlayed) {
    program.SoundPlayed = true;
    if (program.PlaySound)
      program.PlaySound(kPreviewSound);
    else  // no default sound in its place: a missing file leaves the preview silent
      sndPlaySoundA(kPreviewSound, SND_ASYNC | SND_NODEFAULT);
  }
  if (!RegisterPreviewForm(program.Instance)) return false;

  PreviewRecords records;
  records.Run = &run;
  records.Form = CreateWindowExA(WS_EX_TOOLWINDOW, kPreviewClass, kPreviewCaption, WS_POPUP, 0, 0,
                                 0, 0, nullptr, nullptr, program.Instance, nullptr);
  if (!records.Form) return false;
  records.Box = CreatePictureBox(program.Instance, records.Form, 0, 0, 0, 0, kPictureBoxId);
  if (!records.Box) {
    DestroyWindow(records.Form);
    return false;
  }
  SetPropA(records.Box, kPreviewProperty, &records);
  records.SavedProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      records.Box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviewWindowProc)));

  // The box fills the host's client area; a host that is no window gives an empty box, and the
  // first frame's check ends the show.
  HWND hostWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(run.PreviewHostWindow));
  RECT client{};
  const bool hostAlive = hostWindow && IsWindow(hostWindow) && GetClientRect(hostWindow, &client);
  MoveWindow(records.Box, 0, 0, client.right - client.left, client.bottom - client.top, FALSE);
  if (hostAlive) SetParent(records.Box, hostWindow);

  Win32Host host(run);
  host.Attach(records.Box, false);
  run.StopRequested = false;
  PrepareShows(program, host, ShowSurfaceOptions{true, false});
  RunShowsOn(program, host, /*withSound=*/false);  // the system's small preview stays silent

  // End at once: no further events. The box goes with the process; its procedure is put back
  // first so nothing reaches the records after this frame.
  program.Engine.Host = nullptr;
  program.Engine.Surface = nullptr;
  host.Detach();
  if (IsWindow(records.Box)) {
    SetWindowLongPtrA(records.Box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(records.SavedProc));
    RemovePropA(records.Box, kPreviewProperty);
  }
  return false;
}

}  // namespace glintora
