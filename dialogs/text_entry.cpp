#include "dialogs/text_entry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "settings/numbers.h"

namespace glintora {

namespace {

template <class T>
T ClampBetween(T value, T lower, T upper) {
  // Upper first, then lower: when the bounds cross, the lower one wins.
  if (value > upper) value = upper;
  if (value < lower) value = lower;
  return value;
}

}  // namespace

double FieldValue(std::string_view text) {
  std::string number = "0";
  bool seen_point = false;
  for (char ch : text) {
    if (ch >= '0' && ch <= '9') {
      number += ch;
    } else if (ch == '.' && !seen_point) {
      seen_point = true;
      number += ch;
    } else {
      break;
    }
  }
  if (number.back() == '.') number.pop_back();
  double value = 0;
  auto result = ReadDecimal(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) return std::numeric_limits<double>::max();
  return result.ec == std::errc() ? value : 0.0;
}

std::optional<std::int16_t> FieldInt(std::string_view text) {
  return RoundToInt16(FieldValue(text));
}

std::int16_t FieldIntSaturated(std::string_view text) {
  if (auto v = FieldInt(text)) return *v;
  return std::numeric_limits<std::int16_t>::max();  // FieldValue is never negative
}

bool DigitKeyAllowed(char32_t ch) { return (ch >= '0' && ch <= '9') || ch == kBackspace; }

bool DecimalKeyAllowed(std::string_view text, std::string_view selected, char32_t ch) {
  if (DigitKeyAllowed(ch)) return true;
  if (ch != '.') return false;
  // Typing replaces the selection, so a '.' inside it does not count.
  if (selected.find('.') != std::string_view::npos) return true;
  return text.find('.') == std::string_view::npos;
}

bool FilterDigitKey(DialogView& view, char32_t ch) {
  if (DigitKeyAllowed(ch)) return true;
  view.Beep();
  return false;
}

bool FilterDecimalKey(DialogView& view, ControlId field, char32_t ch) {
  std::string text = view.Text(field);
  TextSelection sel = view.Selection(field);
  std::string_view selected;
  if (sel.start >= 0 && sel.length > 0 && static_cast<std::size_t>(sel.start) < text.size()) {
    selected = std::string_view(text).substr(static_cast<std::size_t>(sel.start),
                                             static_cast<std::size_t>(sel.length));
  }
  if (DecimalKeyAllowed(text, selected, ch)) return true;
  view.Beep();
  return false;
}

std::string SingleFieldText(float value) {
  if (!std::isfinite(value)) return "0";
  // The fewest significant digits (up to seven) that still read back as the same single.
  for (int digits = 1; digits <= 7; ++digits) {
    const std::string text = ScientificText(value, digits - 1);
    double parsed = 0;
    ReadDecimal(text.data(), text.data() + text.size(), parsed);
    if (static_cast<float>(parsed) == value || digits == 7) return NumberText(parsed);
  }
  return "0";
}

std::optional<std::string> ClampedFieldText(std::string_view text, FieldKind kind, float lower,
                                            float upper) {
  double value = FieldValue(text);
  switch (kind) {
    case FieldKind::Whole16: {
      auto v = RoundToInt16(value), lo = RoundToInt16(lower), hi = RoundToInt16(upper);
      if (!v || !lo || !hi) return std::nullopt;
      return NumberText(static_cast<int>(ClampBetween(*v, *lo, *hi)));
    }
    case FieldKind::Whole32: {
      auto v = RoundToInt32(value), lo = RoundToInt32(lower), hi = RoundToInt32(upper);
      if (!v || !lo || !hi) return std::nullopt;
      return NumberText(static_cast<long>(ClampBetween(*v, *lo, *hi)));
    }
    case FieldKind::Decimal: {
      auto v = ToSingle(value);
      if (!v) return std::nullopt;
      return SingleFieldText(ClampBetween(*v, lower, upper));
    }
  }
  return std::nullopt;
}

void ClampFieldText(DialogView& view, ControlId field, FieldKind kind, float lower, float upper) {
  if (auto text = ClampedFieldText(view.Text(field), kind, lower, upper)) {
    WriteFieldText(view, field, *text);
  }
}

void SelectAllOnFocus(DialogView& view, ControlId field) {
  if (view.ReadOnly(field)) return;
  view.SetSelection(field, {0, static_cast<int>(view.Text(field).size())});
}

int SpinnerStep(int upper) {
  if (upper <= 100) return 1;
  if (upper <= 998) return 5;
  if (upper <= 29999) return 10;
  return 50;
}

SpinnerLink LinkSpinner(DialogView& view, ControlId field, ControlId spinner, int lower,
                        int upper, int max_length) {
  SpinnerLink link{field, spinner, lower, upper, SpinnerStep(upper)};
  view.SetMaxLength(field, 10);  // room for any value the next write may need
  if (auto v = FieldInt(view.Text(field))) {
    WriteFieldText(view, field, NumberText(ClampBetween<int>(*v, lower, upper)));
  }
  view.SetMaxLength(field, max_length);
  view.SetSpinnerRange(spinner, lower, upper, link.step);
  FieldChangeSpinnerPart(view, link);
  return link;
}

void SpinnerArrow(DialogView& view, const SpinnerLink& link, bool up) {
  int value = view.SpinnerValue(link.spinner);
  int moved = up ? std::min(link.upper, value + link.step) : std::max(link.lower, value - link.step);
  moved = ClampBetween(moved, link.lower, link.upper);
  if (moved == value) return;
  view.SetSpinnerValue(link.spinner, moved);
  WriteFieldText(view, link.field, NumberText(moved));
}

void FieldChangeSpinnerPart(DialogView& view, const SpinnerLink& link) {
  auto v = FieldInt(view.Text(link.field));
  if (!v || *v < link.lower || *v > link.upper) return;  // the spinner cannot show it
  if (view.SpinnerValue(link.spinner) != *v) view.SetSpinnerValue(link.spinner, *v);
}

void ArrowKeyStep(DialogView& view, ControlId field, bool up, int step, int bound) {
  double value = FieldValue(view.Text(field));
  double stepped = up ? std::min<double>(bound, value + step) : std::max<double>(bound, value - step);
  if (auto whole = RoundToInt32(stepped)) WriteFieldText(view, field, NumberText(static_cast<long>(*whole)));
}

}  // namespace glintora
