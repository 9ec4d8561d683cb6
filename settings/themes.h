// The thirteen built-in themes: each a complete set of the 43 firework parameters as one text
// of comma-separated values, and the way a theme fills the properties dialog's fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/field_model.h"

namespace glintora {

// Entries of the theme list: 0 is "< NONE >", 1..13 the themes.
inline constexpr int kThemeListSize = 14;
std::string_view ThemeName(int position);

// The preset text of theme 1..13; empty for any other number.
std::string ThemePresetText(std::int16_t theme);

// Field n (from 0) of a comma-separated text, blanks removed at both ends; empty past the end.
std::string CsvField(std::string_view text, std::int16_t n);

// Fills the firework fields from a preset text in column order: every txtFire box receives its
// column's text unchanged, the two check boxes the column's whole value. Each write raises the
// field's change handling, so the cross-field rules leave the fields as they see fit.
void ApplyTheme(DialogView& view, std::string_view preset);

// A click on the theme list: positions 1..13 apply their theme; "< NONE >" changes nothing.
void ChooseTheme(DialogView& view, int position);

}  // namespace glintora
