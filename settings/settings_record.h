// The record of every parameter of the show, named by its store key. Filled by the loaders
// (settings/loaders.h) and read by the engine and the windows. One instance, owned by the
// program's entry and passed by reference.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace glintora {

struct SettingsRecord {
  // Firework parameters, section "Fireworks", in the record's order.
  std::int16_t FireWorks = 0;
  std::int16_t FireSparks = 0;
  std::int16_t FireLength = 0;
  float FireSymmetry = 0;
  std::int16_t FireSizeDev = 0;
  float FireDamping = 0;
  float FireSpeed = 0;
  float FirePersist = 0;
  float FireGravity = 0;
  std::int16_t FireSplinePct = 0;
  std::int16_t FireSplineKnot = 0;
  std::int16_t FireScintPct = 0;
  std::int16_t FireScintStyle = 0;
  std::int16_t FireMultiPct = 0;
  std::int16_t FireMultiAge = 0;
  std::int16_t FireMultiBurst = 0;
  bool FireMultiMoment = false;
  std::int16_t FireBurstPct = 0;
  std::int16_t FireBurstAge = 0;
  std::int16_t FireBurstCount = 0;
  float FireBurstRadius = 0;
  bool FireBurstShell = false;
  std::int16_t FireSparkPct = 0;
  std::int16_t FireSparkAge = 0;
  std::int16_t FireSparkPix = 0;
  std::int16_t FireRingPct = 0;
  std::int16_t FireRingEmb = 0;
  std::int16_t FireRingDeg = 0;
  std::int16_t FireTwistPct = 0;
  std::int16_t FireTwistCnt = 0;
  std::int16_t FireTwistDeg = 0;
  float FireTwistRad = 0;
  float FireTwistExt = 0;
  std::int16_t FireDecayPct = 0;
  std::int16_t FireDecayCnt = 0;
  float FireDecayMSize = 0;
  std::int16_t FireDecayMLife = 0;
  std::int16_t FirePatternPct = 0;
  std::int16_t FireLaunchPct = 0;
  std::int16_t FireLaunchPixel = 0;
  float FireLaunchRadius = 0;
  std::int16_t FireLaunchSteps = 0;
  float FireLaunchPersist = 0;

  // Colour parameters, sections "General" and "PixelColor".
  std::int16_t ColorRed = 0;
  std::int16_t ColorGrn = 0;
  std::int16_t ColorBlu = 0;
  std::int16_t ColorPctInt = 0;
  std::int16_t ColorPctHue = 0;
  std::int16_t ColorHueWheel = 0;

  // Advanced parameters, section "Advanced".
  float FocalLength = 0;
  std::int32_t Adv_TimeDelay = 0;
  std::string Adv_FontName;
  std::int16_t Adv_FontSize = 0;
  std::int16_t Adv_FontHueV = 0;
  std::string LockMessage;
  std::string Adv_WinResize;
  std::string Adv_MouseMove;

  // Section "SoundFX": sound effects play when this reads exactly "1".
  std::string SoundFX_ON;

  // Derived by LoadAdvancedParams and LoadFireParams for the engine.
  std::int16_t SurfaceWidth = 0;
  std::int16_t SurfaceHeight = 0;
  std::int16_t CenterX = 0;
  std::int16_t CenterY = 0;
  float ProjectionScale = 0;
  std::array<std::uint32_t, 360> HueWheel{};  // 0x00BBGGRR per hue degree
  std::vector<float> KnotX, KnotY, KnotZ;     // indices 0..FireSplineKnot
};

}  // namespace glintora
