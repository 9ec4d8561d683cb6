#include "settings/atomic_file.h"

#include <atomic>
#include <cstdio>

#include "settings/text_encoding.h"

namespace glintora {

namespace {

// The folder part of path, with its separator; empty for a bare name.
std::string FolderOf(const std::string& path, char separator) {
  const char* separators = separator == '\\' ? "\\/:" : "/";
  const auto end = path.find_last_of(separators);
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

}  // namespace

bool ReadWholeFile(FileSystem& files, const std::string& path, std::string& content) {
  return !path.empty() && files.ReadFile(path, content, kMaxSettingsFileBytes);
}

bool WriteFileAtomically(FileSystem& files, const std::string& path, std::string_view content,
                         std::string& reason) {
  if (path.empty()) {
    reason = "no file name was given";
    return false;
  }
  const FileTarget target = files.Inspect(path);
  if (target.exists && !target.isFile) {
    reason = "it is not a file";
    return false;
  }
  if (target.exists && target.size > kMaxSettingsFileBytes) {
    reason = "the file is too large to be a settings file";
    return false;
  }
  // Replacing would succeed on a read-only file; the user made it read-only to keep it.
  if (target.readOnly) {
    reason = "the file is read-only";
    return false;
  }
  // A short name, so a target near the path length limit can still be written.
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(target.writePath, files.Separator());
  for (int attempt = 0; attempt < 64; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~gf%04x.tmp", (counter++) & 0xFFFFu);
    const std::string temp = folder + name;
    if (files.PathExists(temp)) continue;
    if (!files.WriteNewFile(temp, content, reason)) {
      if (files.PathExists(temp)) continue;  // another writer took the name meanwhile
      return false;
    }
    if (files.ReplaceFile(temp, target.writePath, reason)) return true;
    files.RemoveFile(temp);
    return false;
  }
  reason = "no temporary file could be made beside it";
  return false;
}

bool ReadTextFile(FileSystem& files, const std::string& path, std::string& text) {
  std::string bytes;
  if (!ReadWholeFile(files, path, bytes)) return false;
  text = DecodeTextFile(bytes, [&files](std::string_view b) { return files.LegacyToUtf8(b); });
  return true;
}

bool WriteTextFileAtomically(FileSystem& files, const std::string& path, std::string_view text,
                             std::string& reason) {
  return WriteFileAtomically(files, path, EncodeTextFile(text, files.MarksUtf8()), reason);
}

}  // namespace glintora
