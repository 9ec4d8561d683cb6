// The settings a headless show runs with: the factory defaults in a memory store, then a theme's
// firework parameters or a template file on top, loaded as a window loads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_record.h"

namespace glintora {

// False with a message when the theme does not exist, the template cannot be read or its frame
// delay is not one the advanced dialog allows.
bool LoadShowSettings(SettingsRecord& record, std::int32_t width, std::int32_t height,
                      std::optional<int> theme, const std::string& templatePath, std::string& error);

}  // namespace glintora
