// Sections: typed reads by table key; LoadFireParams; LoadColorParams; the hue wheel;
// LoadAdvancedParams and the surface geometry.
#include "settings/loaders.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/text.h"

namespace glintora {

namespace {

const SettingDef& Def(const char* key) { return *FindSetting(key); }

std::int16_t ReadInt(Store& store, const char* key) {
  const SettingDef& def = Def(key);
  const auto fallback = RoundToInt16(LeadingNumber(def.defaultText)).value_or(0);
  return RegReadInt(store, def.section, def.key, fallback);
}

std::int32_t ReadLong(Store& store, const char* key) {
  const SettingDef& def = Def(key);
  const auto fallback = RoundToInt32(LeadingNumber(def.defaultText)).value_or(0);
  return RegReadLong(store, def.section, def.key, fallback);
}

float ReadSingle(Store& store, const char* key) {
  const SettingDef& def = Def(key);
  return RegReadSingle(store, def.section, def.key, static_cast<float>(LeadingNumber(def.defaultText)));
}

std::string ReadText(Store& store, const char* key) {
  const SettingDef& def = Def(key);
  return RegReadText(store, def.section, def.key, def.defaultText);
}

// User units to engine units; double arithmetic, single storage.
float EngineRadius(float radius) { return static_cast<float>(static_cast<double>(radius) * 0.0025); }

// A pixel count from a scale size, kept within what the record's 16-bit fields hold.
std::int16_t PixelCount(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(std::clamp(value, 0.0, 32767.0));
  return static_cast<std::int16_t>(r);
}

std::uint32_t Channel(double value) {
  return static_cast<std::uint32_t>(std::clamp(std::floor(value), 0.0, 255.0));
}

}  // namespace

void LoadFireParams(Store& store, SettingsRecord& r) {
  r.FireWorks = ReadInt(store, "FireWorks");
  r.FireSparks = ReadInt(store, "FireSparks");
  r.FireLength = ReadInt(store, "FireLength");
  r.FireSymmetry = ReadSingle(store, "FireSymmetry");
  r.FireSizeDev = ReadInt(store, "FireSizeDev");
  r.FireDamping = ReadSingle(store, "FireDamping");
  r.FireSpeed = ReadSingle(store, "FireSpeed");
  r.FirePersist = ReadSingle(store, "FirePersist");
  r.FireGravity = ReadSingle(store, "FireGravity");
  r.FireSplinePct = ReadInt(store, "FireSplinePct");
  r.FireSplineKnot = ReadInt(store, "FireSplineKnot");
  r.FireScintPct = ReadInt(store, "FireScintPct");
  r.FireScintStyle = ReadInt(store, "FireScintStyle");
  r.FireMultiPct = ReadInt(store, "FireMultiPct");
  r.FireMultiAge = ReadInt(store, "FireMultiAge");
  r.FireMultiBurst = ReadInt(store, "FireMultiBurst");
  r.FireMultiMoment = ReadInt(store, "FireMultiMoment") == 1;
  r.FireBurstPct = ReadInt(store, "FireBurstPct");
  r.FireBurstAge = ReadInt(store, "FireBurstAge");
  r.FireBurstCount = ReadInt(store, "FireBurstCount");
  r.FireBurstRadius = ReadSingle(store, "FireBurstRadius");
  r.FireBurstShell = ReadInt(store, "FireBurstShell") == 1;
  r.FireSparkPct = ReadInt(store, "FireSparkPct");
  r.FireSparkAge = ReadInt(store, "FireSparkAge");
  r.FireSparkPix = ReadInt(store, "FireSparkPix");
  r.FireRingPct = ReadInt(store, "FireRingPct");
  r.FireRingEmb = ReadInt(store, "FireRingEmb");
  r.FireRingDeg = ReadInt(store, "FireRingDeg");
  r.FireTwistPct = ReadInt(store, "FireTwistPct");
  r.FireTwistCnt = ReadInt(store, "FireTwistCnt");
  r.FireTwistDeg = ReadInt(store, "FireTwistDeg");
  r.FireTwistRad = ReadSingle(store, "FireTwistRad");
  r.FireTwistExt = ReadSingle(store, "FireTwistExt");
  r.FireDecayPct = ReadInt(store, "FireDecayPct");
  r.FireDecayCnt = ReadInt(store, "FireDecayCnt");
  // Stored with the other type: the size is read as a whole number, the life as a single.
  r.FireDecayMSize = ReadInt(store, "FireDecayMSize");
  {
    const SettingDef& life = Def("FireDecayMLife");
    const float value = RegReadSingle(store, life.section, life.key, 80.0f);
    r.FireDecayMLife = RoundToInt16(value).value_or(80);
  }
  r.FirePatternPct = ReadInt(store, "FirePatternPct");
  r.FireLaunchPct = ReadInt(store, "FireLaunchPct");
  r.FireLaunchPixel = ReadInt(store, "FireLaunchPixel");
  r.FireLaunchRadius = ReadSingle(store, "FireLaunchRadius");
  r.FireLaunchSteps = ReadInt(store, "FireLaunchSteps");
  r.FireLaunchPersist = ReadSingle(store, "FireLaunchPersist");

  if (r.FireWorks != 0) {
    const int cap = 30000 / r.FireWorks;
    r.FireSparks = static_cast<std::int16_t>(std::min<int>(r.FireSparks, cap));
  }
  r.FireLaunchPixel = std::min(r.FireLaunchPixel, r.FireSparks);

  r.FireTwistRad = EngineRadius(r.FireTwistRad);
  r.FireTwistExt = EngineRadius(r.FireTwistExt);
  r.FireBurstRadius = EngineRadius(r.FireBurstRadius);
  r.FireLaunchRadius = EngineRadius(r.FireLaunchRadius);

  // A negative knot count would leave no valid index; keep index 0 at least.
  const std::size_t knots = static_cast<std::size_t>(std::max<int>(r.FireSplineKnot, 0)) + 1;
  r.KnotX.assign(knots, 0.0f);
  r.KnotY.assign(knots, 0.0f);
  r.KnotZ.assign(knots, 0.0f);
}

void LoadColorParams(Store& store, SettingsRecord& r) {
  r.ColorRed = ReadInt(store, "ColorRed");
  r.ColorGrn = ReadInt(store, "ColorGrn");
  r.ColorBlu = ReadInt(store, "ColorBlu");
  r.ColorPctInt = ReadInt(store, "ColorPctInt");
  r.ColorPctHue = ReadInt(store, "ColorPctHue");
  r.ColorHueWheel = ReadInt(store, "ColorHueWheel");
}

std::uint32_t HueColor(int hue, int red, int green, int blue) {
  if (hue >= 360) return 0;
  // The wheel's own constant, a shade below 1/60: hue 90 gives red floor(155.0004).
  const double f = static_cast<double>(hue % 60) * 0.0166666;
  const auto peak = [](int percent) { return 2.0 * percent + 55.0; };
  const auto rising = [f](int percent) { return std::floor(2.0 * f * percent + 55.0); };
  const auto falling = [f](int percent) { return std::floor(2.0 * (1.0 - f) * percent + 55.0); };
  double r = 55, g = 55, b = 55;
  if (hue < 60) {
    r = peak(red), g = rising(green);
  } else if (hue < 120) {
    r = falling(red), g = peak(green);
  } else if (hue < 180) {
    g = peak(green), b = rising(blue);
  } else if (hue < 240) {
    g = falling(green), b = peak(blue);
  } else if (hue < 300) {
    r = rising(red), b = peak(blue);
  } else {
    r = peak(red), b = falling(blue);
  }
  return Channel(r) | (Channel(g) << 8) | (Channel(b) << 16);
}

void BuildHueWheel(SettingsRecord& r) {
  for (int h = 0; h < 360; ++h) {
    r.HueWheel[static_cast<std::size_t>(h)] = HueColor(h, r.ColorRed, r.ColorGrn, r.ColorBlu);
  }
}

void LoadAdvancedParams(Store& store, SettingsRecord& r, const SurfaceScale& surface) {
  LoadColorParams(store, r);
  BuildHueWheel(r);

  r.FocalLength = ReadSingle(store, "FocalLength");
  // A negative delay waits no time, exactly as zero does; the frame wait needs no other case.
  r.Adv_TimeDelay = std::max<std::int32_t>(0, ReadLong(store, "Adv_TimeDelay"));
  r.Adv_FontName = ReadText(store, "Adv_FontName");
  r.Adv_FontSize = ReadInt(store, "Adv_FontSize");
  r.Adv_FontHueV = ReadInt(store, "Adv_FontHueV");
  r.LockMessage = ReadText(store, "LockMessage");
  r.Adv_WinResize = ReadText(store, "Adv_WinResize");
  r.Adv_MouseMove = ReadText(store, "Adv_MouseMove");
  r.SoundFX_ON = ReadText(store, "SoundFX_ON");

  r.FocalLength = ClampSingle(r.FocalLength, 0.01f, 10.0f);
  if (r.Adv_FontName.empty()) r.Adv_FontName = "MS Sans Serif";
  r.Adv_FontSize = ClampInt(r.Adv_FontSize, 10, 80);
  r.Adv_FontHueV = ClampInt(r.Adv_FontHueV, 0, 359);
  r.LockMessage = std::string(FirstCharacters(TrimBlanks(r.LockMessage), kLockMessageMax));

  const double perPixelX = surface.isPreview ? surface.twipsPerPixelX : 1.0;
  const double perPixelY = surface.isPreview ? surface.twipsPerPixelY : 1.0;
  r.SurfaceWidth = PixelCount(surface.scaleWidth / perPixelX);
  r.SurfaceHeight = PixelCount(surface.scaleHeight / perPixelY);
  r.CenterX = static_cast<std::int16_t>(std::nearbyint(r.SurfaceWidth * 0.5));
  r.CenterY = static_cast<std::int16_t>(std::nearbyint(r.SurfaceHeight * 0.5));
  r.ProjectionScale =
      static_cast<float>((r.CenterX + r.CenterY) * 0.5 * static_cast<double>(r.FocalLength));
}

}  // namespace glintora
