// The rules every numeric field of every dialog shares: how its text reads as a number, which
// keys it accepts, what focus loss does to it, the Up/Down step, and the spinner tied to it.
// The text is the only storage of a field's value; nothing here keeps state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/field_model.h"

namespace glintora {

// The number a field's text stands for: "0" put in front, then digits with at most one '.',
// from the first character on. "" -> 0, ".5" -> 0.5, "7x" -> 7, "-1" -> 0, " 5" -> 0.
double FieldValue(std::string_view text);

// FieldValue rounded half to even to a 16-bit integer; nullopt when it does not fit.
std::optional<std::int16_t> FieldInt(std::string_view text);
// As FieldInt, saturated at the 16-bit ends: the cross-field rules and the swatches use it, so a
// pasted "99999" counts as a very large value rather than stopping the rule.
std::int16_t FieldIntSaturated(std::string_view text);

inline std::int16_t MaxInt(std::int16_t a, std::int16_t b) { return a > b ? a : b; }
inline std::int16_t MinInt(std::int16_t a, std::int16_t b) { return a < b ? a : b; }
inline std::int32_t MaxLong(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
inline std::int32_t MinLong(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

constexpr char kBackspace = '\b';

// Key filters: true lets the character through. A refused key beeps.
bool DigitKeyAllowed(char32_t ch);
// text: the field's whole text; selected: the part of it that is selected (typing replaces it).
bool DecimalKeyAllowed(std::string_view text, std::string_view selected, char32_t ch);
bool FilterDigitKey(DialogView& view, char32_t ch);
bool FilterDecimalKey(DialogView& view, ControlId field, char32_t ch);

enum class FieldKind : std::uint8_t {
  Whole16 = 0,  // 16-bit whole number
  Decimal = 1,  // single-precision decimal
  Whole32 = 2,  // 32-bit whole number
};

// The shortest decimal form of a single with at most seven significant digits, "0" before the
// point below 1, no trailing zeros: 0.96f -> "0.96", 1 -> "1".
std::string SingleFieldText(float value);

// The text a field gets when it loses the focus; nullopt when the value cannot be held in the
// kind (the text then stays as it is).
std::optional<std::string> ClampedFieldText(std::string_view text, FieldKind kind, float lower,
                                            float upper);
void ClampFieldText(DialogView& view, ControlId field, FieldKind kind, float lower, float upper);

// Selects the whole text of a text box that is not read-only.
void SelectAllOnFocus(DialogView& view, ControlId field);

// The arrow step of a spinner, chosen from its upper end alone.
int SpinnerStep(int upper);

// A field and its spinner, as tied together by LinkSpinner.
struct SpinnerLink {
  ControlId field;
  ControlId spinner;
  int lower = 0;
  int upper = 0;
  int step = 1;
};

// Brings the field into lower..upper, sets its maximum length and the spinner's ends and step.
SpinnerLink LinkSpinner(DialogView& view, ControlId field, ControlId spinner, int lower,
                        int upper, int max_length);
// A click on the spinner's arrow: moves its value by the step within its ends, then the spinner
// change writes the value into the field. Nothing happens at an end.
void SpinnerArrow(DialogView& view, const SpinnerLink& link, bool up);
// The spinner part of a field's change: the spinner follows a value it can show.
void FieldChangeSpinnerPart(DialogView& view, const SpinnerLink& link);

// Up/Down in a field: the text becomes min(upper, value + step) or max(lower, value - step),
// whole. Only the bound on the side of travel applies.
void ArrowKeyStep(DialogView& view, ControlId field, bool up, int step, int bound);

}  // namespace glintora
