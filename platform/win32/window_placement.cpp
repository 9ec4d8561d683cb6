#include "platform/win32/window_placement.h"

#include <cmath>

#include "settings/store_ops.h"
#include "display/window_placement.h"

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

int LoadWindowPlacement(Store& store, const RunState& run, HWND window,
                        const std::string& section) {
  if (!IsWindow(window)) return SW_SHOW;
  const auto state = ParseWindowState(RegReadInt(store, section, kWindowStateKey, 0));
  const int show = !state ? SW_SHOW : *state == 2 ? SW_SHOWMAXIMIZED
                                    : *state == 1 ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
  // A hidden window keeps the state for its caller's first show: showing it here, even for a
  // moment, makes a dialog flicker.
  if (state && IsWindowVisible(window))
    ShowWindow(window, *state == 2 ? SW_MAXIMIZE : *state == 1 ? SW_MINIMIZE : SW_RESTORE);
  const auto size = ParseWindowSize(RegReadText(store, section, kWindowSizeKey, ""));
  if (!size || !state || *state != 0) return show;
  const int left = ToPixels(size->Left, run.TwipsPerPixelX);
  const int top = ToPixels(size->Top, run.TwipsPerPixelY);
  const bool sizable = (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!sizable) flags |= SWP_NOSIZE;
  SetWindowPos(window, nullptr, left, top, ToPixels(size->Width, run.TwipsPerPixelX),
               ToPixels(size->Height, run.TwipsPerPixelY), flags);
  return show;
}

}  // namespace glintora
