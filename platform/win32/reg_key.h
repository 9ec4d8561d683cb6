// Owns one open registry key and closes it on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace glintora {

class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY key) : key_(key) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.key_, nullptr));
    return *this;
  }
  ~RegKey() { Reset(); }

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  // For the out-parameter of RegOpenKeyExA / RegCreateKeyExA; closes what was held.
  HKEY* Receive() {
    Reset();
    return &key_;
  }
  void Reset(HKEY key = nullptr) {
    if (key_) RegCloseKey(key_);
    key_ = key;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace glintora
