#include "platform/win32/system_values.h"

#include <cstdio>
#include <vector>

#include "platform/win32/reg_key.h"
#include "settings/numbers.h"

namespace glintora {

std::string RegReadSystemValue(HKEY root, const std::string& path, const std::string& name) {
  RegKey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return {};
  DWORD type = 0;
  DWORD length = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &length) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::vector<unsigned char> buffer(static_cast<std::size_t>(length) + 1, 0);
  length = static_cast<DWORD>(buffer.size());
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, buffer.data(), &length) !=
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
  std::size_t end = 0;
  while (end < length && buffer[end] != 0) ++end;
  return std::string(reinterpret_cast<const char*>(buffer.data()), end);
}

bool ScreenSaverPasswordOn(HKEY root, const std::string& path) {
  return LeadingNumber(RegReadSystemValue(root, path, "ScreenSaveUsePassword")) != 0;
}

}  // namespace glintora
