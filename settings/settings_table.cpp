#include "settings/settings_table.h"

#include <algorithm>

#include "settings/numbers.h"
#include "settings/text.h"

namespace glintora {

namespace {

using T = SettingType;
using D = DialogKind;
using B = BoxArray;

constexpr double kNo = 0;

SettingDef Fire(const char* key, T type, const char* def, D dialog, double lo, double hi,
                int box, int col) {
  return {key, kSectionFireworks, type, def, dialog, lo, hi, nullptr, false, kNo, kNo,
          box >= 0 ? B::Fire : B::None, box, nullptr, col};
}

SettingDef Check(const char* key, const char* control, int col) {
  return {key, kSectionFireworks, T::Flag, "1", D::Check, 0, 1, nullptr, false, kNo, kNo,
          B::None, -1, control, col};
}

SettingDef Color(const char* key, const char* section, const char* def, double hi,
                 const char* hiLess, B box, int index) {
  return {key, section, T::Int16, def, D::Int, 0, hi, hiLess, false, kNo, kNo, box, index,
          nullptr, -1};
}

SettingDef Other(const char* key, const char* section, T type, const char* def, D dialog,
                 double lo, double hi, bool clamp, double clampLo, double clampHi) {
  return {key, section, type, def, dialog, lo, hi, nullptr, clamp, clampLo, clampHi,
          B::None, -1, nullptr, -1};
}

std::vector<SettingDef> MakeTable() {
  return {
      Fire("FireWorks", T::Int16, "12", D::Int, 1, 99, 0, 0),
      Fire("FireSparks", T::Int16, "1200", D::Int, 10, 9999, 1, 1),
      Fire("FireLength", T::Int16, "5", D::Int, 1, 99, 2, 2),
      Fire("FireSymmetry", T::Single, "1", D::Dec, 0, 1, 3, 3),
      Fire("FireSizeDev", T::Int16, "3", D::Int, 1, 999, 7, 7),
      Fire("FireDamping", T::Single, "0.15", D::Dec, 0, 1, 8, 8),
      Fire("FireSpeed", T::Single, "6", D::Dec, 0.1, 99.9, 4, 4),
      Fire("FirePersist", T::Single, "0.97", D::Dec, 0.25, 0.99, 5, 5),
      Fire("FireGravity", T::Single, "0.015", D::Dec, 0, 9.9, 6, 6),
      Fire("FireSplinePct", T::Int16, "7", D::Int, 0, 100, 9, 14),
      Fire("FireSplineKnot", T::Int16, "8", D::Int, 4, 99, 10, 15),
      Fire("FireScintPct", T::Int16, "0", D::Int, 0, 100, 11, 26),
      Fire("FireScintStyle", T::Int16, "9", D::Int, 1, 9, 12, 27),
      Fire("FireMultiPct", T::Int16, "20", D::Int, 0, 100, 13, 17),
      Fire("FireMultiAge", T::Int16, "25", D::Int, 5, 99, 14, 18),
      Fire("FireMultiBurst", T::Int16, "16", D::Int, 1, 99, 15, 19),
      Check("FireMultiMoment", "chkMultiMom", 20),
      Fire("FireBurstPct", T::Int16, "10", D::Int, 0, 100, 16, 21),
      Fire("FireBurstAge", T::Int16, "20", D::Int, 5, 99, 17, 22),
      Fire("FireBurstCount", T::Int16, "12", D::Int, 1, 99, 18, 23),
      Fire("FireBurstRadius", T::Single, "3", D::Dec, 0.25, 99.9, 19, 24),
      Check("FireBurstShell", "chkJetBurst", 25),
      Fire("FireSparkPct", T::Int16, "10", D::Int, 0, 100, 25, 28),
      Fire("FireSparkAge", T::Int16, "25", D::Int, 5, 99, 26, 29),
      Fire("FireSparkPix", T::Int16, "5", D::Int, 1, 30, 27, 30),
      Fire("FireRingPct", T::Int16, "10", D::Int, 0, 100, 28, 31),
      Fire("FireRingEmb", T::Int16, "3", D::Int, 1, 99, 29, 32),
      Fire("FireRingDeg", T::Int16, "5", D::Int, 0, 180, 30, 33),
      Fire("FireTwistPct", T::Int16, "10", D::Int, 0, 100, 31, 34),
      Fire("FireTwistCnt", T::Int16, "12", D::Int, 1, 99, 32, 35),
      Fire("FireTwistDeg", T::Int16, "15", D::Int, 0, 90, 33, 36),
      Fire("FireTwistRad", T::Single, "2", D::Dec, 0.1, 99.9, 34, 37),
      Fire("FireTwistExt", T::Single, "25", D::Dec, 0, 999.9, 35, 38),
      Fire("FireDecayPct", T::Int16, "10", D::Int, 0, 100, 50, 39),
      Fire("FireDecayCnt", T::Int16, "80", D::Int, 1, 99, 51, 40),
      Fire("FireDecayMSize", T::Single, "300", D::Int, 1, 9999, 52, 41),
      Fire("FireDecayMLife", T::Int16, "80", D::Int, 5, 999, 53, 42),
      Fire("FirePatternPct", T::Int16, "40", D::Int, 0, 100, 36, 16),
      Fire("FireLaunchPct", T::Int16, "50", D::Int, 0, 100, 20, 9),
      Fire("FireLaunchPixel", T::Int16, "125", D::Int, 10, 999, 21, 10),
      Fire("FireLaunchRadius", T::Single, "1", D::Dec, 0.25, 99.9, 22, 11),
      Fire("FireLaunchSteps", T::Int16, "60", D::Int, 1, 999, 23, 12),
      Fire("FireLaunchPersist", T::Single, "0.85", D::Dec, 0.25, 0.99, 24, 13),

      Color("ColorRed", kSectionGeneral, "100", 100, nullptr, B::PixHue, 0),
      Color("ColorGrn", kSectionGeneral, "100", 100, nullptr, B::PixHue, 1),
      Color("ColorBlu", kSectionGeneral, "100", 100, nullptr, B::PixHue, 2),
      Color("ColorPctInt", kSectionPixelColor, "0", 100, "ColorPctHue", B::PixCol, 0),
      Color("ColorPctHue", kSectionPixelColor, "100", 100, "ColorPctInt", B::PixCol, 1),
      Color("ColorHueWheel", kSectionPixelColor, "60", 360, nullptr, B::PixCol, 2),

      Other("FocalLength", kSectionAdvanced, T::Single, "1.0", D::Dec, 0.01, 10, true, 0.01, 10),
      Other("Adv_TimeDelay", kSectionAdvanced, T::Int32, "40", D::Int, 0, 999, false, kNo, kNo),
      Other("Adv_FontName", kSectionAdvanced, T::Text, "Arial", D::None, kNo, kNo, false, kNo, kNo),
      Other("Adv_FontSize", kSectionAdvanced, T::Int16, "24", D::Int, 10, 80, true, 10, 80),
      Other("Adv_FontHueV", kSectionAdvanced, T::Int16, "180", D::Int, 0, 359, true, 0, 359),
      Other("LockMessage", kSectionAdvanced, T::Text, "", D::None, kNo, kNo, false, kNo, kNo),
      Other("Adv_WinResize", kSectionAdvanced, T::TextFlag, "0", D::Check, 0, 1, false, kNo, kNo),
      Other("Adv_MouseMove", kSectionAdvanced, T::TextFlag, "0", D::Check, 0, 1, false, kNo, kNo),

      Other("SoundFX_ON", kSectionSoundFX, T::TextFlag, "0", D::Check, 0, 1, false, kNo, kNo),
      Other("AnimationType", kSectionGeneral, T::Int16, "0", D::None, kNo, kNo, false, kNo, kNo),
  };
}

std::vector<const SettingDef*> Keys(std::initializer_list<const char*> keys) {
  std::vector<const SettingDef*> out;
  for (const char* key : keys) out.push_back(FindSetting(key));
  return out;
}

}  // namespace

const std::vector<SettingDef>& AllSettings() {
  static const std::vector<SettingDef> table = MakeTable();
  return table;
}

const SettingDef* FindSetting(std::string_view key) {
  for (const SettingDef& def : AllSettings()) {
    if (EqualsIgnoreCase(def.key, key)) return &def;
  }
  return nullptr;
}

const std::vector<const SettingDef*>& FireworkRecordOrder() {
  static const std::vector<const SettingDef*> order = [] {
    std::vector<const SettingDef*> out;
    for (const SettingDef& def : AllSettings()) {
      if (std::string_view(def.section) == kSectionFireworks) out.push_back(&def);
    }
    return out;
  }();
  return order;
}

const std::vector<const SettingDef*>& FireworkBoxOrder() {
  static const std::vector<const SettingDef*> order = [] {
    std::vector<const SettingDef*> out;
    for (const SettingDef* def : FireworkRecordOrder()) {
      if (def->box == BoxArray::Fire) out.push_back(def);
    }
    std::stable_sort(out.begin(), out.end(), [](const SettingDef* a, const SettingDef* b) {
      return a->boxIndex < b->boxIndex;
    });
    return out;
  }();
  return order;
}

const SettingDef* FireworkForBox(int index) {
  for (const SettingDef* def : FireworkBoxOrder()) {
    if (def->boxIndex == index) return def;
  }
  return nullptr;
}

const std::vector<const SettingDef*>& ColorOrder() {
  static const std::vector<const SettingDef*> order =
      Keys({"ColorRed", "ColorGrn", "ColorBlu", "ColorPctInt", "ColorPctHue", "ColorHueWheel"});
  return order;
}

const std::vector<const SettingDef*>& AdvancedTemplateOrder() {
  static const std::vector<const SettingDef*> order =
      Keys({"FocalLength", "Adv_TimeDelay", "LockMessage", "Adv_FontName", "Adv_FontSize",
            "Adv_FontHueV", "Adv_WinResize", "Adv_MouseMove"});
  return order;
}

std::string DialogRangeProblem(const SettingDef& def, std::string_view text) {
  const std::string name = def.key;
  if (def.dialog == DialogKind::None) {
    return FirstCharacters(text, 100).size() == text.size() ? std::string() : name + ": longer than 100 characters";
  }
  const auto number = ParseNumericText(text);
  if (!number) return name + ": '" + std::string(FirstCharacters(text, 20)) + "' is not a number";
  if (*number < def.dialogLo || *number > def.dialogHi ||
      (def.dialog != DialogKind::Dec && *number != static_cast<double>(static_cast<long long>(*number)))) {
    return name + ": " + std::string(FirstCharacters(text, 20)) + " is outside " + NumberText(def.dialogLo) + ".." +
           NumberText(def.dialogHi);
  }
  return {};
}

}  // namespace glintora
