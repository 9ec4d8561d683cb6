// The thirteen built-in themes: each a complete set of the 43 firework parameters as one text
// of comma-separated values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace glintora {

// Entries of the theme list: 0 is "< NONE >", 1..13 the themes.
inline constexpr int kThemeListSize = 14;
std::string_view ThemeName(int position);
// A preset text's values, one per firework parameter.
inline constexpr int kThemeColumns = 43;

// The preset text of theme 1..13; empty for any other number.
std::string ThemePresetText(std::int16_t theme);

// Field n (from 0) of a comma-separated text, blanks removed at both ends; empty past the end.
std::string CsvField(std::string_view text, std::int16_t n);

}  // namespace glintora
