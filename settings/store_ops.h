// The typed store operations every other part uses, over any Store backend. Sections and keys
// are named as in the settings table; the application key and registry root are the backend's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/store.h"

namespace glintora {

// Stores the value's text form with the blanks at both ends removed; true when written.
bool RegWriteText(Store& store, const std::string& section, const std::string& key,
                  std::string_view value);
bool RegWriteText(Store& store, const std::string& section, const std::string& key, double value);
bool RegWriteText(Store& store, const std::string& section, const std::string& key, float value);
bool RegWriteText(Store& store, const std::string& section, const std::string& key, int value);
bool RegWriteText(Store& store, const std::string& section, const std::string& key, long value);
bool RegWriteText(Store& store, const std::string& section, const std::string& key,
                  long long value);

// The stored text, or defaultText when the value is absent or cannot be read.
std::string RegReadText(Store& store, const std::string& section, const std::string& key,
                        std::string_view defaultText);

// The stored value when its text is numeric and it fits the type (rounded half to even for the
// integers), else the default.
std::int16_t RegReadInt(Store& store, const std::string& section, const std::string& key,
                        std::int16_t defaultValue);
std::int32_t RegReadLong(Store& store, const std::string& section, const std::string& key,
                         std::int32_t defaultValue);
float RegReadSingle(Store& store, const std::string& section, const std::string& key,
                    float defaultValue);

// lo when value < lo, else hi when value > hi, else value.
std::int16_t ClampInt(std::int16_t value, std::int16_t lo, std::int16_t hi);
std::int32_t ClampLong(std::int32_t value, std::int32_t lo, std::int32_t hi);
float ClampSingle(float value, float lo, float hi);

}  // namespace glintora
