// Profile operations on template files (initialisation files), with the behaviour of the Windows
// profile calls that the template code relies on: defaults for a missing file, section or key;
// an update that keeps every other line; and, unlike those calls, a write that never leaves a
// half-written file, and several updates that reach the file together or not at all. Values are
// returned whole, however long; files may be ANSI, UTF-8 or UTF-16 (see ReadTextFile).
#pragma once

#include <string>
#include <string_view>

#include "settings/file_system.h"
#include "settings/ini_text.h"

namespace glintora {

// The template file in use. One instance, owned by the program's entry and passed by reference;
// an empty file argument below means this path. Files: where they are read and written (null:
// the system's).
struct Templates {
  std::string CurrentTemplatePath;
  FileSystem* Files = nullptr;
};

// Several updates of one profile file: applied to its text in memory, then written at once.
class ProfileEdit {
 public:
  // New lines take the file's own line ending, or newline when it has none. A file that is not
  // text (encoded false) is read and written byte for byte.
  ProfileEdit(FileSystem& files, std::string path, std::string_view newline = "\r\n",
              bool encoded = true);
  explicit ProfileEdit(const Templates& templates, const std::string& file = {});
  void Set(const std::string& section, const std::string& key, std::string_view value);
  void Set(const std::string& section, const std::string& key, double value);
  void Set(const std::string& section, const std::string& key, int value);
  // Replaces the file with the edited text. False when anything failed (an update that could
  // not be made, an unreadable file, the write); the file is then as it was and Reason says why.
  bool Commit();
  const std::string& Reason() const { return reason_; }

 private:
  FileSystem& files_;
  std::string path_;
  std::string original_;
  std::string text_;
  std::string reason_;
  std::string newline_;
  bool encoded_;
};

// A profile file read and parsed once, for many lookups.
class ProfileFile {
 public:
  explicit ProfileFile(const Templates& templates, const std::string& file = {});
  // False when the file is missing, not a file, unreadable or over kMaxSettingsFileBytes: every
  // lookup then gives its default.
  bool WasRead() const { return read_; }
  // The value of key in [section], or defaultText.
  std::string Text(const std::string& section, const std::string& key,
                   std::string_view defaultText) const;
  // The leading number of Text (0 when the text does not begin with a number).
  double Number(const std::string& section, const std::string& key,
                std::string_view defaultText) const;

 private:
  IniValues values_;
  bool read_ = false;
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


}  // namespace glintora
