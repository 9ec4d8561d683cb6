#include "settings/profile.h"

#include "settings/atomic_file.h"
#include "settings/ini_text.h"
#include "settings/numbers.h"

namespace glintora {

namespace {

const std::string& FileOf(const Templates& templates, const std::string& file) {
  return file.empty() ? templates.CurrentTemplatePath : file;
}

}  // namespace

std::string ReadProfileValue(const std::string& path, const std::string& section,
                             const std::string& key, std::string_view defaultText) {
  std::string content;
  if (!ReadWholeFile(path, content)) return std::string(defaultText);
  return IniLookup(content, section, key).value_or(std::string(defaultText));
}

bool WriteProfileValue(const std::string& path, const std::string& section,
                       const std::string& key, std::string_view value, std::string_view newline) {
  std::string content;
  if (!ReadWholeFile(path, content) && PathExists(path)) return false;
  const auto updated = IniUpdate(content, section, key, value, newline);
  if (!updated) return false;
  if (*updated == content) return true;
  return WriteFileAtomically(path, *updated);
}

std::string ProfileReadText(const Templates& templates, const std::string& section,
                            const std::string& key, std::string_view defaultText,
                            const std::string& file) {
  return ReadProfileValue(FileOf(templates, file), section, key, defaultText);
}

double ProfileReadNumber(const Templates& templates, const std::string& section,
                         const std::string& key, std::string_view defaultText,
                         const std::string& file) {
  return LeadingNumber(ProfileReadText(templates, section, key, defaultText, file));
}

bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, std::string_view value, const std::string& file) {
  return WriteProfileValue(FileOf(templates, file), section, key, value);
}

bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, double value, const std::string& file) {
  return ProfileWriteText(templates, section, key, std::string_view(NumberText(value)), file);
}

bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, float value, const std::string& file) {
  return ProfileWriteText(templates, section, key, std::string_view(NumberText(value)), file);
}

bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, int value, const std::string& file) {
  return ProfileWriteText(templates, section, key, std::string_view(NumberText(value)), file);
}

}  // namespace glintora
