#include "dialogs/advanced_model.h"

#include "settings/loaders.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/text.h"

namespace glintora {

namespace {

ControlId Box(int i) { return {Control::TxtAdv, i}; }
const ControlId kMessage{Control::TxtMessage, 0};
const ControlId kResize{Control::ChkResize, 0};
const ControlId kMouse{Control::ChkMouseM, 0};
const ControlId kSound{Control::ChkSound, 0};

struct AdvBox {
  int index;
  const char* key;
  FieldKind kind;
  int arrowStep;  // 0: no arrow handling
  int maxLength;
};
constexpr AdvBox kBoxes[] = {
    {0, "Adv_TimeDelay", FieldKind::Whole16, 10, 3},
    {4, "Adv_FontSize", FieldKind::Whole16, 1, 2},
    {5, "Adv_FontHueV", FieldKind::Whole16, 5, 3},
    {6, "FocalLength", FieldKind::Decimal, 0, 6},
};

const AdvBox* BoxInfo(ControlId id) {
  if (id.control != Control::TxtAdv) return nullptr;
  for (const AdvBox& b : kBoxes) {
    if (b.index == id.index) return &b;
  }
  return nullptr;
}

const SettingDef& Def(const char* key) { return *FindSetting(key); }

std::string Read(Store& store, const char* key) {
  const SettingDef& def = Def(key);
  return RegReadText(store, def.section, def.key, def.defaultText);
}

}  // namespace

void AdvancedModel::Open() {
  links_.clear();
  for (const AdvBox& b : kBoxes) {
    if (b.arrowStep == 0) {
      view_.SetMaxLength(Box(b.index), b.maxLength);
      continue;
    }
    const SettingDef& def = Def(b.key);
    links_.push_back(LinkSpinner(view_, Box(b.index), {Control::SpnAdv, b.index},
                                 static_cast<int>(def.dialogLo), static_cast<int>(def.dialogHi),
                                 b.maxLength));
  }
  view_.SetMaxLength(kMessage, 100);
  WriteFieldText(view_, Box(0), Read(store_, "Adv_TimeDelay"));
  WriteFieldText(view_, Box(4), Read(store_, "Adv_FontSize"));
  WriteFieldText(view_, Box(5), Read(store_, "Adv_FontHueV"));
  WriteFieldText(view_, Box(6), Read(store_, "FocalLength"));
  SelectFont(Read(store_, "Adv_FontName"));
  WriteFieldText(view_, kMessage, Read(store_, "LockMessage"));
  view_.SetCheckValue(kResize, Read(store_, "Adv_WinResize") == "1" ? 1 : 0);
  view_.SetCheckValue(kMouse, Read(store_, "Adv_MouseMove") == "1" ? 1 : 0);
  view_.SetCheckValue(kSound, Read(store_, "SoundFX_ON") == "1" ? 1 : 0);
}

void AdvancedModel::Defaults() {
  view_.SetCheckValue(kResize, 0);
  view_.SetCheckValue(kMouse, 0);
  view_.SetCheckValue(kSound, 0);
  for (const AdvBox& b : kBoxes) WriteFieldText(view_, Box(b.index), Def(b.key).defaultText);
  SelectFont(Def("Adv_FontName").defaultText);
  WriteFieldText(view_, kMessage, "");
}

void AdvancedModel::ClampBox(int index) {
  for (const AdvBox& b : kBoxes) {
    if (b.index != index) continue;
    const SettingDef& def = Def(b.key);
    ClampFieldText(view_, Box(index), b.kind, static_cast<float>(def.dialogLo),
                   static_cast<float>(def.dialogHi));
  }
}

void AdvancedModel::Ok() {
  for (const AdvBox& b : kBoxes) ClampBox(b.index);
  const char* section = kSectionAdvanced;
  RegWriteText(store_, section, "Adv_TimeDelay", std::string_view(view_.Text(Box(0))));
  RegWriteText(store_, section, "Adv_FontName", std::string_view(FontName()));
  RegWriteText(store_, section, "Adv_FontSize", std::string_view(view_.Text(Box(4))));
  RegWriteText(store_, section, "Adv_FontHueV", std::string_view(view_.Text(Box(5))));
  RegWriteText(store_, section, "LockMessage", TrimBlanks(view_.Text(kMessage)));
  RegWriteText(store_, section, "FocalLength", std::string_view(view_.Text(Box(6))));
  RegWriteText(store_, section, "Adv_WinResize",
               std::string_view(view_.CheckValue(kResize) != 0 ? "1" : "0"));
  RegWriteText(store_, section, "Adv_MouseMove",
               std::string_view(view_.CheckValue(kMouse) != 0 ? "1" : "0"));
  RegWriteText(store_, kSectionSoundFX, "SoundFX_ON",
               std::string_view(view_.CheckValue(kSound) != 0 ? "1" : "0"));
}

void AdvancedModel::SelectFont(const std::string& name) {
  fontIndex_ = fonts_.empty() ? -1 : 0;  // a font that is not installed: the first one
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i] == name) {
      fontIndex_ = static_cast<int>(i);
      break;
    }
  }
}

void AdvancedModel::ChooseFont(int index) {
  if (index >= 0 && index < static_cast<int>(fonts_.size())) fontIndex_ = index;
}

std::string AdvancedModel::FontName() const {
  return fontIndex_ < 0 ? std::string() : fonts_[static_cast<std::size_t>(fontIndex_)];
}

void AdvancedModel::OnTextChanged(ControlId id) {
  if (id == Box(5)) {
    view_.SetColor(kMessage, HueColor(FieldIntSaturated(view_.Text(id)), 100, 100, 100));
  }
  for (const SpinnerLink& link : links_) {
    if (link.field == id) FieldChangeSpinnerPart(view_, link);
  }
}

bool AdvancedModel::OnKeyPress(ControlId id, char32_t ch) {
  const AdvBox* b = BoxInfo(id);
  if (!b) return true;
  return b->kind == FieldKind::Decimal ? FilterDecimalKey(view_, id, ch) : FilterDigitKey(view_, ch);
}

bool AdvancedModel::OnArrowKey(ControlId id, bool up) {
  const AdvBox* b = BoxInfo(id);
  if (!b || b->arrowStep == 0) return false;
  const SettingDef& def = Def(b->key);
  ArrowKeyStep(view_, id, up, b->arrowStep, static_cast<int>(up ? def.dialogHi : def.dialogLo));
  return true;
}

void AdvancedModel::OnFocusGot(ControlId id) {
  if (BoxInfo(id) || id == kMessage) SelectAllOnFocus(view_, id);
}

void AdvancedModel::OnFocusLost(ControlId id) {
  if (BoxInfo(id)) ClampBox(id.index);
}

void AdvancedModel::OnSpinnerArrow(ControlId spinner, bool up) {
  for (const SpinnerLink& link : links_) {
    if (link.spinner == spinner) SpinnerArrow(view_, link, up);
  }
}

}  // namespace glintora
