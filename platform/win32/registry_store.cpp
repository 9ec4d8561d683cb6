#include "platform/win32/registry_store.h"

#include <vector>

#include "platform/win32/files/wide_text.h"
#include "platform/win32/reg_key.h"

namespace glintora {

namespace {

// All read and write rights except delete: what a settings write needs, and no more.
constexpr REGSAM kWriteAccess = 0x2003F;

}  // namespace

HKEY RegistryRoot(int root) {
  switch (root) {
    case 0: return HKEY_LOCAL_MACHINE;
    case 1: return HKEY_CURRENT_USER;
    case 2: return HKEY_CLASSES_ROOT;
    default: return HKEY_USERS;
  }
}

bool ReadRegistryText(HKEY root, const std::string& path, const std::string& name,
                      std::string& text) {
  RegKey key;
  if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring value = Widen(name);
  // The value may grow between the size query and the read; retry with the new size.
  std::vector<wchar_t> buffer(128);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LONG status = RegQueryValueExW(key.Get(), value.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status == ERROR_MORE_DATA) {
      buffer.resize(bytes / sizeof(wchar_t) + 1);
      continue;
    }
    if (status != ERROR_SUCCESS) return false;
    const std::size_t length = bytes / sizeof(wchar_t);
    std::size_t end = 0;
    while (end < length && buffer[end] != L'\0') ++end;
    text = Narrow(std::wstring_view(buffer.data(), end));
    return true;
  }
  return false;
}

bool WriteRegistryText(HKEY root, const std::string& path, const std::string& name,
                       const std::string& text) {
  RegKey key;
  DWORD disposition = 0;
  wchar_t keyClass[] = L"REG_SZ";
  if (RegCreateKeyExW(root, Widen(path).c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                      kWriteAccess, nullptr, key.Receive(), &disposition) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring value = Widen(text);
  return RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::string RegistryStore::SectionPath(const std::string& section) const {
  if (where_.BasePath.empty()) return section;
  if (section.empty()) return where_.BasePath;
  return where_.BasePath + "\\" + section;
}

bool RegistryStore::Read(const std::string& section, const std::string& key, std::string& text) {
  const std::string path = SectionPath(section);
  if (where_.Fallback && ReadRegistryText(where_.Fallback, path, key, text)) return true;
  return ReadRegistryText(where_.Primary, path, key, text);
}

bool RegistryStore::Write(const std::string& section, const std::string& key,
                          const std::string& text) {
  const std::string path = SectionPath(section);
  if (!WriteRegistryText(where_.Primary, path, key, text)) {
    return where_.Fallback && WriteRegistryText(where_.Fallback, path, key, text);
  }
  // A value left under the fallback by an earlier refused write would hide this one from reads.
  std::string shadow;
  if (where_.Fallback && ReadRegistryText(where_.Fallback, path, key, shadow) && shadow != text) {
    WriteRegistryText(where_.Fallback, path, key, text);
  }
  return true;
}

}  // namespace glintora
