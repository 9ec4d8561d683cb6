#include "tools/render/show_settings.h"

#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/templates.h"
#include "settings/themes.h"
#include "settings/text.h"

namespace glintora {

bool LoadShowSettings(SettingsRecord& record, std::int32_t width, std::int32_t height,
                      std::optional<int> theme, const std::string& templatePath, std::string& error) {
  MemoryStore store;
  if (!templatePath.empty()) {
    Templates templates;
    if (!ImportTemplateFile(store, templates, templatePath)) {
      error = "--template: cannot read " + QuotedForMessage(templatePath);
      return false;
    }
    // The frame delay becomes the output's length: held to what the dialog allows, as the page
    // holds an imported template.
    const SettingDef& delay = *FindSetting("Adv_TimeDelay");
    std::string text;
    if (store.Read(delay.section, delay.key, text)) {
      const std::string why = DialogRangeProblem(delay, TrimBlanks(text));
      if (!why.empty()) {
        error = "--template: " + why;
        return false;
      }
    }
  }
  if (theme) {
    const std::string preset = ThemePresetText(static_cast<std::int16_t>(*theme));
    if (preset.empty()) {
      error = "--theme: no theme " + std::to_string(*theme);
      return false;
    }
    for (const SettingDef* def : FireworkRecordOrder()) {
      if (def->themeColumn < 0) continue;
      const std::string field = CsvField(preset, static_cast<std::int16_t>(def->themeColumn));
      store.Write(def->section, def->key, field);
    }
  }
  LoadFireParams(store, record);
  SurfaceScale scale;
  scale.scaleWidth = width;
  scale.scaleHeight = height;
  LoadAdvancedParams(store, record, scale);
  return true;
}

}  // namespace glintora
