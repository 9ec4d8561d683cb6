#include "settings/templates.h"

#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {

namespace {

void ImportNumber(Store& store, const ProfileFile& file, const SettingDef& def) {
  RegWriteText(store, def.section, def.key, file.Number(def.section, def.key, def.defaultText));
}

}  // namespace

bool ImportTemplateFile(Store& store, Templates& templates, const std::string& path) {
  templates.CurrentTemplatePath = path;
  const ProfileFile file(templates);
  const auto number = [&](const char* key) { ImportNumber(store, file, *FindSetting(key)); };
  const auto text = [&](const char* key) {
    const SettingDef& def = *FindSetting(key);
    CopyProfileKeyToStore(store, file, def.section, def.key, def.defaultText);
  };

  number("FocalLength");
  number("Adv_TimeDelay");
  for (const char* key : {"LockMessage", "Adv_FontName", "Adv_FontSize", "Adv_FontHueV",
                          "Adv_WinResize", "Adv_MouseMove", "SoundFX_ON"}) {
    text(key);
  }
  number("AnimationType");
  for (const SettingDef* def : ColorOrder()) ImportNumber(store, file, *def);
  for (const SettingDef* def : FireworkRecordOrder()) ImportNumber(store, file, *def);
  return file.WasRead();
}

bool CopyProfileKeyToStore(Store& store, const Templates& templates, const std::string& section,
                           const std::string& key, std::string_view defaultText,
                           const std::string& file) {
  return CopyProfileKeyToStore(store, ProfileFile(templates, file), section, key, defaultText);
}

bool CopyProfileKeyToStore(Store& store, const ProfileFile& file, const std::string& section,
                           const std::string& key, std::string_view defaultText) {
  return RegWriteText(store, section, key, std::string_view(file.Text(section, key, defaultText)));
}

void CopyStoreKeyToProfile(Store& store, ProfileEdit& edit, const std::string& section,
                           const std::string& key, std::string_view defaultText) {
  edit.Set(section, key, std::string_view(RegReadText(store, section, key, defaultText)));
}

}  // namespace glintora
