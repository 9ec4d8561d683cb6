// The velocity generators' edge cases, each on its own random source.
#include "engine/velocities.h"

#include <gtest/gtest.h>

#include <tuple>

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
    st.S.FireSpeed = 6;
    st.S.FireSymmetry = 1;
  }
};

TEST(Velocities, EdgeCases) {
  // Symmetry 1: every spark flies at exactly FireSpeed * size.
  Generators a(1);
  for (int n = 0; n < 100; ++n) ASSERT_EQ(a.st.S.FireSpeed * 0.5f, SparkSpeed(a.st, 0.5f));

  // A sign drawn at exactly 0.5 is 0: this seed's third draw is 0.5, the sphere's sign.
  Generators b(0xc798679551625ef6ull);
  float vx = 0, vy = 1, vz = 0;
  SphereVelocity(b.st, vx, vy, vz, 2.0f);
  EXPECT_EQ(vy, 0.0f);
  EXPECT_NE(vx, 0.0f);
  EXPECT_NE(vz, 0.0f);

  // Four knots: two drawn, then knots 2, 3 and 4 repeat knots 0, 1 and 2 to close the curve.
  Generators c(3);
  c.st.S.FireSplineKnot = 4;
  c.st.S.KnotX.resize(5);
  c.st.S.KnotY.resize(5);
  c.st.S.KnotZ.resize(5);
  SeedSplineKnots(c.st, 10, 20, 30);
  const auto& k = c.st.S.KnotX;
  EXPECT_NE(k[0], k[1]);
  EXPECT_EQ(k, std::decay_t<decltype(k)>({k[0], k[1], k[0], k[1], k[0]}));
  EXPECT_NEAR(c.st.S.KnotZ[1], 30, 2);

  // Twist 0 degrees: the angle stays 0 and the emission point stays at the leader.
  Generators d(4);
  d.st.S.FireTwistDeg = 0;
  d.st.S.FireTwistExt = 0.0625f;
  float angle = 0;
  for (int n = 0; n < 3; ++n) {
    const Vec3 e = TwistEmitPoint(d.st, 1, 2, 3, 0, 0, 0, angle);
    EXPECT_EQ(std::make_tuple(angle, e.X, e.Y, e.Z), std::make_tuple(0.0f, 1.0f, 2.0f, 3.0f));
  }
}

}  // namespace
}  // namespace glintora
