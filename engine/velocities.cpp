#include "engine/velocities.h"

#include <cmath>

namespace glintora {

namespace {

// A table index from a draw in [0, 1): 0..1000.
inline std::int32_t TableIndex(float rnd) { return RoundSmall(static_cast<double>(rnd) * 1000); }

}  // namespace

float SparkSpeed(ShowState& st, float size) {
  const double sym = st.S.FireSymmetry;
  return Single(((1 - sym) * st.Rnd() + sym) * static_cast<double>(st.S.FireSpeed) * size);
}

void SphereVelocity(ShowState& st, float& vx, float& vy, float& vz, float r) {
  const std::int32_t a = TableIndex(st.Rnd());
  const std::int32_t b = TableIndex(st.Rnd());
  const auto& t = *st.Trig;
  const double rr = r;
  vx = Single(rr * t.Cos[b] * t.Sin[a]);
  const double s = Sign(static_cast<double>(st.Rnd()) - 0.5);
  vy = Single(s * rr * t.Sin[b] * t.Sin[a]);
  vz = Single(rr * t.Cos[a]);
}

void PatternVelocity(ShowState& st, float& vx, float& vy, float& vz, std::int16_t pattern,
                     float size) {
  const double s = Single(static_cast<double>(SparkSpeed(st, size)) * 0.6666);
  const double w = 2 * s;
  auto U = [&]() { return static_cast<double>(st.Rnd()) * w - s; };
  // A zero speed makes a zero-width shape: the spark stands still rather than divide by zero.
  auto Share = [&](double num) { return w == 0 ? 0.0 : num / w; };
  switch (pattern) {
    case 0: {
      const std::int32_t face = Floor(static_cast<double>(st.Rnd()) * 6);
      double a = 0, b = 0, c = 0;
      switch (face) {
        case 0: a = s; b = U(); c = U(); break;
        case 1: a = -s; b = U(); c = U(); break;
        case 2: a = U(); b = s; c = U(); break;
        case 3: a = U(); b = -s; c = U(); break;
        case 4: a = U(); b = U(); c = s; break;
        default: a = U(); b = U(); c = -s; break;
      }
      vx = Single(a);
      vy = Single(b);
      vz = Single(c);
      break;
    }
    case 1: {
      vy = Single(U());
      vx = Single(Share(U() * (s + vy)));
      vz = Single(Share(U() * (s + vy)));
      break;
    }
    case 2: {
      vy = Single(U());
      vx = Single(Share(U() * (s - vy)));
      vz = Single(Share(U() * (s - vy)));
      break;
    }
    case 3: {
      vy = Single(static_cast<double>(st.Rnd()) * 4 * s - w);
      const std::int32_t k = TableIndex(st.Rnd());
      const double spread = w - std::fabs(static_cast<double>(vy));
      vx = Single(spread * st.Trig->Cos[k] * 0.5);
      vz = Single(Sign(static_cast<double>(st.Rnd()) - 0.5) * spread * st.Trig->Sin[k] * 0.5);
      break;
    }
    default:
      break;
  }
}

void SeedSplineKnots(ShowState& st, float x, float y, float z) {
  const std::int32_t k = st.S.FireSplineKnot;
  auto& kx = st.S.KnotX;
  auto& ky = st.S.KnotY;
  auto& kz = st.S.KnotZ;
  for (std::int32_t i = 0; i <= k - 3; ++i) {
    kx[i] = Single(static_cast<double>(st.Rnd()) * 4 - 2 + x);
    ky[i] = Single(static_cast<double>(st.Rnd()) * 4 - 2 + y);
    kz[i] = Single(static_cast<double>(st.Rnd()) * 4 - 2 + z);
  }
  for (std::int32_t i = 0; i < 3; ++i) {
    kx[k - 2 + i] = kx[i];
    ky[k - 2 + i] = ky[i];
    kz[k - 2 + i] = kz[i];
  }
}

float BSplinePoint(float t, float p0, float p1, float p2, float p3) {
  const double T = t, a = p0, b = p1, c = p2, d = p3;
  return Single(((-a + 3 * b - 3 * c + d) * T * T * T + (3 * a - 6 * b + 3 * c) * T * T +
                 (-3 * a + 3 * c) * T + (a + 4 * b + c)) *
                0.16666667);
}

void SplineVelocity(ShowState& st, float& vx, float& vy, float& vz, float x, float y, float z,
                    float size, bool halve) {
  const std::int32_t seg = Floor(static_cast<double>(st.Rnd()) * (st.S.FireSplineKnot - 2));
  const float t = st.Rnd();
  const auto& kx = st.S.KnotX;
  const auto& ky = st.S.KnotY;
  const auto& kz = st.S.KnotZ;
  const float px = BSplinePoint(t, kx[seg], kx[seg + 1], kx[seg + 2], kx[seg + 3]);
  const float py = BSplinePoint(t, ky[seg], ky[seg + 1], ky[seg + 2], ky[seg + 3]);
  const float pz = BSplinePoint(t, kz[seg], kz[seg + 1], kz[seg + 2], kz[seg + 3]);
  const double k = static_cast<double>(st.S.FireSpeed) * size * (halve ? 0.5 : 1.0);
  vx = Single((static_cast<double>(px) - x) * k);
  vy = Single((static_cast<double>(py) - y) * k);
  vz = Single((static_cast<double>(pz) - z) * k);
}

void BurstVelocity(ShowState& st, float& vx, float& vy, float& vz, float x, float y, float z,
                   float speed, std::int16_t mode, std::int16_t pattern, float size, bool halve) {
  switch (mode) {
    case kWarpSphere: SphereVelocity(st, vx, vy, vz, speed); break;
    case kWarpSpline: SplineVelocity(st, vx, vy, vz, x, y, z, size, halve); break;
    case kWarpPattern: PatternVelocity(st, vx, vy, vz, pattern, size); break;
    default: break;
  }
}

Vec3 RotateYX(float x, float y, float z, float a, float b) {
  const double ca = std::cos(static_cast<double>(a)), sa = std::sin(static_cast<double>(a));
  const double cb = std::cos(static_cast<double>(b)), sb = std::sin(static_cast<double>(b));
  const double X = x, Y = y, Z = z;
  const double t = Z * cb + X * sb;
  Vec3 r;
  r.X = Single(X * cb - Z * sb);
  r.Y = Single(t * sa + Y * ca);
  r.Z = Single(-Y * sa + t * ca);
  return r;
}

Vec3 TwistEmitPoint(const ShowState& st, float x, float y, float z, float cx, float cy, float cz,
                    float& angle) {
  const Vec3 r = RotateYX(Single(static_cast<double>(x) - cx), Single(static_cast<double>(y) - cy),
                          Single(static_cast<double>(z) - cz), 1.5707964f, angle);
  const double len = std::sqrt(static_cast<double>(r.X) * r.X + static_cast<double>(r.Y) * r.Y +
                               static_cast<double>(r.Z) * r.Z);
  double k = st.S.FireTwistExt / (len + 0.000000001);
  const double full = 0.62831855;
  if (static_cast<double>(angle) < full) k *= angle / full;
  Vec3 e;
  e.X = Single(x + r.X * k);
  e.Y = Single(y + r.Y * k);
  e.Z = Single(z + r.Z * k);
  angle = Single(angle + st.S.FireTwistDeg * 0.017453292);
  return e;
}

}  // namespace glintora
