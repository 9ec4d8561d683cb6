// The spark velocity generators: the shared speed jitter, a direction on a sphere, four solid
// shapes, the closed B-spline warp, the rotation of rings and the twister's emission point.
// Every Rnd is drawn in the order written, so a seed replays a show.
#pragma once

#include <cstdint>

#include "engine/show_state.h"

namespace glintora {

struct Vec3 {
  float X = 0, Y = 0, Z = 0;
};

enum WarpMode : std::int16_t { kWarpSphere = 0, kWarpSpline = 1, kWarpPattern = 2 };

float SparkSpeed(ShowState& st, float size);
void SphereVelocity(ShowState& st, float& vx, float& vy, float& vz, float r);
void PatternVelocity(ShowState& st, float& vx, float& vy, float& vz, std::int16_t pattern, float size);
void SeedSplineKnots(ShowState& st, float x, float y, float z);
float BSplinePoint(float t, float p0, float p1, float p2, float p3);
void SplineVelocity(ShowState& st, float& vx, float& vy, float& vz, float x, float y, float z,
                    float size, bool halve);
// The generator of the warp mode; speed is used by the sphere only.
void BurstVelocity(ShowState& st, float& vx, float& vy, float& vz, float x, float y, float z,
                   float speed, std::int16_t mode, std::int16_t pattern, float size, bool halve);
// Rotation by b about the Y axis, then by a about the X axis.
Vec3 RotateYX(float x, float y, float z, float a, float b);
// The point FireTwistExt from (x, y, z) at right angles to its direction from the centre,
// swinging by FireTwistDeg per call; advances angle.
Vec3 TwistEmitPoint(const ShowState& st, float x, float y, float z, float cx, float cy, float cz,
                    float& angle);

}  // namespace glintora
