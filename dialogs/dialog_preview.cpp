#include "dialogs/dialog_preview.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dialogs/props_fields.h"
#include "dialogs/text_entry.h"
#include "engine/show.h"
#include "settings/loaders.h"
#include "settings/numbers.h"
#include "settings/store_ops.h"

namespace glintora {

namespace {

using S = SettingsRecord;

// A field and the record member it fills; check boxes have box -1 and a flag member.
struct PreviewRead {
  int box;
  std::int16_t S::*whole;
  float S::*single;
  bool S::*flag;
  Control check;
};

PreviewRead W(int box, std::int16_t S::*m) { return {box, m, nullptr, nullptr, Control::TxtFire}; }
PreviewRead F(int box, float S::*m) { return {box, nullptr, m, nullptr, Control::TxtFire}; }
PreviewRead C(Control check, bool S::*m) { return {-1, nullptr, nullptr, m, check}; }

// The order the preview reads its fields in.
const PreviewRead kReads[] = {
    W(0, &S::FireWorks), W(1, &S::FireSparks), W(2, &S::FireLength), F(3, &S::FireSymmetry),
    F(4, &S::FireSpeed), F(5, &S::FirePersist), F(6, &S::FireGravity), W(7, &S::FireSizeDev),
    F(8, &S::FireDamping), W(9, &S::FireSplinePct), W(10, &S::FireSplineKnot),
    W(36, &S::FirePatternPct),
    W(13, &S::FireMultiPct), W(14, &S::FireMultiAge), W(15, &S::FireMultiBurst),
    C(Control::ChkMultiMom, &S::FireMultiMoment),
    W(16, &S::FireBurstPct), W(17, &S::FireBurstAge), W(18, &S::FireBurstCount),
    F(19, &S::FireBurstRadius),
    C(Control::ChkJetBurst, &S::FireBurstShell),
    W(25, &S::FireSparkPct), W(26, &S::FireSparkAge), W(27, &S::FireSparkPix),
    W(28, &S::FireRingPct), W(29, &S::FireRingEmb), W(30, &S::FireRingDeg),
    W(31, &S::FireTwistPct), W(32, &S::FireTwistCnt), W(33, &S::FireTwistDeg),
    F(34, &S::FireTwistRad), F(35, &S::FireTwistExt),
    W(50, &S::FireDecayPct), W(51, &S::FireDecayCnt), F(52, &S::FireDecayMSize),
    W(53, &S::FireDecayMLife),
    W(11, &S::FireScintPct), W(12, &S::FireScintStyle),
    W(20, &S::FireLaunchPct), W(21, &S::FireLaunchPixel), F(22, &S::FireLaunchRadius),
    W(23, &S::FireLaunchSteps), F(24, &S::FireLaunchPersist),
};

std::int16_t RoundSaturated(double value) {
  // A value beyond 16 bits takes the nearer end; the clamp that follows does the rest.
  if (auto v = RoundToInt16(value)) return *v;
  return value < 0 ? INT16_MIN : INT16_MAX;
}

}  // namespace

void PreparePreviewView(Store& store, SettingsRecord& s, double innerWidthTwips,
                        double innerHeightTwips, const RunState& run) {
  s.FocalLength = RegReadSingle(store, "Advanced", "FocalLength", 1.0f);
  s.Adv_TimeDelay = RegReadLong(store, "Advanced", "Adv_TimeDelay", 40);
  s.FocalLength = ClampSingle(s.FocalLength, 0.01f, 10.0f);
  double tx = run.TwipsPerPixelX > 0 ? run.TwipsPerPixelX : 15;
  double ty = run.TwipsPerPixelY > 0 ? run.TwipsPerPixelY : 15;
  s.SurfaceWidth = RoundSaturated(innerWidthTwips / tx);
  s.SurfaceHeight = RoundSaturated(innerHeightTwips / ty);
  s.CenterX = RoundSaturated(s.SurfaceWidth * 0.5);
  s.CenterY = RoundSaturated(s.SurfaceHeight * 0.5);
  s.ProjectionScale = static_cast<float>((s.CenterX + s.CenterY) * 0.5 * s.FocalLength);
}

void ReadPreviewColors(const DialogView& dialog, SettingsRecord& s) {
  auto value = [&](Control c, int i, std::int16_t hi) {
    return ClampInt(FieldIntSaturated(dialog.Text({c, i})), 0, hi);
  };
  s.ColorRed = value(Control::TxtPixHue, 0, 100);
  s.ColorGrn = value(Control::TxtPixHue, 1, 100);
  s.ColorBlu = value(Control::TxtPixHue, 2, 100);
  s.ColorPctInt = value(Control::TxtPixCol, 0, 100);
  s.ColorPctHue = value(Control::TxtPixCol, 1, 100);
  s.ColorHueWheel = value(Control::TxtPixCol, 2, 360);
  BuildHueWheel(s);
}

void ReadPreviewFireFields(const DialogView& dialog, SettingsRecord& s) {
  for (const PreviewRead& r : kReads) {
    if (r.flag) {
      s.*r.flag = dialog.CheckValue({r.check, 0}) == 1;
      continue;
    }
    const FireFieldInfo* field = FireFieldForBox(r.box);
    double value = FieldValue(dialog.Text({Control::TxtFire, r.box}));
    if (r.whole) {
      s.*r.whole = ClampInt(RoundSaturated(value), static_cast<std::int16_t>(field->setting->dialogLo),
                            static_cast<std::int16_t>(field->setting->dialogHi));
    } else {
      float single = ToSingle(value).value_or(std::numeric_limits<float>::max());
      s.*r.single = ClampSingle(single, static_cast<float>(field->setting->dialogLo),
                                static_cast<float>(field->setting->dialogHi));
    }
  }
  s.FireGravity = static_cast<float>(s.FireGravity * 0.005);
  s.FireDamping = static_cast<float>((1 - static_cast<double>(s.FireDamping)) * 0.5 + 0.5);
  s.FireSparks = std::min<std::int16_t>(s.FireSparks, static_cast<std::int16_t>(30000 / s.FireWorks));
  s.FireLaunchPixel = std::min(s.FireLaunchPixel, s.FireSparks);
  s.FireTwistRad = static_cast<float>(s.FireTwistRad * 0.0025);
  s.FireTwistExt = static_cast<float>(s.FireTwistExt * 0.0025);
  s.FireBurstRadius = static_cast<float>(s.FireBurstRadius * 0.0025);
  s.FireLaunchRadius = static_cast<float>(s.FireLaunchRadius * 0.0025);
  const auto knots = static_cast<std::size_t>(s.FireSplineKnot) + 1;
  s.KnotX.assign(knots, 0.0f);
  s.KnotY.assign(knots, 0.0f);
  s.KnotZ.assign(knots, 0.0f);
}

void RunDialogPreview(const DialogView& dialog, EngineRecord& engine, SettingsRecord& settings,
                      RunState& run) {
  ReadPreviewFireFields(dialog, settings);
  RunShow(engine, settings, run);
}

}  // namespace glintora
