// The renderer's outputs are written under temporary names beside the names asked for and take
// those names only when the whole run has succeeded, so a failed run neither destroys an earlier
// output nor leaves a short one that looks finished.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace glintora {

class PendingOutputs {
 public:
  PendingOutputs() = default;
  PendingOutputs(const PendingOutputs&) = delete;
  PendingOutputs& operator=(const PendingOutputs&) = delete;
  ~PendingOutputs();  // removes every temporary file not renamed

  // A new empty file ".NAME.XXXXXX" in the folder of the file name names (through a link), to
  // be renamed to it; name itself when it is a pipe or a device; empty with a message when the
  // folder takes no file.
  std::string Add(const std::string& name, std::string& error);
  // Renames every file to its name; false with a message at the first that fails.
  bool Commit(std::string& error);

 private:
  std::vector<std::pair<std::string, std::string>> files_;  // temporary name, name
};

}  // namespace glintora
