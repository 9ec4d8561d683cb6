#include "display/settings_report.h"

#include "settings/numbers.h"

namespace glintora {

namespace {

void Add(std::string& out, const char* key, const std::string& value) {
  out += ' ';
  out += key;
  out += '=';
  out += value;
}
void Add(std::string& out, const char* key, int value) { Add(out, key, NumberText(value)); }
void Add(std::string& out, const char* key, float value) { Add(out, key, NumberText(value)); }
void Add(std::string& out, const char* key, bool value) { Add(out, key, value ? 1 : 0); }

}  // namespace

std::string SettingsReport(const SettingsRecord& r) {
  std::string s = "settings:";
#define GLINTORA_FIELD(name) Add(s, #name, r.name)
  GLINTORA_FIELD(FireWorks);
  GLINTORA_FIELD(FireSparks);
  GLINTORA_FIELD(FireLength);
  GLINTORA_FIELD(FireSymmetry);
  GLINTORA_FIELD(FireSizeDev);
  GLINTORA_FIELD(FireDamping);
  GLINTORA_FIELD(FireSpeed);
  GLINTORA_FIELD(FirePersist);
  GLINTORA_FIELD(FireGravity);
  GLINTORA_FIELD(FireSplinePct);
  GLINTORA_FIELD(FireSplineKnot);
  GLINTORA_FIELD(FireScintPct);
  GLINTORA_FIELD(FireScintStyle);
  GLINTORA_FIELD(FireMultiPct);
  GLINTORA_FIELD(FireMultiAge);
  GLINTORA_FIELD(FireMultiBurst);
  GLINTORA_FIELD(FireMultiMoment);
  GLINTORA_FIELD(FireBurstPct);
  GLINTORA_FIELD(FireBurstAge);
  GLINTORA_FIELD(FireBurstCount);
  GLINTORA_FIELD(FireBurstRadius);
  GLINTORA_FIELD(FireBurstShell);
  GLINTORA_FIELD(FireSparkPct);
  GLINTORA_FIELD(FireSparkAge);
  GLINTORA_FIELD(FireSparkPix);
  GLINTORA_FIELD(FireRingPct);
  GLINTORA_FIELD(FireRingEmb);
  GLINTORA_FIELD(FireRingDeg);
  GLINTORA_FIELD(FireTwistPct);
  GLINTORA_FIELD(FireTwistCnt);
  GLINTORA_FIELD(FireTwistDeg);
  GLINTORA_FIELD(FireTwistRad);
  GLINTORA_FIELD(FireTwistExt);
  GLINTORA_FIELD(FireDecayPct);
  GLINTORA_FIELD(FireDecayCnt);
  GLINTORA_FIELD(FireDecayMSize);
  GLINTORA_FIELD(FireDecayMLife);
  GLINTORA_FIELD(FirePatternPct);
  GLINTORA_FIELD(FireLaunchPct);
  GLINTORA_FIELD(FireLaunchPixel);
  GLINTORA_FIELD(FireLaunchRadius);
  GLINTORA_FIELD(FireLaunchSteps);
  GLINTORA_FIELD(FireLaunchPersist);
  GLINTORA_FIELD(ColorRed);
  GLINTORA_FIELD(ColorGrn);
  GLINTORA_FIELD(ColorBlu);
  GLINTORA_FIELD(ColorPctInt);
  GLINTORA_FIELD(ColorPctHue);
  GLINTORA_FIELD(ColorHueWheel);
  GLINTORA_FIELD(FocalLength);
  GLINTORA_FIELD(Adv_TimeDelay);
  GLINTORA_FIELD(Adv_FontName);
  GLINTORA_FIELD(Adv_FontSize);
  GLINTORA_FIELD(Adv_FontHueV);
  GLINTORA_FIELD(SurfaceWidth);
  GLINTORA_FIELD(SurfaceHeight);
  GLINTORA_FIELD(LockMessage);
#undef GLINTORA_FIELD
  return s;
}

}  // namespace glintora
