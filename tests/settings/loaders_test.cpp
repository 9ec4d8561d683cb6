#include "settings/loaders.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <tuple>

#include "settings/memory_store.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

SurfaceScale Screen(double w, double h) { return SurfaceScale{w, h, false, 15, 15}; }

// The record loaded from a store that holds these {section, key, text} rows.
SettingsRecord Loaded(std::initializer_list<std::array<const char*, 3>> rows, SurfaceScale surface = Screen(100, 100)) {
  MemoryStore store;
  for (const auto& [section, key, text] : rows) store.Write(section, key, text);
  SettingsRecord r;
  LoadFireParams(store, r);
  LoadAdvancedParams(store, r, surface);
  return r;
}

TEST(LoadFireParams, DefaultsInEngineUnitsAndTheMixedTypeFields) {
  SettingsRecord r = Loaded({});
  EXPECT_EQ(std::make_tuple(r.FireSparks, r.FireDecayMLife, r.KnotX.size(), r.FireMultiMoment && r.FireBurstShell),
            std::make_tuple(1200, 80, 9u, true));
  EXPECT_EQ(std::make_tuple(r.FirePersist, r.FireDecayMSize, r.FireBurstRadius, r.FireTwistExt),
            std::make_tuple(0.97f, 300.0f, 0.0075f, 0.0625f));
  // Only "1" is on; the size is a whole number, half to even; the life is read as a single,
  // 82.5, then half to even; 40000 does not fit 16 bits; 5 x 0.0025 in double, then stored
  // (float arithmetic gives less).
  r = Loaded({{"Fireworks", "FireMultiMoment", "2"}, {"Fireworks", "FireBurstShell", "0"},
              {"Fireworks", "FireDecayMSize", "250.5"}, {"Fireworks", "FireDecayMLife", "82.500001"},
              {"Fireworks", "FireSplineKnot", "-3"}, {"Fireworks", "FireLength", "40000"},
              {"Fireworks", "FireBurstRadius", "5"}});
  EXPECT_FALSE(r.FireMultiMoment || r.FireBurstShell);
  EXPECT_EQ(std::make_tuple(r.FireDecayMSize, r.FireDecayMLife, r.KnotY.size(), r.FireLength, r.FireBurstRadius),
            std::make_tuple(250.0f, 82, 1u, 5, 0.0125f));
  EXPECT_EQ(Loaded({{"Fireworks", "FireDecayMLife", "1e30"}}).FireDecayMLife, 80);
}

// Sparks are capped at 30000 per shell count (no shells: as read), launch pixels at the sparks.
TEST(LoadFireParams, CapsSparksAndLaunchPixels) {
  const struct { const char *works, *sparks, *pixels; int wantSparks, wantPixels; } rows[] = {
      {"99", "9999", "999", 303, 303}, {"12", "500", "999", 500, 500}, {"12", "2500", "999", 2500, 999},
      {"0", "9999", "125", 9999, 125}};
  for (const auto& row : rows) {
    const SettingsRecord r = Loaded({{"Fireworks", "FireWorks", row.works}, {"Fireworks", "FireSparks", row.sparks},
                                     {"Fireworks", "FireLaunchPixel", row.pixels}});
    EXPECT_EQ((std::array<int, 2>{r.FireSparks, r.FireLaunchPixel}), (std::array{row.wantSparks, row.wantPixels}))
        << row.works << " " << row.sparks;
  }
}

