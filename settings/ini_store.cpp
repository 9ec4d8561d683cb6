#include "settings/ini_store.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "settings/atomic_file.h"
#include "settings/profile.h"

namespace glintora {

namespace fs = std::filesystem;

bool IniStore::Read(const std::string& section, const std::string& key, std::string& text) {
  if (!values_) {
    std::string content;
    values_ = ReadWholeFile(files_, path_, content) ? IniValues(content) : IniValues();
  }
  auto value = values_->Find(section, key);
  if (!value) return false;
  text = std::move(*value);
  return true;
}

bool IniStore::Write(const std::string& section, const std::string& key, const std::string& text) {
  if (path_.empty()) return false;
  const fs::path folder = fs::path(path_).parent_path();
  std::error_code ec;
  if (!folder.empty()) fs::create_directories(folder, ec);
  // The program's own file: its values go in and come out byte for byte.
  ProfileEdit edit(files_, path_, "\n", false);
  edit.Set(section, key, text);
  Reload();
  return edit.Commit();
}

std::string DefaultIniStorePath(const char* xdgConfigHome, const char* home) {
  fs::path base;
  // Relative values are to be ignored, as the base directory convention says.
  if (xdgConfigHome && *xdgConfigHome && fs::path(xdgConfigHome).is_absolute()) {
    base = xdgConfigHome;
  } else if (home && *home) {
    base = fs::path(home) / ".config";
  } else {
    return {};
  }
  return (base / "glintora" / "settings.ini").string();
}

std::string DefaultIniStorePath() {
  return DefaultIniStorePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

}  // namespace glintora
