// Small text helpers shared by the store, the profile files and the loaders.
#pragma once

#include <string>
#include <string_view>

namespace glintora {

// True for the blanks that stored values and profile lines are trimmed of.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text without blanks at either end.
std::string_view TrimBlanks(std::string_view text);

// The first count characters of UTF-8 text (code points; a byte that starts no well-formed
// sequence counts as one), never ending inside a character.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

// ASCII case-insensitive equality: section and key names compare this way.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// ASCII lower case, for map keys that must compare case-insensitively.
std::string LowerAscii(std::string_view text);

// text in single quotes for a one-line message: at most kQuotedLength characters (UTF-8 code
// points; "..." marks a cut), control characters and bytes that are not UTF-8 shown as '?', so a
// huge or hostile argument cannot flood or steer the terminal.
inline constexpr std::size_t kQuotedLength = 60;
std::string QuotedForMessage(std::string_view text);

}  // namespace glintora