TEST(LoadAdvancedParams, TheSurfaceGeometryOnScreenAndInThePreview) {
  // Trimmed, then cut after 100 characters whatever their UTF-8 length (é two bytes, U+1F386 four).
  for (const std::string c : {"m", "\xC3\xA9", "\xF0\x9F\x8E\x86"}) {
    std::string message = "   a", want = "a";
    for (int k = 0; k < 120; ++k) message += c;
    for (int k = 0; k < 99; ++k) want += c;
    EXPECT_EQ(Loaded({{"Advanced", "LockMessage", message.c_str()}}).LockMessage, want) << c;
  }
  // 320.5 rounds to even; hue 90 is red 155, green 255, blue 55.
  const SettingsRecord r = Loaded({}, Screen(641, 480));
  EXPECT_EQ(std::make_tuple(r.SurfaceWidth, r.CenterX, r.CenterY, r.ProjectionScale, r.HueWheel[90]),
            std::make_tuple(641, 320, 240, 280.0f, 0x37FF9Bu));
  // The preview's size comes in twips; bad twips stay in range. Width, height, centre x:
  using Size = std::array<int, 3>;
  const SettingsRecord preview = Loaded({}, {2280, 1710, true, 15, 15}), bad = Loaded({}, {2280, -5, true, 0, 15});
  EXPECT_EQ((Size{preview.SurfaceWidth, preview.SurfaceHeight, preview.CenterX}), (Size{152, 114, 76}));
  EXPECT_EQ((Size{bad.SurfaceWidth, bad.SurfaceHeight, bad.CenterX}), (Size{32767, 0, 16384}));
}

TEST(LoadAdvancedParams, ClampsAndRepairs) {
  // Wanted: the focal length, then font size, font hue and delay.
  const struct { const char *focal, *size, *hue, *delay, *font; float wantFocal; std::array<int, 3> want; } rows[] = {
      {"0", "120", "-4", "-886313347", "", 0.01f, {80, 0, 0}},
      {"25", "5", "360", "25", "Courier", 10.0f, {10, 359, 25}},
      {"wide", "80", "359", "0", "Arial", 1.0f, {80, 359, 0}},
      {"0.01", "10", "0", "999", "Arial", 0.01f, {10, 0, 999}}};
  for (const auto& row : rows) {
    const SettingsRecord r = Loaded({{"Advanced", "FocalLength", row.focal}, {"Advanced", "Adv_FontSize", row.size},
                                     {"Advanced", "Adv_FontHueV", row.hue}, {"Advanced", "Adv_TimeDelay", row.delay},
                                     {"Advanced", "Adv_FontName", row.font}});
    SCOPED_TRACE(row.focal);
    EXPECT_EQ(r.FocalLength, row.wantFocal);
    EXPECT_EQ((std::array<int, 3>{r.Adv_FontSize, r.Adv_FontHueV, r.Adv_TimeDelay}), row.want);
    EXPECT_EQ(r.Adv_FontName, *row.font ? row.font : "MS Sans Serif");
  }
}

TEST(HueColor, WalksTheSixSectorsAndKeepsEachPercentInItsByte) {
  const struct { int hue, red, green, blue, r, g, b; } rows[] = {
      {0, 100, 100, 100, 255, 55, 55},    {90, 100, 100, 100, 155, 255, 55},  // floor(155.0004)
      {30, 100, 100, 100, 255, 154, 55},  // floor(154.9996)
      {150, 100, 100, 100, 55, 255, 154}, {210, 100, 100, 100, 55, 155, 255},
      {270, 100, 100, 100, 154, 55, 255}, {330, 100, 100, 100, 255, 55, 155},
      {60, 100, 0, 100, 255, 55, 55},     {120, 0, 50, 0, 55, 155, 55},
      {0, 500, 0, 0, 255, 55, 55},        {180, 0, -500, 0, 55, 0, 55},
  };
  for (const auto& c : rows) {
    EXPECT_EQ(HueColor(c.hue, c.red, c.green, c.blue), static_cast<uint32_t>(c.r | (c.g << 8) | (c.b << 16)))
        << c.hue << " " << c.red << " " << c.green;
  }
  EXPECT_EQ(HueColor(360, 100, 100, 100), 0u);
  EXPECT_EQ(HueColor(32767, 100, 100, 100), 0u);
  EXPECT_EQ(HueColor(-30, 100, 100, 100) & 0xFF000000u, 0u);
}

}  // namespace
}  // namespace glintora
