#include "settings/store_ops.h"

#include "settings/numbers.h"
#include "settings/text.h"

namespace glintora {

namespace {

std::optional<double> ReadNumber(Store& store, const std::string& section, const std::string& key) {
  std::string text;
  if (!store.Read(section, key, text)) return std::nullopt;
  return ParseNumericText(text);
}

}  // namespace

bool RegWriteText(Store& store, const std::string& section, const std::string& key,
                  std::string_view value) {
  return store.Write(section, key, std::string(TrimBlanks(value)));
}

bool RegWriteText(Store& store, const std::string& section, const std::string& key, double value) {
  return RegWriteText(store, section, key, std::string_view(NumberText(value)));
}

bool RegWriteText(Store& store, const std::string& section, const std::string& key, float value) {
  return RegWriteText(store, section, key, std::string_view(NumberText(value)));
}

bool RegWriteText(Store& store, const std::string& section, const std::string& key, int value) {
  return RegWriteText(store, section, key, std::string_view(NumberText(value)));
}

bool RegWriteText(Store& store, const std::string& section, const std::string& key, long value) {
  return RegWriteText(store, section, key, std::string_view(NumberText(value)));
}

bool RegWriteText(Store& store, const std::string& section, const std::string& key,
                  long long value) {
  return RegWriteText(store, section, key, std::string_view(NumberText(value)));
}

std::string RegReadText(Store& store, const std::string& section, const std::string& key,
                        std::string_view defaultText) {
  std::string text;
  if (!store.Read(section, key, text)) return std::string(defaultText);
  return text;
}

std::int16_t RegReadInt(Store& store, const std::string& section, const std::string& key,
                        std::int16_t defaultValue) {
  const auto number = ReadNumber(store, section, key);
  if (!number) return defaultValue;
  return RoundToInt16(*number).value_or(defaultValue);
}

std::int32_t RegReadLong(Store& store, const std::string& section, const std::string& key,
                         std::int32_t defaultValue) {
  const auto number = ReadNumber(store, section, key);
  if (!number) return defaultValue;
  return RoundToInt32(*number).value_or(defaultValue);
}

float RegReadSingle(Store& store, const std::string& section, const std::string& key,
                    float defaultValue) {
  const auto number = ReadNumber(store, section, key);
  if (!number) return defaultValue;
  return ToSingle(*number).value_or(defaultValue);
}

std::int16_t ClampInt(std::int16_t value, std::int16_t lo, std::int16_t hi) {
  return value < lo ? lo : (value > hi ? hi : value);
}

std::int32_t ClampLong(std::int32_t value, std::int32_t lo, std::int32_t hi) {
  return value < lo ? lo : (value > hi ? hi : value);
}

float ClampSingle(float value, float lo, float hi) {
  return value < lo ? lo : (value > hi ? hi : value);
}

}  // namespace glintora
