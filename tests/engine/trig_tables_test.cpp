#include "engine/trig_tables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glintora {
namespace {

// The tables are written out in the source; every entry must be exactly what this C library's
// cos and sin of k * pi / 1000 give, rounded to float: a one-bit change alters every replayed show.
TEST(TrigTables, EveryEntryIsTheFunctionAtItsAngle) {
  TrigTables t;
  BuildTrigTables(t);
  const double pi = static_cast<double>(3.1415927f);
  for (int k = 0; k <= 1000; ++k) {
    const double angle = k * pi / 1000;
    EXPECT_EQ(t.Cos[k], static_cast<float>(std::cos(angle))) << "cos " << k;  // exactly, not nearly
    EXPECT_EQ(t.Sin[k], static_cast<float>(std::sin(angle))) << "sin " << k;
  }
}

}  // namespace
}  // namespace glintora
