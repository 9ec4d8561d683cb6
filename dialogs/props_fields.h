// The properties dialog's numeric fields: the firework fields (txtFire 0..36, 50..53), the colour
// fields (txtPixHue 0..2, txtPixCol 0..2), their spinners, and the cross-field rules that keep
// combined values within budget while the user edits.
//
//   FireFieldInfo / ColorFieldInfo   every field's caption, length, steps, help topic, page
//   PropsFieldModel                  the FieldEvents of the dialog: filters, steps, focus-loss
//                                    clamps, spinners and the rules (particle budget, dispersion
//                                    share, burst-type share, colour pair)
//   SwatchColor                      the colour a primary's swatch shows
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dialogs/field_model.h"
#include "dialogs/text_entry.h"
#include "settings/settings_table.h"

namespace glintora {

struct FireFieldInfo {
  int box;              // txtFire index
  const char* caption;  // the label left of the field
  int maxLength;
  int page;             // -1: the main frame; 0..8: the extras page
  int arrowStep;        // Up/Down step; 0 when the keys pass
  bool hasSpinner;      // spnFire of the same index
  int help;             // help topic of the label and field
  const SettingDef* setting;  // key, bounds (dialogLo..dialogHi), default, theme column
  bool Decimal() const { return setting->dialog == DialogKind::Dec; }
  FieldKind Kind() const { return Decimal() ? FieldKind::Decimal : FieldKind::Whole16; }
};

// The 41 firework fields in box order (0..36, then 50..53).
const std::vector<FireFieldInfo>& FireFields();
// The field of txtFire index, nullptr for an index without one (37..49 and beyond).
const FireFieldInfo* FireFieldForBox(int box);

struct CheckInfo {
  Control control;      // ChkMultiMom or ChkJetBurst
  const char* caption;
  int page;
  int help;
  const SettingDef* setting;
};
const std::vector<CheckInfo>& FireChecks();

struct ColorFieldInfo {
  ControlId field;      // TxtPixHue i or TxtPixCol i
  ControlId spinner;
  int upper;            // spinner top and focus-loss upper bound (0..upper)
  int arrowStep;
  int help;
  const SettingDef* setting;
};
// txtPixHue 0..2, then txtPixCol 0..2.
const std::vector<ColorFieldInfo>& ColorFields();

// Swatch colour of primary index (0 red, 1 green, 2 blue) for a field text: 0x00BBGGRR.
std::uint32_t SwatchColor(int index, std::string_view text);

// The rules of the properties dialog's fields. The dialog forwards its controls' events here;
// loaders, themes and the preview act on the same view and get the rules through its change
// notifications.
class PropsFieldModel : public FieldEvents {
 public:
  explicit PropsFieldModel(DialogView& view) : view_(view) {}

  // Dialog load: the maximum lengths of every field, then LinkSpinner for the colour fields and
  // the four firework spinners, in that order.
  void Link();

  bool InRuleWrite() const { return inRuleWrite_; }

  void OnTextChanged(ControlId id) override;
  bool OnKeyPress(ControlId id, char32_t ch) override;
  bool OnArrowKey(ControlId id, bool up) override;
  void OnFocusGot(ControlId id) override;
  void OnFocusLost(ControlId id) override;
  void OnSpinnerArrow(ControlId spinner, bool up) override;

 private:
  // Writes a partner's new whole value under the rule protocol.
  void WritePartner(ControlId partner, int value);
  void RuleParticleBudget(int changed);
  void RuleDispersionShare(int changed);
  void RuleBurstShare(int changed);
  void RuleColorPair(int changed);
  const SpinnerLink* LinkOf(ControlId id) const;

  DialogView& view_;
  bool inRuleWrite_ = false;
  std::vector<SpinnerLink> links_;
};

}  // namespace glintora
