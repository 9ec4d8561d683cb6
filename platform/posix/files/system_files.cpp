// The settings' files on POSIX systems: paths are UTF-8 bytes as they stand.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "settings/file_system.h"
#include "settings/text_encoding.h"

namespace glintora {

namespace {

std::string ErrorText(int error) { return std::strerror(error); }

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes the rename that follows durable: the folder's entry for the new file reaches the disk.
void SyncFolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
  }
  bool PathExists(const std::string& path) override {
    struct stat info;
    return !path.empty() && ::lstat(path.c_str(), &info) == 0;
  }
  bool CreateNewEmptyFile(const std::string& path) override {
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    return ::close(fd) == 0;
  }
  bool RemoveFile(const std::string& path) override {
    return !path.empty() && ::unlink(path.c_str()) == 0;
  }
  char Separator() const override { return '/'; }

  bool ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) override {
    // Non-blocking, so a FIFO or a device opens at once and the regular-file check refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    std::string data;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uint64_t>(info.st_size) <= maxBytes;
    // The file may grow while it is read: read until the end, within the limit.
    char chunk[65536];
    while (ok) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      data.append(chunk, static_cast<std::size_t>(n));
      if (data.size() > maxBytes) ok = false;
    }
    ::close(fd);
    if (ok) bytes = std::move(data);
    return ok;
  }

  FileTarget Inspect(const std::string& path) override {
    FileTarget target;
    target.writePath = path;
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return target;
    // Write through a link to the file it names, so the link stays a link.
    if (S_ISLNK(info.st_mode)) {
      if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target.writePath = resolved;
        std::free(resolved);
      }
      if (::stat(target.writePath.c_str(), &info) != 0) {
        target.exists = true;  // a dangling link: not a file to replace
        return target;
      }
    }
    target.exists = true;
    target.isFile = S_ISREG(info.st_mode);
    target.readOnly = (info.st_mode & S_IWUSR) == 0;
    target.size = static_cast<std::uint64_t>(info.st_size);
    return target;
  }

  bool WriteNewFile(const std::string& path, std::string_view bytes,
                    std::string& reason) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      reason = ErrorText(errno);
      return false;
    }
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok) reason = ErrorText(errno);
    if (::close(fd) != 0 && ok) {
      ok = false;
      reason = ErrorText(errno);
    }
    if (!ok) ::unlink(path.c_str());
    return ok;
  }

  // rename() swaps in one step: the old file is never parked under backup.
  bool ReplaceFile(const std::string& source, const std::string& target, const std::string&,
                   std::string& reason) override {
    struct stat info;
    if (::stat(target.c_str(), &info) == 0) ::chmod(source.c_str(), info.st_mode & 07777);
    if (::rename(source.c_str(), target.c_str()) != 0) {
      reason = ErrorText(errno);
      return false;
    }
    SyncFolderOf(target);
    return true;
  }

  bool RenameFile(const std::string& from, const std::string& to) override {
    if (from.empty() || to.empty() || ::rename(from.c_str(), to.c_str()) != 0) return false;
    SyncFolderOf(to);
    return true;
  }

  std::string LegacyToUtf8(std::string_view bytes) const override { return Cp1252ToUtf8(bytes); }
  bool MarksUtf8() const override { return false; }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static PosixFileSystem files;
  return files;
}

}  // namespace glintora
