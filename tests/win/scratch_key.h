// Scratch registry keys for tests: HKEY_CURRENT_USER\Software\GlintoraTests\<name>, deleted
// before use and after, so every test starts from nothing.
#pragma once

#include <windows.h>

#include <string>

namespace glintora::test {

// Removes a whole key, first lifting any access rule a test put on it or its sub-keys.
void DeleteKeyTree(HKEY root, const std::string& path);

// Grants everyone all rights on the key except those in denied.
bool RestrictKey(HKEY root, const std::string& path, DWORD denied);

class ScratchKey {
 public:
  explicit ScratchKey(const std::string& name);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // An open handle to the (now existing, empty) scratch key, for use as a registry root.
  HKEY Root() const { return key_; }
  const std::string& Path() const { return path_; }  // below HKEY_CURRENT_USER

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

// The text of a value read straight from the registry; "<absent>" when missing.
std::string RawValue(HKEY root, const std::string& path, const std::string& name);

}  // namespace glintora::test
