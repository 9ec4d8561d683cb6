// A Store kept in memory: for tests and for runs that must not touch the user's settings.
// Section and key names compare case-insensitively, as in the registry.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "settings/store.h"

namespace glintora {

class MemoryStore : public Store {
 public:
  bool Read(const std::string& section, const std::string& key, std::string& text) override;
  bool Write(const std::string& section, const std::string& key, const std::string& text) override;

  // Makes every later write fail (a store key that cannot be created).
  void SetWritesFail(bool fail) { writesFail_ = fail; }
  void Erase(const std::string& section, const std::string& key);
  void Clear() { values_.clear(); }
  std::size_t Size() const { return values_.size(); }
  std::size_t WriteCount() const { return writeCount_; }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
  bool writesFail_ = false;
  std::size_t writeCount_ = 0;
};

}  // namespace glintora
