#include "settings/memory_store.h"

#include "settings/text.h"

namespace glintora {

bool MemoryStore::Read(const std::string& section, const std::string& key, std::string& text) {
  const auto it = values_.find({LowerAscii(section), LowerAscii(key)});
  if (it == values_.end()) return false;
  text = it->second;
  return true;
}

bool MemoryStore::Write(const std::string& section, const std::string& key,
                        const std::string& text) {
  if (writesFail_) return false;
  values_[{LowerAscii(section), LowerAscii(key)}] = text;
  ++writeCount_;
  return true;
}

void MemoryStore::Erase(const std::string& section, const std::string& key) {
  values_.erase({LowerAscii(section), LowerAscii(key)});
}

}  // namespace glintora
