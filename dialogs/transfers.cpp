// Sections: helpers | store | factory reset | template file | first use
#include "dialogs/transfers.h"

#include <string>

#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/templates.h"

namespace glintora {

namespace {

ControlId BoxOf(const SettingDef& def) {
  switch (def.box) {
    case BoxArray::PixHue: return {Control::TxtPixHue, def.boxIndex};
    case BoxArray::PixCol: return {Control::TxtPixCol, def.boxIndex};
    default: return {Control::TxtFire, def.boxIndex};
  }
}

// The two firework check boxes, in the order they are loaded and saved.
struct CheckBox {
  const char* key;
  Control control;
};
constexpr CheckBox kChecks[] = {{"FireMultiMoment", Control::ChkMultiMom},
                                {"FireBurstShell", Control::ChkJetBurst}};

// A check box takes 1 (checked) or 0: a stored 2 or -1 would not mean "on" to the show either.
int CheckValueOf(double number) { return number == 1 ? 1 : 0; }

std::int16_t DefaultInt(const SettingDef& def) {
  return RoundToInt16(LeadingNumber(def.defaultText)).value_or(0);
}

// Whole-number fields read as integers, the others as singles; the decaying-star size and life
// are the other way round from their record types.
bool ReadsAsSingle(const SettingDef& def) {
  std::string_view key = def.key;
  if (key == "FireDecayMSize") return false;
  if (key == "FireDecayMLife") return true;
  return def.type == SettingType::Single;
}

// Colour boxes then firework boxes, each in box order.
template <class F>
void ForEachBox(F&& f) {
  for (const SettingDef* def : ColorOrder()) f(*def);
  for (const SettingDef* def : FireworkBoxOrder()) f(*def);
}

}  // namespace

// --- store ---

void LoadPropsFromStore(DialogView& dialog, Store& store) {
  for (const SettingDef* def : ColorOrder()) {
    WriteFieldText(dialog, BoxOf(*def),
                   NumberText(static_cast<int>(RegReadInt(store, def->section, def->key,
                                                          DefaultInt(*def)))));
  }
  for (const SettingDef* def : FireworkBoxOrder()) {
    std::string text;
    if (ReadsAsSingle(*def)) {
      float fallback = static_cast<float>(LeadingNumber(def->defaultText));
      text = NumberText(RegReadSingle(store, def->section, def->key, fallback));
    } else {
      text = NumberText(static_cast<int>(RegReadInt(store, def->section, def->key,
                                                    DefaultInt(*def))));
    }
    WriteFieldText(dialog, BoxOf(*def), text);
  }
  for (const CheckBox& check : kChecks) {
    dialog.SetCheckValue({check.control, 0},
                         CheckValueOf(RegReadInt(store, kSectionFireworks, check.key, 1)));
  }
}

void SavePropsToStore(const DialogView& dialog, Store& store) {
  RegWriteText(store, kSectionGeneral, "AnimationType", 0);
  ForEachBox([&](const SettingDef& def) {
    RegWriteText(store, def.section, def.key, LeadingNumber(dialog.Text(BoxOf(def))));
  });
  for (const CheckBox& check : kChecks) {
    RegWriteText(store, kSectionFireworks, check.key,
                 CheckValueOf(dialog.CheckValue({check.control, 0})));
  }
}

// --- factory reset ---

void ResetPropsToFactory(DialogView& dialog, Store& store) {
  ForEachBox([&](const SettingDef& def) { WriteFieldText(dialog, BoxOf(def), def.defaultText); });
  for (const CheckBox& check : kChecks) dialog.SetCheckValue({check.control, 0}, 1);
  for (const SettingDef* def : AdvancedTemplateOrder()) {
    RegWriteText(store, def->section, def->key, std::string_view(def->defaultText));
  }
  RegWriteText(store, kSectionSoundFX, "SoundFX_ON", std::string_view("0"));
}

// --- template file ---

void LoadTemplateFile(DialogView& dialog, Store& store, const Templates& templates) {
  const ProfileFile file(templates);
  for (const SettingDef* def : ColorOrder()) {
    WriteFieldText(dialog, BoxOf(*def), file.Text(def->section, def->key, def->defaultText));
  }
  for (const SettingDef* def : AdvancedTemplateOrder()) {
    CopyProfileKeyToStore(store, file, def->section, def->key, def->defaultText);
  }
  CopyProfileKeyToStore(store, file, kSectionSoundFX, "SoundFX_ON", "0");
  for (const SettingDef* def : FireworkBoxOrder()) {
    WriteFieldText(dialog, BoxOf(*def), file.Text(def->section, def->key, def->defaultText));
  }
  for (const CheckBox& check : kChecks) {
    dialog.SetCheckValue({check.control, 0},
                         CheckValueOf(file.Number(kSectionFireworks, check.key, "1")));
  }
}

bool SaveTemplateFile(const DialogView& dialog, Store& store, const Templates& templates,
                      std::string& reason) {
  ProfileEdit edit(templates);
  edit.Set(kSectionAdmin, "Product", std::string_view("Glintora Fireworks"));
  edit.Set(kSectionAdmin, "Version", std::string_view("1.0"));
  for (const SettingDef* def : AdvancedTemplateOrder()) {
    CopyStoreKeyToProfile(store, edit, def->section, def->key, def->defaultText);
  }
  CopyStoreKeyToProfile(store, edit, kSectionSoundFX, "SoundFX_ON", "0");
  ForEachBox([&](const SettingDef& def) {
    edit.Set(def.section, def.key, LeadingNumber(dialog.Text(BoxOf(def))));
  });
  for (const CheckBox& check : kChecks) {
    edit.Set(kSectionFireworks, check.key, CheckValueOf(dialog.CheckValue({check.control, 0})));
  }
  if (edit.Commit()) return true;
  reason = edit.Reason();
  return false;
}

// --- first use ---

bool OpenPropsFromStore(DialogView& dialog, Store& store) {
  bool firstUse = RegReadInt(store, kSectionGeneral, "AnimationType", -1) == -1;
  if (firstUse) {
    ResetPropsToFactory(dialog, store);
    SavePropsToStore(dialog, store);
  }
  LoadPropsFromStore(dialog, store);
  return firstUse;
}

}  // namespace glintora
