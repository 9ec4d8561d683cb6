// Arbitrary bytes as a profile file: lookups never fail badly, and an update reads back what was
// written without disturbing a key elsewhere.
#include <algorithm>

#include "settings/ini_text.h"
#include "settings/text.h"
#include "tests/fuzz/fuzz_util.h"

using namespace glintora;

namespace {

// Pieces of the input used as names and values: up to the first NUL, at most 40 bytes.
std::string_view Take(std::string_view& data) {
  const std::size_t n = std::min<std::size_t>(data.find('\0'), 40);
  std::string_view piece = data.substr(0, std::min(n, data.size()));
  data.remove_prefix(std::min(piece.size() + 1, data.size()));
  return piece;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const std::string_view section = Take(data);
  const std::string_view key = Take(data);
  const std::string_view value = Take(data);
  const std::string content(data);

  IniLookup(content, section, key);
  IniLookup(content, "Fireworks", "FireWorks");
  const auto before = IniLookup(content, "Q", "zz");

  const auto updated = IniUpdate(content, section, key, value);
  if (!updated) return 0;
  std::string expected(value);
  for (char& c : expected) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  Check(IniLookup(*updated, section, key) == expected);
  if (!EqualsIgnoreCase(TrimBlanks(section), "Q") || !EqualsIgnoreCase(TrimBlanks(key), "zz")) {
    Check(IniLookup(*updated, "Q", "zz") == before);
  }
  // Writing the same value again changes nothing.
  const auto again = IniUpdate(*updated, section, key, value);
  Check(again && *again == *updated);
  return 0;
}
