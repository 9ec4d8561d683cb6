// Profile operations on template files (initialisation files), with the behaviour of the Windows
// profile calls that the template code relies on: defaults for a missing file, section or key;
// an update that keeps every other line; and, unlike those calls, a write that never leaves a
// half-written file. Values are returned whole, however long.
#pragma once

#include <string>
#include <string_view>

namespace glintora {

// The template file in use. One instance, owned by the program's entry and passed by reference;
// an empty file argument below means this path.
struct Templates {
  std::string CurrentTemplatePath;
};

// The value of key in [section] of file, or defaultText.
std::string ProfileReadText(const Templates& templates, const std::string& section,
                            const std::string& key, std::string_view defaultText,
                            const std::string& file = {});

// The leading number of ProfileReadText (0 when the text does not begin with a number).
double ProfileReadNumber(const Templates& templates, const std::string& section,
                         const std::string& key, std::string_view defaultText,
                         const std::string& file = {});

// Sets key in [section] of file to the value's text form, creating the file (not its folder) when
// missing. False when nothing was written; the file is then as it was.
bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, std::string_view value,
                      const std::string& file = {});
bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, double value, const std::string& file = {});
bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, float value, const std::string& file = {});
bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, int value, const std::string& file = {});

// The same three on any path, for files that are not templates.
std::string ReadProfileValue(const std::string& path, const std::string& section,
                             const std::string& key, std::string_view defaultText);
bool WriteProfileValue(const std::string& path, const std::string& section,
                       const std::string& key, std::string_view value,
                       std::string_view newline = "\r\n");

}  // namespace glintora
