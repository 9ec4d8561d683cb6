// A Store over an initialisation file, for systems without a registry. Each store section is a
// [section] of the file, named exactly as given ("General\Main" included); values are read whole
// and every write replaces the file atomically. The file is read and parsed by the first read and
// kept until Reload or a write, so loading every setting reads it once; a file over 1 MB, like
// one that cannot be read, holds nothing.
#pragma once

#include <optional>
#include <string>

#include "settings/file_system.h"
#include "settings/ini_text.h"
#include "settings/store.h"

namespace glintora {

class IniStore : public Store {
 public:
  explicit IniStore(std::string path, FileSystem& files = SystemFileSystem())
      : path_(std::move(path)), files_(files) {}

  bool Read(const std::string& section, const std::string& key, std::string& text) override;
  // Creates the file's folder when it is missing.
  bool Write(const std::string& section, const std::string& key, const std::string& text) override;
  // The next read reads the file again, as it is then.
  void Reload() override { values_.reset(); }

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  FileSystem& files_;
  std::optional<IniValues> values_;
};

// The settings file: $XDG_CONFIG_HOME/glintora/settings.ini when XDG_CONFIG_HOME is an absolute
// path, else $HOME/.config/glintora/settings.ini; empty when neither can be had. The values are
// those of the environment variables (nullptr when unset).
std::string DefaultIniStorePath(const char* xdgConfigHome, const char* home);
// The same, reading the process environment.
std::string DefaultIniStorePath();

}  // namespace glintora
