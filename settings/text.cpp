#include "settings/text.h"

#include <algorithm>

namespace glintora {

namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at text[i]; 0 for a byte that starts none.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t n = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

}  // namespace

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t characters = 0; i < text.size() && characters < count; ++characters)
    i += std::max<std::size_t>(Utf8Length(text, i), 1);
  return text.substr(0, i);
}

std::string QuotedForMessage(std::string_view text) {
  std::string out = "'";
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++characters) {
    if (characters == kQuotedLength) {
      out += "...";
      break;
    }
    const std::size_t n = Utf8Length(text, i);
    const auto byte = static_cast<unsigned char>(text[i]);
    if (n == 0 || byte < 0x20 || byte == 0x7F) {
      out += '?';  // a control character or a byte that is not UTF-8
      ++i;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  return out + "'";
}

}  // namespace glintora
