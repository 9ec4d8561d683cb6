// Arbitrary text through the number readers, the typed store readers and the text form.
#include <cmath>
#include <cstring>

#include "settings/memory_store.h"
#include "settings/numbers.h"
#include "settings/store_ops.h"
#include "tests/fuzz/fuzz_util.h"

using namespace glintora;

// The text form reads back as the same value (doubles within rounding of the last digit).
template <typename T>
static void CheckText(T d) {
  const std::string text = NumberText(d);
  Check(IsNumericText(text));
  Check(std::fabs(static_cast<T>(LeadingNumber(text)) - d) <= std::fabs(d) * 1e-14);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);

  const double leading = LeadingNumber(text);
  Check(std::isfinite(leading));
  const auto parsed = ParseNumericText(text);
  if (parsed) {
    Check(IsNumericText(text) && *parsed == leading);
    CheckText(*parsed);
  }
  CheckText(leading);

  MemoryStore store;
  store.Write("S", "k", text);
  const std::int16_t i = RegReadInt(store, "S", "k", 7);
  const std::int32_t l = RegReadLong(store, "S", "k", 40);
  const float s = RegReadSingle(store, "S", "k", 0.5f);
  if (!parsed) {
    Check(i == 7 && l == 40 && s == 0.5f);
  } else {
    Check(i == RoundToInt16(*parsed).value_or(7));
    Check(l == RoundToInt32(*parsed).value_or(40));
    Check(std::isfinite(s));
  }

  // The raw bytes as numbers, for values no text above would reach.
  if (size >= sizeof(double)) {
    double d = 0;
    float f = 0;
    std::memcpy(&d, bytes, sizeof d), std::memcpy(&f, bytes, sizeof f);
    if (std::isfinite(d)) CheckText(d);
    if (std::isfinite(f)) CheckText(f);
  }
  return 0;
}
