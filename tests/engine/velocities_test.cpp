// The velocity generators' edge cases, each on its own random source.
#include "engine/velocities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
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
    st.S.FireSpeed = 6;
    st.S.FireSymmetry = 1;
  }
};

TEST(Velocities, EdgeCases) {
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
}

// The rotation, each sign of it by a quarter turn of a unit vector, and the twister's emission
// point of a leader one unit deeper than its centre: at right angles, 0.5 (FireTwistExt) away once
// the angle reaches 0.62831855, nearer in proportion before; the angle then grows by 15 degrees.
TEST(Velocities, RotationAndTwistEmission) {
  const float q = 1.5707964f;
  const struct { float x, y, z, a, b, ex, ey, ez; } turns[] = {
      {1, 0, 0, 0, q, 0, 0, 1}, {0, 0, 1, 0, q, -1, 0, 0}, {0, 1, 0, q, 0, 0, 0, -1}, {0, 0, 1, q, 0, 0, 1, 0}};
  for (const auto& t : turns) {
    const Vec3 r = RotateYX(t.x, t.y, t.z, t.a, t.b);
    EXPECT_NEAR(r.X, t.ex, 1e-6);
    EXPECT_NEAR(r.Y, t.ey, 1e-6);
    EXPECT_NEAR(r.Z, t.ez, 1e-6);
  }
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

// Each generator against its formula, fed the draws it takes (replayed from a copy of its source):
// the four pattern shapes, the sphere and the spline, halved and not.
TEST(Velocities, GeneratorsFollowTheirFormulas) {
  const double pi = 3.1415927f, sym = 0.25, speed = 6, size = 0.75;
  const auto sign = [](double x) { return static_cast<double>((x > 0) - (x < 0)); };
  const auto bspline = [](double t, const float* p) {
    return ((-p[0] + 3 * p[1] - 3 * p[2] + p[3]) * t * t * t + (3 * p[0] - 6 * p[1] + 3 * p[2]) * t * t +
            (-3 * p[0] + 3 * p[2]) * t + (p[0] + 4 * p[1] + p[2])) / 6;
  };
  Generators g(11);
  g.st.S.FireSymmetry = static_cast<float>(sym);  // the speed takes a draw that counts
  g.st.S.FireSplineKnot = 6;
  for (auto* knots : {&g.st.S.KnotX, &g.st.S.KnotY, &g.st.S.KnotZ}) knots->resize(7);
  SeedSplineKnots(g.st, 1, 2, 3);
  for (int n = 0; n < 700; ++n) {
    const int kind = n % 7;  // patterns 0..3, the sphere, the spline whole and halved
    Random r = *g.st.Rng;
    const auto rnd = [&] { return static_cast<double>(r.Next()); };
    double e[3] = {};
    if (kind < 4) {
      const double s = ((1 - sym) * rnd() + sym) * speed * size * 0.6666, w = 2 * s;
      const auto U = [&] { return rnd() * w - s; };
      if (kind == 0) {
        const int face = static_cast<int>(std::floor(rnd() * 6));  // x, -x, y, -y, z, -z
        for (int c = 0; c < 3; ++c) e[c] = c == face / 2 ? (face % 2 ? -s : s) : U();
      } else if (kind < 3) {
        e[1] = U();
        const double room = kind == 1 ? s + e[1] : s - e[1];
        e[0] = U() * room / w;
        e[2] = U() * room / w;
      } else {
        e[1] = rnd() * 4 * s - w;
        const double k = std::nearbyint(rnd() * 1000) * pi / 1000, room = w - std::fabs(e[1]);
        e[0] = room * std::cos(k) * 0.5;
        e[2] = sign(rnd() - 0.5) * room * std::sin(k) * 0.5;
      }
    } else if (kind == 4) {
      const double a = std::nearbyint(rnd() * 1000) * pi / 1000, b = std::nearbyint(rnd() * 1000) * pi / 1000;
      e[0] = 2 * std::cos(b) * std::sin(a);
      e[1] = sign(rnd() - 0.5) * 2 * std::sin(b) * std::sin(a);
      e[2] = 2 * std::cos(a);
    } else {
      const int seg = static_cast<int>(std::floor(rnd() * 4));
      const double t = rnd(), at[3] = {1, 2, 3};
      const float* knots[3] = {g.st.S.KnotX.data(), g.st.S.KnotY.data(), g.st.S.KnotZ.data()};
      for (int c = 0; c < 3; ++c) e[c] = (bspline(t, knots[c] + seg) - at[c]) * speed * size * (kind == 6 ? 0.5 : 1);
    }
    float v[3];
    const std::int16_t mode = kind < 4 ? kWarpPattern : kind == 4 ? kWarpSphere : kWarpSpline;
    BurstVelocity(g.st, v[0], v[1], v[2], 1, 2, 3, 2.0f, mode, static_cast<std::int16_t>(kind), static_cast<float>(size),
                  kind == 6);
    for (int c = 0; c < 3; ++c) ASSERT_NEAR(v[c], e[c], 2e-5) << "kind " << kind << ", draw " << n << ", axis " << c;
  }
}

}  // namespace
}  // namespace glintora
