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

// After a refused swap: the old file back in its place, or the new one there when the old one is
// gone; false unless the new one took the place.
bool PutRight(FileSystem& files, const FileTarget& target, const std::string& temp,
              const std::string& backup, std::string& reason) {
  const std::string& path = target.writePath;
  if (!target.exists || files.PathExists(path)) {
    files.RemoveFile(temp);
    return false;
  }
  const std::string notInPlace = std::string("; ") + std::string(kOldFileNotInPlace);
  if (files.PathExists(backup)) {
    if (files.RenameFile(backup, path)) {
      files.RemoveFile(temp);
      return false;
    }
    reason += notInPlace + ": it is now \"" + backup + "\" and the new text is in \"" + temp + "\"";
    return false;
  }
  if (files.RenameFile(temp, path)) return true;
  reason += notInPlace + ": it is gone";
  if (files.PathExists(temp)) reason += " and the new text is in \"" + temp + "\"";
  return false;
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
  int attempts = 64;
  const auto freeName = [&](std::string& name) {
    while (attempts-- > 0) {
      char shortName[16];
      std::snprintf(shortName, sizeof shortName, "~gf%04x.tmp", (counter++) & 0xFFFFu);
      name = folder + shortName;
      if (!files.PathExists(name)) return true;
    }
    return false;
  };
  std::string temp, backup;
  while (freeName(temp)) {
    if (!files.WriteNewFile(temp, content, reason)) {
      if (files.PathExists(temp)) continue;  // another writer took the name meanwhile
      return false;
    }
    if (!freeName(backup)) {
      files.RemoveFile(temp);
      break;
    }
    if (files.ReplaceFile(temp, target.writePath, backup, reason)) return true;
    return PutRight(files, target, temp, backup, reason);
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
