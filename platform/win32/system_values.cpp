#include "platform/win32/system_values.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/files/wide_text.h"
#include "platform/win32/reg_key.h"
#include "settings/numbers.h"

namespace glintora {

std::string RegReadSystemValue(HKEY root, const std::string& path, const std::string& name) {
  RegKey key;
  if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
    return {};
  }
  const std::wstring value = Widen(name);
  DWORD type = 0;
  DWORD length = 0;
  if (RegQueryValueExW(key.Get(), value.c_str(), nullptr, &type, nullptr, &length) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::vector<unsigned char> buffer(static_cast<std::size_t>(length) + 2, 0);
  length = static_cast<DWORD>(buffer.size());
  if (RegQueryValueExW(key.Get(), value.c_str(), nullptr, &type, buffer.data(), &length) !=
      ERROR_SUCCESS) {
    return {};
  }
  if (type == REG_DWORD) {
    if (length < 4) return {};
    const unsigned long value = buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) |
                                (static_cast<unsigned long>(buffer[3]) << 24);
    char text[16];
    std::snprintf(text, sizeof text, "%03lu", value);
    return text;
  }
  std::wstring text(length / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), buffer.data(), text.size() * sizeof(wchar_t));
  return Narrow(text.substr(0, text.find(L'\0')));
}

bool ScreenSaverPasswordOn(HKEY root, const std::string& path) {
  return LeadingNumber(RegReadSystemValue(root, path, "ScreenSaveUsePassword")) != 0;
}

}  // namespace glintora
