#include "display/show_overrides.h"

#include <cmath>

#include "settings/numbers.h"
#include "settings/profile.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/templates.h"
#include "settings/themes.h"
#include "settings/text.h"

namespace glintora {

bool ApplySettingOption(Store& store, const std::string& key, const std::string& value,
                        std::string& error) {
  const SettingDef* def = FindSetting(key);
  // Only what a user may set: the dialogs' numbers, check boxes and the message texts.
  const bool settable =
      def != nullptr && (def->dialog != DialogKind::None || def->type == SettingType::Text);
  if (!settable) {
    error = "unknown option " + QuotedForMessage("-" + key);
    return false;
  }
  if (def->type == SettingType::Text) {
    RegWriteText(store, def->section, def->key, std::string_view(value));
    return true;
  }
  const bool check = def->dialog == DialogKind::Check;
  const bool whole = def->dialog != DialogKind::Dec;
  const double lo = check ? 0 : def->dialogLo;
  const double hi = check ? 1 : def->dialogHi;
  const auto number = ParseNumericText(value);
  if (!number || *number < lo || *number > hi || (whole && std::floor(*number) != *number)) {
    error = "-" + std::string(def->key) + ": " + QuotedForMessage(value) + " is not " +
            (whole ? "a whole number " : "a number ") + NumberText(lo) + ".." + NumberText(hi);
    return false;
  }
  RegWriteText(store, def->section, def->key, NumberText(*number));
  return true;
}

bool ApplyThemeOverride(Store& store, int theme) {
  const std::string preset = ThemePresetText(static_cast<std::int16_t>(theme));
  if (preset.empty()) return false;
  for (const SettingDef* def : FireworkRecordOrder()) {
    if (def->themeColumn < 0) continue;
    const std::string field = CsvField(preset, static_cast<std::int16_t>(def->themeColumn));
    RegWriteText(store, def->section, def->key, std::string_view(field));
  }
  return true;
}

bool ApplyShowOverrides(Store& store, const ShowOptions& options, std::string& error) {
  if (!options.templatePath.empty()) {
    // A file that cannot be read would import every default: almost surely a mistake, so say so.
    Templates templates;
    if (!ImportTemplateFile(store, templates, options.templatePath)) {
      error = "-template: cannot read " + QuotedForMessage(options.templatePath);
      return false;
    }
  }
  if (options.theme && !ApplyThemeOverride(store, *options.theme)) {
    error = "-theme: no theme " + NumberText(static_cast<int>(*options.theme));
    return false;
  }
  if (options.delayMs) {
    RegWriteText(store, kSectionAdvanced, "Adv_TimeDelay", static_cast<int>(*options.delayMs));
  }
  for (const auto& [key, value] : options.settings) {
    if (!ApplySettingOption(store, key, value, error)) return false;
  }
  return true;
}

}  // namespace glintora
