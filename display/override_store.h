// A store that lays this run's values over the user's store: reads find an override first, writes
// land only in the overrides. Command-line settings, a theme or a template given for one run are
// written here, so the show loads them like stored settings while the user's store stays as it was.
#pragma once

#include <string>

#include "settings/memory_store.h"
#include "settings/store.h"

namespace glintora {

class OverrideStore : public Store {
 public:
  explicit OverrideStore(Store& base) : base_(base) {}

  bool Read(const std::string& section, const std::string& key, std::string& text) override {
    if (top_.Read(section, key, text)) return true;
    return base_.Read(section, key, text);
  }
  bool Write(const std::string& section, const std::string& key,
             const std::string& text) override {
    return top_.Write(section, key, text);
  }

  void Reload() override { base_.Reload(); }

  std::size_t OverrideCount() const { return top_.Size(); }

 private:
  Store& base_;
  MemoryStore top_;
};

}  // namespace glintora
