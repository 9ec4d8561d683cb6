// Numbers as text: the lenient leading-number reader, the strict numeric test of the typed store
// readers, the text form written to the store and to template files, and the round-half-even
// conversions. Every conversion uses '.' as the decimal point whatever the process locale.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glintora {

// The number at the start of text: blanks skipped, optional sign, digits, optional '.' fraction
// and exponent; stops at the first character that cannot continue it. 0 when there is none, and
// 0 when the number is too large for a double (there is no number that would be right).
double LeadingNumber(std::string_view text);

// True when the whole text is a number: optional blanks and sign, digits with an optional
// decimal point, an optional exponent ("e" or "E", optional sign, digits), optional blanks.
// At least one digit before the exponent. "1e999" is numeric text even though no double holds it.
bool IsNumericText(std::string_view text);

// The value of a numeric text (see IsNumericText); nullopt when the text is not numeric or its
// value does not fit a double.
std::optional<double> ParseNumericText(std::string_view text);

// The text form of numbers: whole numbers as digits ("12", "-3"), fractions in their shortest
// form with a leading zero ("0.97", "0.015", "1.5"), an exponent only for magnitudes below 1e-7
// or from 1e21 ("1e+21"). A float gives the shortest text that reads back as the same float; a
// double the shortest that reads back as the same double, with at most 15 significant digits.
// Non-finite values give "0".
std::string NumberText(double value);
std::string NumberText(float value);
std::string NumberText(int value);
std::string NumberText(long value);
std::string NumberText(long long value);

// std::from_chars of a plain decimal ("12", "0.5", "1e5") into a double, and a value in
// scientific form with the given digits after the point, on every library (some have no
// floating-point charconv).
std::from_chars_result ReadDecimal(const char* first, const char* last, double& value);
std::string ScientificText(double value, int digitsAfterPoint);

// Round half to even. nullopt when the value is not finite or the result does not fit the type.
std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int32_t> RoundToInt32(double value);

// The float nearest to value; nullopt when value is not finite or beyond the float range.
std::optional<float> ToSingle(double value);

}  // namespace glintora
