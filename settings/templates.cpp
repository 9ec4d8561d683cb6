#include "settings/templates.h"

#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {

namespace {

void ImportNumber(Store& store, const Templates& templates, const SettingDef& def) {
  const double value = ProfileReadNumber(templates, def.section, def.key, def.defaultText);
  RegWriteText(store, def.section, def.key, value);
}

void ImportText(Store& store, const Templates& templates, const SettingDef& def) {
  CopyProfileKeyToStore(store, templates, def.section, def.key, def.defaultText);
}

}  // namespace

void ImportTemplateFile(Store& store, Templates& templates, const std::string& path) {
  templates.CurrentTemplatePath = path;
  const auto number = [&](const char* key) { ImportNumber(store, templates, *FindSetting(key)); };
  const auto text = [&](const char* key) { ImportText(store, templates, *FindSetting(key)); };

  number("FocalLength");
  number("Adv_TimeDelay");
  for (const char* key : {"LockMessage", "Adv_FontName", "Adv_FontSize", "Adv_FontHueV",
                          "Adv_WinResize", "Adv_MouseMove", "SoundFX_ON"}) {
    text(key);
  }
  number("AnimationType");
  for (const SettingDef* def : ColorOrder()) ImportNumber(store, templates, *def);
  for (const SettingDef* def : FireworkRecordOrder()) ImportNumber(store, templates, *def);
}

bool CopyProfileKeyToStore(Store& store, const Templates& templates, const std::string& section,
                           const std::string& key, std::string_view defaultText,
                           const std::string& file) {
  return RegWriteText(store, section, key,
                      std::string_view(ProfileReadText(templates, section, key, defaultText, file)));
}

void CopyStoreKeyToProfile(Store& store, ProfileEdit& edit, const std::string& section,
                           const std::string& key, std::string_view defaultText) {
  edit.Set(section, key, std::string_view(RegReadText(store, section, key, defaultText)));
}

}  // namespace glintora
