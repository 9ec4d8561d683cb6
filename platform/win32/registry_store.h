// The settings store over the Windows registry: one key per section below
// <root>\SOFTWARE\GlintoraFireworks, one REG_SZ value per setting.
//
// Settings are machine-wide (HKEY_LOCAL_MACHINE). A user who may not write there still keeps
// what they change: a refused write goes to the same path under HKEY_CURRENT_USER, and reads
// look there first.
#pragma once

#include <windows.h>

#include <string>

#include "settings/store.h"

namespace glintora {

// Where the store lives; tests point it at scratch keys.
struct RegistryLocation {
  HKEY Primary = HKEY_LOCAL_MACHINE;  // where every setting is written
  HKEY Fallback = HKEY_CURRENT_USER;  // takes a refused write; read first; nullptr: none
  std::string BasePath = "SOFTWARE\\GlintoraFireworks";
};

class RegistryStore : public Store {
 public:
  explicit RegistryStore(RegistryLocation where = {}) : where_(std::move(where)) {}

  bool Read(const std::string& section, const std::string& key, std::string& text) override;
  bool Write(const std::string& section, const std::string& key,
             const std::string& text) override;

  // BasePath\section (a section may itself hold a backslash: "General\Main").
  std::string SectionPath(const std::string& section) const;

 private:
  RegistryLocation where_;
};

// The registry root numbered as the store's callers number it: 0 HKEY_LOCAL_MACHINE,
// 1 HKEY_CURRENT_USER, 2 HKEY_CLASSES_ROOT, anything else HKEY_USERS.
HKEY RegistryRoot(int root);

// Reads a text value whole, whatever its length, opening the key for reading only.
bool ReadRegistryText(HKEY root, const std::string& path, const std::string& name,
                      std::string& text);
// Creates the key if needed and stores text as REG_SZ; false when either step fails.
bool WriteRegistryText(HKEY root, const std::string& path, const std::string& name,
                       const std::string& text);

}  // namespace glintora
