// The text of an initialisation file: [section] lines and key=value lines. Reading and updating
// work on the whole content in memory, so an update keeps every other byte of the file as it was.
// Section and key names compare case-insensitively; values are trimmed, and one pair of matching
// quotes around a value is removed (so a value with blanks at its ends survives a round trip).
// Lines end at CR LF, LF or a lone CR.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace glintora {

// The name of the section that line opens: the trimmed text between its leading '[' and the first
// ']'. nullopt for any other line, an unclosed "[name" included. Reading and writing both use it,
// so what is written under a section is what is read back from it.
std::optional<std::string_view> IniSectionName(std::string_view line);

// The values of content, split and parsed once, for any number of lookups: the value of key in
// the first [section] of that name (its first line of that key); nullopt when either is absent.
class IniValues {
 public:
  IniValues() = default;
  explicit IniValues(std::string_view content);
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

 private:
  std::unordered_map<std::string, std::string> values_;  // by lower-case "section\nkey"
};

// The same for one lookup.
std::optional<std::string> IniLookup(std::string_view content, std::string_view section,
                                     std::string_view key);

// content with key set to value in the first [section]: the key's line is replaced in place, a
// new key goes after the last line of its section, a new section goes at the end. New lines use
// the content's first line ending, or newline when it has none. nullopt when section or key cannot
// be written as a name (empty, a line break, ']' in a section, '=' in a key, or a key beginning
// with '[' or ';'). Line breaks inside value become blanks.
std::optional<std::string> IniUpdate(std::string_view content, std::string_view section,
                                     std::string_view key, std::string_view value,
                                     std::string_view newline = "\r\n");

}  // namespace glintora
