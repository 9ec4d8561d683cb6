// The file questions and writes the settings and the template dialog need, answered by the
// platform (SystemFileSystem) or by a test double. Paths are UTF-8 text; the platform converts
// them at its own seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace glintora {

// What a whole-file write needs to know about its target.
struct FileTarget {
  bool exists = false;
  bool isFile = false;
  bool readOnly = false;
  std::uint64_t size = 0;
  std::string writePath;  // where the bytes go: the file a link names, else the path itself
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;  // a file, not a folder
  virtual bool PathExists(const std::string& path) = 0;  // anything at all
  // Creates an empty file; false when anything is there already or it cannot be created.
  virtual bool CreateNewEmptyFile(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // What joins a folder and a name ('\' on Windows).
  virtual char Separator() const = 0;

  // The whole file; false when it is missing, not a file, unreadable or larger than maxBytes.
  virtual bool ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) = 0;
  virtual FileTarget Inspect(const std::string& path) = 0;
  // Creates path, which must not exist yet, holding bytes, flushed to the disk. On failure
  // nothing is left at path and reason says why.
  virtual bool WriteNewFile(const std::string& path, std::string_view bytes,
                            std::string& reason) = 0;
  // Puts the file source in place of target (which may be missing) in one step; an existing
  // target's attributes and permissions carry over. backup is a free name beside target where
  // the system may park the old file on the way; nothing is left there on success. A failure
  // leaves source where it was and target either as it was, gone, or renamed to backup;
  // WriteFileAtomically puts right what it finds.
  virtual bool ReplaceFile(const std::string& source, const std::string& target,
                           const std::string& backup, std::string& reason) = 0;
  // Gives the file from the name to, a free name in the same folder; on failure nothing changed.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;

  // Text bytes that are not UTF-8, as UTF-8: the system's ANSI code page on Windows,
  // Windows-1252 elsewhere.
  virtual std::string LegacyToUtf8(std::string_view bytes) const = 0;
  // Whether a text file with other than ASCII characters starts with the UTF-8 mark.
  virtual bool MarksUtf8() const = 0;
};

// The running system's files.
FileSystem& SystemFileSystem();

}  // namespace glintora
