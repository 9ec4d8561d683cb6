// Sections: scanning a number's text; LeadingNumber and the numeric test; the text form;
// conversions.
#include "settings/numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/text.h"

namespace glintora {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }


// One number scanned from the start of a text: where it ends and a clean copy of it (no sign,
// a digit on both sides of the point) that std::from_chars accepts.
struct Scan {
  bool found = false;
  bool negative = false;
  std::size_t end = 0;  // one past the last character that belongs to the number
  std::string clean;
};

Scan ScanNumber(std::string_view text) {
  Scan scan;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    scan.negative = text[i] == '-';
    ++i;
  }
  std::string digits;
  std::size_t intDigits = 0;
  while (i < n && IsDigit(text[i])) digits += text[i++], ++intDigits;
  std::string fraction;
  if (i < n && text[i] == '.') {
    std::size_t j = i + 1;
    while (j < n && IsDigit(text[j])) fraction += text[j++];
    if (intDigits > 0 || !fraction.empty()) i = j;
  }
  if (intDigits == 0 && fraction.empty()) return scan;
  scan.found = true;
  scan.clean = intDigits ? digits : std::string("0");
  if (!fraction.empty()) scan.clean += "." + fraction;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < n && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    std::size_t expStart = j;
    while (j < n && IsDigit(text[j])) exponent += text[j++];
    if (j > expStart) {
      scan.clean += exponent;
      i = j;
    }
  }
  scan.end = i;
  return scan;
}

// True when an out-of-range clean number is below the double range rather than above it: its
// first significant digit sits after the point once the exponent is applied.
bool TooSmall(const std::string& clean) {
  const std::size_t e = clean.find('e');
  const std::string mantissa = clean.substr(0, e);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string::npos) return true;
  long long magnitude = first < point ? static_cast<long long>(point - first)
                                      : -static_cast<long long>(first - point - 1);
  if (e != std::string::npos) {
    std::string_view exp(clean.data() + e + 1, clean.size() - e - 1);
    const bool minus = !exp.empty() && exp[0] == '-';
    if (!exp.empty() && (exp[0] == '-' || exp[0] == '+')) exp.remove_prefix(1);
    long long value = 0;
    auto r = std::from_chars(exp.data(), exp.data() + exp.size(), value);
    if (r.ec == std::errc::result_out_of_range || value > 1000000000) value = 1000000000;
    magnitude += minus ? -value : value;
  }
  return magnitude <= 0;
}

// The value of a scanned number; nullopt when it overflows a double.
std::optional<double> ValueOf(const Scan& scan) {
  double value = 0;
  const char* first = scan.clean.data();
  const char* last = first + scan.clean.size();
  auto result = ReadDecimal(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small gives zero; too large has no honest value.
    if (!TooSmall(scan.clean)) return std::nullopt;
    value = 0;
  } else if (result.ec != std::errc() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return scan.negative ? -value : value;
}

// Digits and decimal exponent of a value printed as "d.ddde±x" by std::to_chars.
std::string Render(std::string_view scientific) {
  bool negative = false;
  if (!scientific.empty() && scientific[0] == '-') {
    negative = true;
    scientific.remove_prefix(1);
  }
  const auto e = scientific.find('e');
  std::string digits;
  for (char c : scientific.substr(0, e)) {
    if (IsDigit(c)) digits += c;
  }
  int exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view exp = scientific.substr(e + 1);
    if (!exp.empty() && exp[0] == '+') exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  if (digits == "0") return "0";

  std::string out = negative ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (exponent >= 21 || exponent < -7) {
    out += digits[0];
    if (count > 1) out += "." + digits.substr(1);
    out += exponent < 0 ? "e-" : "e+";
    out += std::to_string(exponent < 0 ? -exponent : exponent);
  } else if (exponent >= 0) {
    if (count <= exponent + 1) {
      out += digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
             digits.substr(static_cast<std::size_t>(exponent + 1));
    }
  } else {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  return out;
}

#if !defined(__cpp_lib_to_chars)
template <typename T>
T ReadBack(const char* text) {
  if constexpr (sizeof(T) == sizeof(float)) return std::strtof(text, nullptr);
  return std::strtod(text, nullptr);
}
#endif

template <typename T>
std::string Scientific(T value, int precision) {
  char buffer[64];
#if !defined(__cpp_lib_to_chars)
  // The fewest digits that read back as the value (what to_chars gives), or the given precision.
  const int most = sizeof(T) == sizeof(float) ? 9 : 17;
  for (int digits = precision < 0 ? 1 : precision + 1; digits <= most; ++digits) {
    const int n = std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, static_cast<double>(value));
    if (precision >= 0 || ReadBack<T>(buffer) == value) return std::string(buffer, static_cast<std::size_t>(n));
  }
  return std::string(buffer);
#else
  auto result = precision < 0
                    ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific)
                    : std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, precision);
  return std::string(buffer, result.ptr);
#endif
}

std::size_t SignificantDigits(std::string_view scientific) {
  std::size_t count = 0;
  for (char c : scientific.substr(0, scientific.find('e'))) count += IsDigit(c);
  return count;
}

template <typename T>
std::string IntegerText(T value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

#if defined(__cpp_lib_to_chars)
std::from_chars_result ReadDecimal(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value, std::chars_format::general);
}

std::string ScientificText(double value, int digitsAfterPoint) {
  return Scientific(value, digitsAfterPoint);
}
#else
// Libraries without floating-point charconv (the WebAssembly build's): the C library's
// conversions, which in the "C" locale read and round decimal text the same way.
std::from_chars_result ReadDecimal(const char* first, const char* last, double& value) {
  const std::string text(first, last);
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  const std::ptrdiff_t used = end - text.c_str();
  if (used == 0) return {first, std::errc::invalid_argument};
  if (errno == ERANGE && (v == 0 || std::isinf(v))) return {first + used, std::errc::result_out_of_range};
  value = v;
  return {first + used, std::errc()};
}

std::string ScientificText(double value, int digitsAfterPoint) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, "%.*e", digitsAfterPoint, value);
  return std::string(buffer, static_cast<std::size_t>(n));
}
#endif

double LeadingNumber(std::string_view text) {
  const Scan scan = ScanNumber(text);
  if (!scan.found) return 0;
  return ValueOf(scan).value_or(0);
}

bool IsNumericText(std::string_view text) {
  const Scan scan = ScanNumber(text);
  if (!scan.found) return false;
  return TrimBlanks(text.substr(scan.end)).empty();
}

std::optional<double> ParseNumericText(std::string_view text) {
  const Scan scan = ScanNumber(text);
  if (!scan.found || !TrimBlanks(text.substr(scan.end)).empty()) return std::nullopt;
  return ValueOf(scan);
}

std::string NumberText(double value) {
  if (!std::isfinite(value)) return "0";
  std::string shortest = Scientific(value, -1);
  if (SignificantDigits(shortest) > 15) {
    // Near the top of the range, 15 digits can round beyond it; keep the exact form there.
    const std::string rounded = Scientific(value, 14);
    if (ParseNumericText(rounded)) shortest = rounded;
  }
  return Render(shortest);
}

std::string NumberText(float value) {
  if (!std::isfinite(value)) return "0";
  return Render(Scientific(value, -1));
}

std::string NumberText(int value) { return IntegerText(value); }
std::string NumberText(long value) { return IntegerText(value); }
std::string NumberText(long long value) { return IntegerText(value); }

std::optional<std::int16_t> RoundToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> RoundToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::optional<float> ToSingle(double value) {
  if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(FLT_MAX)) return std::nullopt;
  return static_cast<float>(value);
}

}  // namespace glintora
