// How a theme fills the properties dialog's firework fields.
#pragma once

#include <string_view>

#include "dialogs/field_model.h"

namespace glintora {

// Fills the firework fields from a preset text in column order: every txtFire box receives its
// column's text unchanged, the two check boxes the column's whole value. Each write raises the
// field's change handling, so the cross-field rules leave the fields as they see fit.
void ApplyTheme(DialogView& view, std::string_view preset);

// A click on the theme list: positions 1..13 apply their theme; "< NONE >" changes nothing.
void ChooseTheme(DialogView& view, int position);

}  // namespace glintora
