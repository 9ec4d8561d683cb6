#include "settings/profile.h"

#include "settings/atomic_file.h"
#include "settings/ini_text.h"
#include "settings/numbers.h"

namespace glintora {

namespace {

const std::string& FileOf(const Templates& templates, const std::string& file) {
  return file.empty() ? templates.CurrentTemplatePath : file;
}

FileSystem& FilesOf(const Templates& templates) {
  return templates.Files ? *templates.Files : SystemFileSystem();
}

}  // namespace

ProfileFile::ProfileFile(const Templates& templates, const std::string& file) {
  std::string content;
  read_ = ReadTextFile(FilesOf(templates), FileOf(templates, file), content);
  if (read_) values_ = IniValues(content);
}

std::string ProfileFile::Text(const std::string& section, const std::string& key,
                              std::string_view defaultText) const {
  return values_.Find(section, key).value_or(std::string(defaultText));
}

double ProfileFile::Number(const std::string& section, const std::string& key,
                           std::string_view defaultText) const {
  return LeadingNumber(Text(section, key, defaultText));
}

ProfileEdit::ProfileEdit(FileSystem& files, std::string path, std::string_view newline,
                         bool encoded)
    : files_(files), path_(std::move(path)), newline_(newline), encoded_(encoded) {
  const bool read = encoded_ ? ReadTextFile(files_, path_, original_)
                             : ReadWholeFile(files_, path_, original_);
  if (path_.empty()) {
    reason_ = "no file name was given";
  } else if (!read && files_.PathExists(path_)) {
    // A file that exists but cannot be read must not be replaced by one built from nothing.
    reason_ = "the file cannot be read";
  }
  text_ = original_;
}

ProfileEdit::ProfileEdit(const Templates& templates, const std::string& file)
    : ProfileEdit(FilesOf(templates), FileOf(templates, file)) {}

void ProfileEdit::Set(const std::string& section, const std::string& key,
                      std::string_view value) {
  if (!reason_.empty()) return;
  auto updated = IniUpdate(text_, section, key, value, newline_);
  if (!updated) {
    reason_ = "\"" + section + "\" / \"" + key + "\" cannot be written as a name";
    return;
  }
  text_ = std::move(*updated);
}

void ProfileEdit::Set(const std::string& section, const std::string& key, double value) {
  Set(section, key, std::string_view(NumberText(value)));
}

void ProfileEdit::Set(const std::string& section, const std::string& key, int value) {
  Set(section, key, std::string_view(NumberText(value)));
}

bool ProfileEdit::Commit() {
  if (!reason_.empty()) return false;
  if (text_ == original_ && files_.FileExists(path_)) return true;
  return encoded_ ? WriteTextFileAtomically(files_, path_, text_, reason_)
                  : WriteFileAtomically(files_, path_, text_, reason_);
}

std::string ProfileReadText(const Templates& templates, const std::string& section,
                            const std::string& key, std::string_view defaultText,
                            const std::string& file) {
  return ProfileFile(templates, file).Text(section, key, defaultText);
}

double ProfileReadNumber(const Templates& templates, const std::string& section,
                         const std::string& key, std::string_view defaultText,
                         const std::string& file) {
  return ProfileFile(templates, file).Number(section, key, defaultText);
}

bool ProfileWriteText(const Templates& templates, const std::string& section,
                      const std::string& key, std::string_view value, const std::string& file) {
  ProfileEdit edit(templates, file);
  edit.Set(section, key, value);
  return edit.Commit();
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
