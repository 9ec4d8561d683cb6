// The settings store: text values by section and key below the application's key. Backends:
// the Windows registry (platform/win32), an INI file (settings/ini_store.h) and memory (tests).
// The typed operations that every other part uses sit on top of this interface.
#pragma once

#include <string>

namespace glintora {

class Store {
 public:
  virtual ~Store() = default;
  // The stored text of section\key; false when it is absent or cannot be read.
  virtual bool Read(const std::string& section, const std::string& key, std::string& text) = 0;
  // Stores text (already trimmed by the caller); false when the write failed.
  virtual bool Write(const std::string& section, const std::string& key,
                     const std::string& text) = 0;
  // A store that reads ahead forgets it, so the next read sees the medium as it is now.
  virtual void Reload() {}
};

}  // namespace glintora
