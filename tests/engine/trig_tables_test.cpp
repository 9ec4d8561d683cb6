#include "engine/trig_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace glintora {
namespace {

std::int32_t Bits(float f) {
  std::int32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

// The tables are written out in the source; every entry must be exactly what this C library's
// cos and sin of k * pi / 1000 give, rounded to float: a one-bit change alters every replayed show.
TEST(TrigTables, EveryEntryIsTheFunctionAtItsAngle) {
  TrigTables t;
  BuildTrigTables(t);
  const double pi = static_cast<double>(3.1415927f);
  for (int k = 0; k <= 1000; ++k) {
    const double angle = k * pi / 1000;
    EXPECT_EQ(Bits(t.Cos[k]), Bits(static_cast<float>(std::cos(angle)))) << "cos " << k;
    EXPECT_EQ(Bits(t.Sin[k]), Bits(static_cast<float>(std::sin(angle)))) << "sin " << k;
  }
}

}  // namespace
}  // namespace glintora
