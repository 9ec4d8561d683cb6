#include "platform/win32/window_placement.h"

#include <cmath>

#include "settings/store_ops.h"
#include "windows/window_placement.h"

namespace glintora {

namespace {

int TwipsPer(std::int16_t factor) { return factor > 0 ? factor : 15; }

int ToPixels(std::int32_t twips, std::int16_t factor) {
  return static_cast<int>(std::nearbyint(static_cast<double>(twips) / TwipsPer(factor)));
}

}  // namespace

void SaveWindowPlacement(Store& store, const RunState& run, HWND window,
                         const std::string& section) {
  if (!IsWindow(window)) return;
  RegWriteText(store, section, kWindowStateKey, WindowStateText(IsZoomed(window) != FALSE));
  if (IsIconic(window)) return;
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return;
  const double tx = TwipsPer(run.TwipsPerPixelX);
  const double ty = TwipsPer(run.TwipsPerPixelY);
  RegWriteText(store, section, kWindowSizeKey,
               FormatWindowSize(rect.left * tx, rect.top * ty, (rect.right - rect.left) * tx,
                                (rect.bottom - rect.top) * ty));
}

void LoadWindowPlacement(Store& store, const RunState& run, HWND window,
                         const std::string& section) {
  if (!IsWindow(window)) return;
  const auto state = ParseWindowState(RegReadInt(store, section, kWindowStateKey, 0));
  if (state) {
    const int show = *state == 2 ? SW_MAXIMIZE : *state == 1 ? SW_MINIMIZE : SW_RESTORE;
    // A hidden window takes the state without being shown by it.
    if (IsWindowVisible(window)) {
      ShowWindow(window, show);
    } else {
      WINDOWPLACEMENT placement{};
      placement.length = sizeof placement;
      if (GetWindowPlacement(window, &placement)) {
        placement.showCmd = *state == 2 ? SW_SHOWMAXIMIZED
                                        : *state == 1 ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
        placement.flags = 0;
        SetWindowPlacement(window, &placement);
        ShowWindow(window, SW_HIDE);
      }
    }
  }
  const auto size = ParseWindowSize(RegReadText(store, section, kWindowSizeKey, ""));
  if (!size || !state || *state != 0) return;
  const int left = ToPixels(size->Left, run.TwipsPerPixelX);
  const int top = ToPixels(size->Top, run.TwipsPerPixelY);
  const bool sizable = (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!sizable) flags |= SWP_NOSIZE;
  SetWindowPos(window, nullptr, left, top, ToPixels(size->Width, run.TwipsPerPixelX),
               ToPixels(size->Height, run.TwipsPerPixelY), flags);
}

}  // namespace glintora
