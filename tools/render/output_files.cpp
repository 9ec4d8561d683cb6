#include "tools/render/output_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace glintora {

PendingOutputs::~PendingOutputs() {
  for (const auto& file : files_) std::remove(file.first.c_str());
}

std::string PendingOutputs::Add(const std::string& name, std::string& error) {
  std::string path = name;
  std::error_code ec;
  const auto status = std::filesystem::status(name, ec);
  if (std::filesystem::exists(status)) {
    if (!std::filesystem::is_regular_file(status)) return name;  // a pipe or a device: written in place
    path = std::filesystem::canonical(name, ec).string();  // through a link, the file it names
  }
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string temporary = folder + "." + path.substr(folder.size()) + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = "cannot write " + name + ": " + std::strerror(errno);
    return {};
  }
  // mkstemp makes the file private; an output gets the mode a new file would.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  files_.emplace_back(temporary, path);
  return temporary;
}

bool PendingOutputs::Commit(std::string& error) {
  std::size_t done = 0;
  for (; done < files_.size(); ++done) {
    const auto& file = files_[done];
    if (std::rename(file.first.c_str(), file.second.c_str()) != 0) {
      error = "cannot write " + file.second + ": " + std::strerror(errno);
      break;
    }
  }
  files_.erase(files_.begin(), files_.begin() + static_cast<std::ptrdiff_t>(done));
  return files_.empty();
}

}  // namespace glintora
