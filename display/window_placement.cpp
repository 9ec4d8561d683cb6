#include "display/window_placement.h"

#include <cmath>
#include <cstdio>

#include "settings/numbers.h"

namespace glintora {

namespace {

constexpr double kFieldMax = 99999;

long FieldValue(double value) {
  if (!std::isfinite(value) || value < 0) return 0;
  const double rounded = std::nearbyint(value);
  return static_cast<long>(rounded > kFieldMax ? kFieldMax : rounded);
}

std::int32_t ReadField(std::string_view text, std::size_t start) {
  if (start >= text.size()) return 0;
  const double value = LeadingNumber(text.substr(start, 5));
  const auto rounded = RoundToInt32(value);
  return rounded ? *rounded : 0;
}

}  // namespace

std::string WindowStateText(bool maximised) { return maximised ? "2" : "0"; }

std::string FormatWindowSize(double left, double top, double width, double height) {
  char text[32];
  std::snprintf(text, sizeof text, "%05ld%05ld%05ld%05ld", FieldValue(left), FieldValue(top),
                FieldValue(width), FieldValue(height));
  return text;
}

std::optional<WindowGeometry> ParseWindowSize(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  WindowGeometry geometry;
  geometry.Left = ReadField(text, 0);
  geometry.Top = ReadField(text, 5);
  geometry.Width = ReadField(text, 10);
  geometry.Height = ReadField(text, 15);
  return geometry;
}

std::optional<int> ParseWindowState(std::int16_t stored) {
  if (stored < 0 || stored > 2) return std::nullopt;
  return stored;
}

}  // namespace glintora
