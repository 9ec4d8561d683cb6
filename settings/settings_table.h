// The one table of settings: every persisted parameter described once, as data. The loaders, the
// dialog ranges, the factory reset and the template layout all read it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glintora {

enum class SettingType {
  Int16,     // i16
  Int32,     // i32
  Single,    // f32
  Flag,      // stored as the number 1 (on) or 0 (off)
  Text,      // free text
  TextFlag,  // stored as the text "1" or "0"
};

// How the dialog that edits a setting keeps its text in range.
enum class DialogKind {
  None,   // not a number field (font list, message, or not edited)
  Int,    // made a whole number in [dialogLo, dialogHi]
  Dec,    // a decimal in [dialogLo, dialogHi]
  Check,  // a check box
};

// Which indexed text box of the properties dialog shows a setting.
enum class BoxArray { None, Fire, PixHue, PixCol };

struct SettingDef {
  const char* key;
  const char* section;
  SettingType type;
  const char* defaultText;  // as the factory reset writes it ("0.97", "1.0", "")
  DialogKind dialog;
  double dialogLo;
  double dialogHi;
  // A colour percent whose upper bound is 100 minus this other key's value; nullptr otherwise.
  const char* hiLessKey;
  bool hasClamp;  // the run-time loader clamps to [clampLo, clampHi]
  double clampLo;
  double clampHi;
  BoxArray box;
  int boxIndex;         // index in txtFire / txtPixHue / txtPixCol, -1 when none
  const char* control;  // check box name ("chkMultiMom"), nullptr when none
  int themeColumn;      // column of the theme preset text, -1 when not themed
};

// Every setting: the 43 firework parameters in the record's order, then the colour, advanced and
// other keys.
const std::vector<SettingDef>& AllSettings();

// Empty when text is a value the setting's dialog accepts as it stands (a number within its
// range, or a text of at most 100 characters); otherwise why not, naming the key. What a
// template or a link may bring in where no dialog checked it first.
std::string DialogRangeProblem(const SettingDef& def, std::string_view text);

// The setting with this key (case-insensitive), nullptr when there is none.
const SettingDef* FindSetting(std::string_view key);

// The 43 firework parameters in the record's order.
const std::vector<const SettingDef*>& FireworkRecordOrder();

// The 41 firework parameters with a txtFire box, in box order (0..36 then 50..53): the order of
// dialog saves and of the Fireworks section of a template (which then adds FireMultiMoment and
// FireBurstShell).
const std::vector<const SettingDef*>& FireworkBoxOrder();

// The firework parameter shown in txtFire box index, nullptr for an index without one.
const SettingDef* FireworkForBox(int index);

// The six colour keys in box order: txtPixHue 0..2, then txtPixCol 0..2.
const std::vector<const SettingDef*>& ColorOrder();

// The eight Advanced keys in the order a template writes them.
const std::vector<const SettingDef*>& AdvancedTemplateOrder();

// Section names.
inline constexpr const char* kSectionGeneral = "General";
inline constexpr const char* kSectionPixelColor = "PixelColor";
inline constexpr const char* kSectionFireworks = "Fireworks";
inline constexpr const char* kSectionAdvanced = "Advanced";
inline constexpr const char* kSectionSoundFX = "SoundFX";
inline constexpr const char* kSectionTemplate = "Template";
inline constexpr const char* kSectionAdmin = "Admin";

}  // namespace glintora
