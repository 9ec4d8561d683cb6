#include "dialogs/theme_fields.h"

#include <array>
#include <optional>
#include <string>

#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/themes.h"

namespace glintora {

void ApplyTheme(DialogView& view, std::string_view preset) {
  // The column of every firework setting comes from the settings table.
  std::array<const SettingDef*, kThemeColumns> byColumn{};
  for (const SettingDef* def : FireworkRecordOrder()) {
    if (def->themeColumn >= 0 && def->themeColumn < kThemeColumns) byColumn[def->themeColumn] = def;
  }
  for (int column = 0; column < kThemeColumns; ++column) {
    const SettingDef* def = byColumn[static_cast<std::size_t>(column)];
    if (!def) continue;
    std::string field = CsvField(preset, static_cast<std::int16_t>(column));
    if (def->box == BoxArray::Fire) {
      WriteFieldText(view, {Control::TxtFire, def->boxIndex}, field);
    } else if (def->control) {
      // A flag column that is not a number leaves its check box alone.
      auto number = ParseNumericText(field);
      auto value = number ? RoundToInt16(*number) : std::nullopt;
      if (!value) continue;
      Control box = std::string_view(def->control) == "chkMultiMom" ? Control::ChkMultiMom
                                                                    : Control::ChkJetBurst;
      view.SetCheckValue({box, 0}, *value);
    }
  }
}

void ChooseTheme(DialogView& view, int position) {
  if (position >= 1 && position <= 13) {
    ApplyTheme(view, ThemePresetText(static_cast<std::int16_t>(position)));
  }
}

}  // namespace glintora
