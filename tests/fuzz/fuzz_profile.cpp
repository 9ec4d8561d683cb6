// Arbitrary bytes as a profile file: lookups never fail badly, and an update reads back what was
// written without disturbing a key elsewhere.
#include "settings/ini_text.h"
#include "settings/text.h"
#include "tests/fuzz/fuzz_util.h"

using namespace glintora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  // Names and a value from the first parts, at most 40 bytes each; the rest is the file.
  const std::string_view section = NextPart(data).substr(0, 40), key = NextPart(data).substr(0, 40),
                         value = NextPart(data).substr(0, 40);
  const std::string content(data);

  IniLookup(content, section, key);
  IniLookup(content, "Fireworks", "FireWorks");
  const auto before = IniLookup(content, "Q", "zz");

  const auto updated = IniUpdate(content, section, key, value);
  if (!updated) return 0;
  std::string expected(value);
  for (char& c : expected) c = c == '\r' || c == '\n' ? ' ' : c;
  Check(IniLookup(*updated, section, key) == expected);
  if (!EqualsIgnoreCase(TrimBlanks(section), "Q") || !EqualsIgnoreCase(TrimBlanks(key), "zz")) {
    Check(IniLookup(*updated, "Q", "zz") == before);
  }
  // Writing the same value again changes nothing.
  const auto again = IniUpdate(*updated, section, key, value);
  Check(again && *again == *updated);
  return 0;
}
