// The stored form of a window's placement: WindowState "0" or "2", and WindowSize, four fields
// of five digits (Left, Top, Width, Height in twips) with no separators. Portable: the windows
// of each platform measure and apply the geometry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glintora {

inline constexpr const char* kWindowStateKey = "WindowState";
inline constexpr const char* kWindowSizeKey = "WindowSize";

struct WindowGeometry {
  std::int32_t Left = 0;    // twips
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// "2" for a maximised window, "0" for anything else.
std::string WindowStateText(bool maximised);

// The twenty characters of WindowSize. Each value is rounded half to even and kept within
// 0..99999, so a field never widens past its five digits and shifts the ones after it (a window
// dragged off the left edge stores Left 0; a window wider than 99999 twips stores 99999).
std::string FormatWindowSize(double left, double top, double width, double height);

// WindowSize read back: the text trimmed of blanks; nothing when it is then empty. Each of the
// four five-character fields reads as its leading number (0 when it has none), so a short or
// damaged text gives zeros where its fields are missing.
std::optional<WindowGeometry> ParseWindowSize(std::string_view text);

// The stored WindowState as a window state: 0 normal, 1 minimised, 2 maximised; nothing for any
// other value, which leaves the window as it is.
std::optional<int> ParseWindowState(std::int16_t stored);

}  // namespace glintora
