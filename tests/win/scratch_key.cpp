#include "scratch_key.h"

#include <sddl.h>

#include <vector>

namespace glintora::test {

namespace {

bool SetDescriptor(HKEY root, const std::string& path, const std::string& sddl) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC | KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  PSECURITY_DESCRIPTOR sd = nullptr;
  bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                 &sd, nullptr) &&
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
  if (sd) LocalFree(sd);
  RegCloseKey(key);
  return ok;
}

void LiftRestrictions(HKEY root, const std::string& path) {
  SetDescriptor(root, path, "D:(A;;KA;;;WD)");
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  std::vector<std::string> children;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    children.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::string& child : children) LiftRestrictions(root, path + "\\" + child);
}

}  // namespace

void DeleteKeyTree(HKEY root, const std::string& path) {
  LiftRestrictions(root, path);
  RegDeleteTreeA(root, path.c_str());
  RegDeleteKeyA(root, path.c_str());
}

bool RestrictKey(HKEY root, const std::string& path, DWORD denied) {
  return SetDescriptor(root, path, "D:(D;;0x" + [&] {
    char hex[16];
    wsprintfA(hex, "%lx", denied);
    return std::string(hex);
  }() + ";;;WD)(A;;KA;;;WD)");
}

ScratchKey::ScratchKey(const std::string& name) : path_("Software\\GlintoraTests\\" + name) {
  DeleteKeyTree(HKEY_CURRENT_USER, path_);
  RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                  nullptr);
}

ScratchKey::~ScratchKey() {
  if (key_) RegCloseKey(key_);
  DeleteKeyTree(HKEY_CURRENT_USER, path_);
}

std::string RawValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<absent>";
  DWORD type = 0, length = 0;
  std::string result = "<absent>";
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &length) == ERROR_SUCCESS) {
    std::vector<char> buffer(length + 1, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &length) == ERROR_SUCCESS) {
      result = type == REG_SZ ? std::string(buffer.data()) : "<not text>";
    }
  }
  RegCloseKey(key);
  return result;
}

}  // namespace glintora::test
