#include "settings/themes.h"

#include <array>

#include "settings/text.h"

namespace glintora {

namespace {

constexpr std::array<const char*, kThemeListSize> kNames = {
    "< NONE >",
    "Generic:  Random Mixed Bag",
    "Sparkles:  Scintillators Only",
    "Explosive:  Jet Bursts Only",
    "Starburst:  Scintillators, Jets, Decay Sparks",
    "Mega Shells:  Multi-Bursts Only",
    "Ring World:  Ring-Bursts Only",
    "Disk World:  Disk-Bursts Only",
    "Sky Loopers:  Twister-Bursts Only",
    "Stratosphere:  View High in the Sky",
    "Sphere Space:  Large Expanding Spheres",
    "String Space:  Spline Warping Madness",
    "Ground Burst:  Explosions from the Ground",
    "Grand Finale:  Looks great on a P300-MMX",
};

// Columns: shells, sparks, length, symmetry, speed, persistence, gravity, extent, damping |
// launch pct, pixels, radius, steps, persistence | spline pct, knots, pattern pct |
// multi pct, age, shells, momentum | jet pct, age, count, radius, shell | scint pct, style |
// sparkle pct, age, pixels | ring pct, rings, degrees | twist pct, count, degrees, radius, extent |
// decay pct, count, size, life
constexpr std::array<const char*, 13> kPresets = {
    "15, 800,  5,  1,   6,  0.96,  0.03, 3,  0.2,   100, 50,  1,  50, 0.86, 5,   7,  25, 20,  25, 10, 1, 10,  40, 6, 3, 1, 5,   9, 10, 30, 9, 10,  2, 5,  10,  10, 15, 3, 20, 10, 18, 800, 40, ",
    "14, 1400, 10, 1,   6,  0.96,  0.05, 3,  0.125, 75,  50,  1,  40, 0.75, 0,   10, 25, 0,   25, 10, 1, 0,   30, 6, 2, 0, 100, 9, 0,  30, 9, 0,   3, 5,  0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "8,  1000, 10, 1,   8,  0.96,  0.04, 3,  0.3,   100, 99,  1,  40, 0.9,  0,   10, 0,  0,   25, 10, 1, 100, 40, 6, 4, 0, 0,   9, 0,  30, 9, 0,   3, 5,  0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "12, 1200, 10, 1,   7,  0.96,  0.05, 3,  0.2,   100, 75,  1,  40, 0.85, 0,   10, 25, 0,   25, 10, 1, 34,  30, 6, 3, 0, 33,  9, 0,  30, 9, 0,   3, 5,  0,   20, 20, 1, 10, 33, 35, 800, 60, ",
    "12, 1000, 5,  1,   5,  0.96,  0.02, 4,  0.15,  100, 50,  1,  50, 0.85, 0,   10, 25, 100, 25, 10, 1, 0,   30, 6, 2, 0, 0,   9, 0,  30, 9, 0,   3, 5,  0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "7,  1400, 5,  1,   6,  0.98,  0.02, 3,  0.1,   100, 50,  1,  40, 0.9,  0,   10, 0,  0,   30, 12, 1, 0,   30, 6, 2, 0, 0,   9, 0,  30, 9, 100, 3, 0,  0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "5,  1800, 10, 0.5, 10, 0.98,  0.01, 4,  0.02,  100, 100, 1,  60, 0.92, 0,   10, 0,  0,   30, 12, 1, 0,   30, 6, 2, 0, 0,   9, 0,  30, 9, 100, 1, 10, 0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "10, 900,  8,  1,   8,  0.97,  0.02, 2,  0.1,   100, 50,  1,  40, 0.85, 0,   10, 0,  0,   30, 12, 1, 0,   30, 6, 2, 0, 0,   9, 0,  30, 9, 0,   3, 5,  100, 10, 20, 4, 25, 0,  16, 600, 40, ",
    "10, 1200, 4,  1,   7,  0.96,  0.0,  3,  0.12,  0,   75,  1,  40, 0.85, 10,  13, 35, 15,  25, 12, 1, 10,  30, 6, 6, 1, 5,   9, 10, 30, 9, 10,  3, 5,  10,  10, 15, 4, 25, 5,  25, 750, 80, ",
    "4,  2500, 7,  1,   4,  0.985, 0,    12, 0.02,  0,   75,  2,  50, 0.85, 0,   10, 0,  0,   25, 10, 1, 0,   30, 6, 2, 0, 0,   9, 0,  30, 9, 0,   3, 5,  0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "8,  1000, 5,  1,   3,  0.985, 0,    4,  0.01,  0,   50,  2,  40, 0.75, 100, 10, 0,  0,   25, 10, 1, 0,   30, 6, 2, 0, 0,   9, 0,  30, 9, 0,   3, 5,  0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "12, 800,  5,  1,   7,  0.96,  0.02, 3,  0.2,   100, 400, 20, 1,  0.92, 0,   10, 20, 0,   40, 10, 1, 0,   30, 5, 2, 0, 0,   5, 0,  30, 9, 0,   3, 5,  0,   20, 20, 1, 10, 0,  16, 600, 40, ",
    "14, 1000, 4,  1,   7,  0.96,  0.02, 3,  0.175, 50,  75,  1,  50, 0.9,  10,  10, 25, 20,  30, 14, 1, 15,  20, 8, 4, 1, 5,   5, 10, 30, 9, 10,  3, 5,  10,  10, 15, 3, 30, 5,  25, 500, 50, ",
};

}  // namespace

std::string_view ThemeName(int position) {
  if (position < 0 || position >= kThemeListSize) return {};
  return kNames[static_cast<std::size_t>(position)];
}

std::string ThemePresetText(std::int16_t theme) {
  if (theme < 1 || theme > 13) return {};
  return kPresets[static_cast<std::size_t>(theme - 1)];
}

std::string CsvField(std::string_view text, std::int16_t n) {
  if (n < 0) return {};
  std::string padded(text);
  padded += ',';
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    std::size_t comma = padded.find(',', start);
    if (comma == std::string::npos) return {};
    start = comma + 1;
  }
  std::size_t end = padded.find(',', start);
  if (end == std::string::npos) return {};
  return std::string(TrimBlanks(std::string_view(padded).substr(start, end - start)));
}

}  // namespace glintora
