// Stand-in for the preview: a black child filling the host's client area; it ends with the host.
#include "platform/win32/display_windows.h"
#include "platform/win32/standin_window.h"

namespace glintora {

bool OpenPreviewWindow(Program& program) {
  HWND host = reinterpret_cast<HWND>(static_cast<INT_PTR>(program.Run.PreviewHostWindow));
  if (!host || !IsWindow(host)) return false;  // nothing to draw in: end at once
  RECT client{};
  GetClientRect(host, &client);
  StandInSpec spec;
  spec.Caption = "KRYX:Preview Glintora Fireworks 1.0";
  spec.Style = WS_CHILD | WS_VISIBLE;
  spec.Parent = host;
  spec.X = 0;
  spec.Y = 0;
  spec.Width = client.right - client.left;
  spec.Height = client.bottom - client.top;
  spec.WatchedHost = host;
  return CreateStandInWindow(program.Instance, spec) != nullptr;
}

}  // namespace glintora
