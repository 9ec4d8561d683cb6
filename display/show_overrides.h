// Turns the command line's settings into overrides for one run: a template file first, then a
// theme (it replaces the firework parameters), then -delay and single -KEY VALUE settings, so the
// most specific option wins. Nothing here writes the user's store.
#pragma once

#include <string>

#include "settings/store.h"
#include "display/show_options.h"

namespace glintora {

// Checks one -KEY VALUE setting against the settings table and writes its stored text to store.
// Numbers must be numeric and within the range the settings dialogs allow (whole for integer
// fields); check boxes and flags take 0 or 1; texts are taken as given. false with a one-line
// error otherwise.
bool ApplySettingOption(Store& store, const std::string& key, const std::string& value,
                        std::string& error);

// Writes the firework parameters of theme 1..13 to store. false when the theme has no preset.
bool ApplyThemeOverride(Store& store, int theme);

// Applies everything the options ask for, in the order above. false with a one-line error when
// a setting is unknown or out of range or the template cannot be read.
bool ApplyShowOverrides(Store& store, const ShowOptions& options, std::string& error);

}  // namespace glintora
