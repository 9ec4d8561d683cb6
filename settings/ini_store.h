// A Store over an initialisation file, for systems without a registry. Each store section is a
// [section] of the file, named exactly as given ("General\Main" included); values are read whole
// and every write replaces the file atomically.
#pragma once

#include <string>

#include "settings/store.h"

namespace glintora {

class IniStore : public Store {
 public:
  explicit IniStore(std::string path) : path_(std::move(path)) {}

  bool Read(const std::string& section, const std::string& key, std::string& text) override;
  // Creates the file's folder when it is missing.
  bool Write(const std::string& section, const std::string& key, const std::string& text) override;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The settings file: $XDG_CONFIG_HOME/glintora/settings.ini when XDG_CONFIG_HOME is an absolute
// path, else $HOME/.config/glintora/settings.ini; empty when neither can be had. The values are
// those of the environment variables (nullptr when unset).
std::string DefaultIniStorePath(const char* xdgConfigHome, const char* home);
// The same, reading the process environment.
std::string DefaultIniStorePath();

}  // namespace glintora
