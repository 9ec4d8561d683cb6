// Sections: field data | swatch | load | change (the rules) | keys, focus, spinners
#include "dialogs/props_fields.h"

#include <algorithm>
#include <array>

#include "settings/numbers.h"

namespace glintora {

namespace {

struct FireRow {
  int box;
  const char* caption;
  int maxLength;
  int page;
  int arrowStep;
  bool hasSpinner;
  int help;
};

// Main frame top to bottom, then the pages in list order.
constexpr FireRow kFireRows[] = {
    {0, "Shells (1 - 99):", 2, -1, 1, true, 1010},
    {1, "Sparks per Shell (10 - 9999):", 4, -1, 10, true, 1015},
    {2, "Max. Spark Trail Length (1 - 99):", 2, -1, 1, true, 1020},
    {3, "Spark Burst Symmetry (0.0 - 1.0):", 5, -1, 0, false, 1030},
    {4, "Spark Emit Speed (0.1 - 99):", 5, -1, 0, false, 1035},
    {5, "Spark Persistence (0.25 - 0.99):", 5, -1, 0, false, 1040},
    {6, "Vertical Gravity (0.0 - 9.9):", 5, -1, 0, false, 1050},
    {7, "Extent Magnitude (1 - 999):", 3, -1, 1, true, 1060},
    {8, "Atmospheric Damping (0.0 - 1.0):", 5, -1, 0, false, 1070},
    {20, "Launch Display Percent (0 - 100):", 3, 0, 0, false, 1110},
    {21, "Sparks per Launch (10 - 999):", 3, 0, 0, false, 1120},
    {22, "Spark Emission Radius (0.25 - 99.9):", 5, 0, 0, false, 1130},
    {23, "Steps during Launch (1 - 999)", 3, 0, 0, false, 1140},
    {24, "Spark Persistence (0.25 - 0.99):", 5, 0, 0, false, 1150},
    {9, "B-Spline Path Burst Percent (0 - 100):", 3, 1, 0, false, 1210},
    {10, "B-Spline Controls Points (4 - 99):", 2, 1, 0, false, 1220},
    {36, "Geometric Solid Burst Percent (0 - 100):", 3, 1, 0, false, 1230},
    {13, "Multi-Burst Percent (0 - 100):", 3, 2, 0, false, 1310},
    {14, "Frame Age to Multi-Burst (5 - 99):", 2, 2, 0, false, 1320},
    {15, "Shells per Multi-Burst (1 - 99):", 2, 2, 0, false, 1330},
    {16, "Jet-Burst Percent (0 - 100):", 3, 3, 0, false, 1410},
    {17, "Min. Age to Decay (5 - 99):", 2, 3, 0, false, 1420},
    {18, "Jets per Burst (1 - 99):", 2, 3, 0, false, 1430},
    {19, "Spark Emission Radius (0.25 - 99.9):", 5, 3, 0, false, 1440},
    {11, "Scintillator Percent (1 - 100):", 3, 4, 0, false, 1510},
    {12, "Style:  Maximum Pattern Size (1 - 9):", 1, 4, 0, false, 1520},
    {25, "Sparkle-Burst Percent (0 - 100):", 3, 5, 0, false, 1610},
    {26, "Frame Age to Sparkle-Burst (5 - 99):", 2, 5, 0, false, 1620},
    {27, "Pixels per Sparkle-Burst (1 - 30):", 2, 5, 0, false, 1630},
    {28, "Ring-Burst Percent (0 - 100):", 3, 6, 0, false, 1710},
    {29, "Embedded Rings (1 - 99):", 2, 6, 0, false, 1711},
    {30, "Band Width in Degrees (0 - 180):", 3, 6, 0, false, 1712},
    {31, "Twister Burst Percent (0 - 100):", 3, 7, 0, false, 1750},
    {32, "Twister Spark Elements (1 - 99):", 2, 7, 0, false, 1751},
    {33, "Spark Rotation Degrees (0 - 90):", 2, 7, 0, false, 1752},
    {34, "Spark Burst Radius (0.1 - 99.9):", 5, 7, 0, false, 1753},
    {35, "Spark Rotation Radius (0 - 999.9):", 5, 7, 0, false, 1754},
    {50, "Decaying Star Percent (0 - 100):", 3, 8, 0, false, 1760},
    {51, "Decaying Stars (1 - 99):", 3, 8, 0, false, 1761},
    {52, "Maximum Size (1 - 9999):", 4, 8, 0, false, 1762},
    {53, "Maximum Frames (1 - 999):", 3, 8, 0, false, 1763},
};

// The burst-type percentages and, for each as the changed field, the order its partners give way
// in (the last gives way first). The decaying stars leave the twisters the first claim.
constexpr std::array<int, 7> kBurstShares = {11, 13, 16, 25, 28, 31, 50};
constexpr std::array<int, 6> kDecayPartners = {31, 11, 13, 16, 25, 28};

ControlId Fire(int i) { return {Control::TxtFire, i}; }

}  // namespace

// --- field data ---

const std::vector<FireFieldInfo>& FireFields() {
  static const std::vector<FireFieldInfo> fields = [] {
    std::vector<FireFieldInfo> out;
    for (const SettingDef* def : FireworkBoxOrder()) {
      for (const FireRow& row : kFireRows) {
        if (row.box != def->boxIndex) continue;
        out.push_back({row.box, row.caption, row.maxLength, row.page, row.arrowStep,
                       row.hasSpinner, row.help, def});
      }
    }
    return out;
  }();
  return fields;
}

const FireFieldInfo* FireFieldForBox(int box) {
  for (const FireFieldInfo& f : FireFields()) {
    if (f.box == box) return &f;
  }
  return nullptr;
}

const std::vector<CheckInfo>& FireChecks() {
  static const std::vector<CheckInfo> checks = {
      {Control::ChkMultiMom, "Preserve Burst Momentum:", 2, 1340, FindSetting("FireMultiMoment")},
      {Control::ChkJetBurst, "Burst Shell on Trail Termination:", 3, 1450,
       FindSetting("FireBurstShell")},
  };
  return checks;
}

const std::vector<ColorFieldInfo>& ColorFields() {
  static const std::vector<ColorFieldInfo> fields = [] {
    static constexpr int kHelp[6] = {210, 220, 230, 250, 260, 265};
    std::vector<ColorFieldInfo> out;
    int n = 0;
    for (const SettingDef* def : ColorOrder()) {
      Control text = def->box == BoxArray::PixHue ? Control::TxtPixHue : Control::TxtPixCol;
      Control spin = def->box == BoxArray::PixHue ? Control::SpnPixHue : Control::SpnPixCol;
      int upper = static_cast<int>(def->dialogHi);
      out.push_back({{text, def->boxIndex}, {spin, def->boxIndex}, upper, upper > 100 ? 5 : 1,
                     kHelp[n++], def});
    }
    return out;
  }();
  return fields;
}

// --- swatch ---

std::uint32_t SwatchColor(int index, std::string_view text) {
  int v = std::clamp<int>(FieldIntSaturated(text), 0, 100);
  std::uint32_t level = static_cast<std::uint32_t>(2 * v + 55);
  return level << (8 * std::clamp(index, 0, 2));
}

// --- load ---

void PropsFieldModel::Link() {
  for (const FireFieldInfo& f : FireFields()) view_.SetMaxLength(Fire(f.box), f.maxLength);
  links_.clear();
  for (const ColorFieldInfo& c : ColorFields()) {
    links_.push_back(LinkSpinner(view_, c.field, c.spinner, 0, c.upper, 3));
  }
  for (const FireFieldInfo& f : FireFields()) {
    if (!f.hasSpinner) continue;
    links_.push_back(LinkSpinner(view_, Fire(f.box), {Control::SpnFire, f.box},
                                 static_cast<int>(f.setting->dialogLo),
                                 static_cast<int>(f.setting->dialogHi), f.maxLength));
  }
}

const SpinnerLink* PropsFieldModel::LinkOf(ControlId id) const {
  for (const SpinnerLink& link : links_) {
    if (link.field == id || link.spinner == id) return &link;
  }
  return nullptr;
}

// --- change: the cross-field rules ---

void PropsFieldModel::WritePartner(ControlId partner, int value) {
  std::string text = NumberText(value);
  if (view_.Text(partner) == text) return;
  // Set right before a write that really changes the text; the partner's change consumes it.
  inRuleWrite_ = true;
  view_.SetText(partner, text);
  inRuleWrite_ = false;
}

void PropsFieldModel::RuleParticleBudget(int changed) {
  int partner = changed == 0 ? 1 : 0;
  int cap = 30000 / std::max<int>(FieldIntSaturated(view_.Text(Fire(changed))), 1);
  int value = FieldIntSaturated(view_.Text(Fire(partner)));
  WritePartner(Fire(partner), std::max(1, std::min(value, cap)));
}

void PropsFieldModel::RuleDispersionShare(int changed) {
  int partner = changed == 9 ? 36 : 9;
  int cap = std::clamp(100 - FieldIntSaturated(view_.Text(Fire(changed))), 0, 100);
  int value = FieldIntSaturated(view_.Text(Fire(partner)));
  WritePartner(Fire(partner), std::clamp(value, 0, cap));
}

void PropsFieldModel::RuleBurstShare(int changed) {
  std::array<int, 6> partners{};
  if (changed == 50) {
    partners = kDecayPartners;
  } else {
    std::copy_if(kBurstShares.begin(), kBurstShares.end(), partners.begin(),
                 [changed](int b) { return b != changed; });
  }
  int used = FieldIntSaturated(view_.Text(Fire(changed)));
  for (int p : partners) {
    int cap = std::clamp(100 - used, 0, 100);
    int value = FieldIntSaturated(view_.Text(Fire(p)));
    WritePartner(Fire(p), std::clamp(value, 0, cap));
    used += FieldIntSaturated(view_.Text(Fire(p)));
  }
}

void PropsFieldModel::RuleColorPair(int changed) {
  ControlId c{Control::TxtPixCol, changed};
  ControlId p{Control::TxtPixCol, changed == 0 ? 1 : 0};
  int cap = std::clamp(100 - FieldIntSaturated(view_.Text(c)), 0, 100);
  WritePartner(p, std::clamp<int>(FieldIntSaturated(view_.Text(p)), 0, cap));
}

void PropsFieldModel::OnTextChanged(ControlId id) {
  bool partnerWrite = false;
  if (id.control == Control::TxtFire || id.control == Control::TxtPixCol) {
    partnerWrite = inRuleWrite_;
    inRuleWrite_ = false;
  }
  if (id.control == Control::TxtFire && !partnerWrite) {
    int i = id.index;
    if (i == 0 || i == 1) {
      RuleParticleBudget(i);
    } else if (i == 9 || i == 36) {
      RuleDispersionShare(i);
    } else if (std::find(kBurstShares.begin(), kBurstShares.end(), i) != kBurstShares.end()) {
      RuleBurstShare(i);
    }
  } else if (id.control == Control::TxtPixCol && !partnerWrite && id.index <= 1) {
    RuleColorPair(id.index);
  } else if (id.control == Control::TxtPixHue) {
    view_.SetColor({Control::PicPixHue, id.index}, SwatchColor(id.index, view_.Text(id)));
  }
  if (const SpinnerLink* link = LinkOf(id); link && link->field == id) {
    FieldChangeSpinnerPart(view_, *link);
  }
}

// --- keys, focus, spinners ---

bool PropsFieldModel::OnKeyPress(ControlId id, char32_t ch) {
  switch (id.control) {
    case Control::TxtFire: {
      const FireFieldInfo* f = FireFieldForBox(id.index);
      if (f && f->Decimal()) return FilterDecimalKey(view_, id, ch);
      return FilterDigitKey(view_, ch);
    }
    case Control::TxtPixHue:
    case Control::TxtPixCol:
      return FilterDigitKey(view_, ch);
    default:
      return true;
  }
}

bool PropsFieldModel::OnArrowKey(ControlId id, bool up) {
  if (id.control == Control::TxtFire) {
    const FireFieldInfo* f = FireFieldForBox(id.index);
    if (!f || f->arrowStep == 0) return false;
    int bound = static_cast<int>(up ? f->setting->dialogHi : f->setting->dialogLo);
    ArrowKeyStep(view_, id, up, f->arrowStep, bound);
    return true;
  }
  for (const ColorFieldInfo& c : ColorFields()) {
    if (c.field != id) continue;
    ArrowKeyStep(view_, id, up, c.arrowStep, up ? c.upper : 0);
    return true;
  }
  return false;
}

void PropsFieldModel::OnFocusGot(ControlId id) {
  if (id.control == Control::TxtFire || id.control == Control::TxtPixHue ||
      id.control == Control::TxtPixCol) {
    SelectAllOnFocus(view_, id);
  }
}

void PropsFieldModel::OnFocusLost(ControlId id) {
  if (id.control == Control::TxtFire) {
    if (const FireFieldInfo* f = FireFieldForBox(id.index)) {
      ClampFieldText(view_, id, f->Kind(), static_cast<float>(f->setting->dialogLo),
                     static_cast<float>(f->setting->dialogHi));
    }
  } else if (id.control == Control::TxtPixHue) {
    ClampFieldText(view_, id, FieldKind::Whole16, 0, 100);
  } else if (id.control == Control::TxtPixCol) {
    float upper = 360;
    if (id.index <= 1) {
      // The share left by the other percentage at this moment.
      upper = static_cast<float>(100 - FieldIntSaturated(view_.Text({Control::TxtPixCol, 1 - id.index})));
    }
    ClampFieldText(view_, id, FieldKind::Whole16, 0, upper);
    if (const SpinnerLink* link = LinkOf(id)) FieldChangeSpinnerPart(view_, *link);
  }
}

void PropsFieldModel::OnSpinnerArrow(ControlId spinner, bool up) {
  if (const SpinnerLink* link = LinkOf(spinner); link && link->spinner == spinner) {
    SpinnerArrow(view_, *link, up);
  }
}

}  // namespace glintora
