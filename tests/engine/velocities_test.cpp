// The trigonometric tables, the velocity generators' sign draw and the twister's emission point.
#include "engine/velocities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "engine/trig_tables.h"

namespace glintora {
namespace {

struct Generators {
  Random rng;
  TrigTables trig;
  ShowState st;
  explicit Generators(std::uint64_t seed) : rng(seed) {
    BuildTrigTables(trig);
    st.Rng = &rng;
    st.Trig = &trig;
  }
};

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

TEST(Velocities, ASignDrawnAtAHalfIsZero) {
  // A sign drawn at exactly 0.5 is 0: this seed's third draw is 0.5, the sphere's sign.
  Generators b(0xc798679551625ef6ull);
  float vx = 0, vy = 1, vz = 0;
  SphereVelocity(b.st, vx, vy, vz, 2.0f);
  EXPECT_EQ(vy, 0.0f);
  EXPECT_NE(vx, 0.0f);
  EXPECT_NE(vz, 0.0f);
}

// The twister's emission point of a leader one unit deeper than its centre: at right angles,
// 0.5 (FireTwistExt) away once the angle reaches 0.62831855, nearer in proportion before; the
// angle then grows by 15 degrees. (The rotation's signs move every picture: the seeded shows pin
// them.)
TEST(Velocities, TwistEmission) {
  Generators d(4);
  d.st.S.FireTwistDeg = 15;
  d.st.S.FireTwistExt = 0.5f;
  const std::pair<float, double> rows[] = {{0.0f, 0}, {0.31415927f, 0.5}, {0.62831855f, 1}, {1.0f, 1}};
  for (const auto& [start, share] : rows) {
    float angle = start;
    const Vec3 e = TwistEmitPoint(d.st, 1, 2, 3, 1, 2, 2, angle);
    EXPECT_NEAR(e.X, 1 - 0.5 * share * std::sin(start), 1e-6) << start;
    EXPECT_NEAR(e.Y, 2 + 0.5 * share * std::cos(start), 1e-6) << start;
    EXPECT_NEAR(e.Z, 3, 1e-6) << start;
    EXPECT_NEAR(angle, start + 15 * 3.14159265 / 180, 1e-6);
  }
}

}  // namespace
}  // namespace glintora
