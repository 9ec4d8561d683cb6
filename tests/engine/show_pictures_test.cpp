// Seeded shows and the frames they draw, pinned by FrameHash (what glintora-render --hash prints).
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "engine/frame_hash.h"
#include "tests/engine/show_rig.h"

namespace glintora {
namespace {

std::string Hex(std::uint64_t h) {
  char text[20];
  std::snprintf(text, sizeof text, "%016" PRIx64, h);
  return text;
}

// Together the rows run every burst kind, rockets, the four patterns, the spline and twister
// paths, the three colour schemes and the message (refreshed at 3000 ms and 6000 ms: frames 75
// and 150 of 40 ms). Recorded from the engine as it stood: a change that alters a show's pixels
// must update this table in the same commit and say in its message why the pictures changed.
TEST(Pictures, SeededShowsDrawTheFramesTheyDrewWhenRecorded) {
  const int at[3] = {6, 40, 150};
  const struct {
    const char* name;
    std::uint64_t seed;
    void (*apply)(SettingsRecord&);
    const char* hash[3];
  } rows[] = {
      {"standard spheres, dimmed, long trails", 1, [](SettingsRecord& s) {
         MixKinds(s, 0, 0);
         s.FireLength = 20; s.ColorPctInt = 100; s.ColorPctHue = 0; s.FireSplinePct = s.FirePatternPct = 0;
       }, {"86cc4f8db26f9ddb", "f288bf2408b38633", "c43a621350bd6e35"}},
      {"rockets, hue bands", 2, [](SettingsRecord& s) {
         MixKinds(s, 100, 0);
         s.FireLaunchSteps = 20;
       }, {"a1c9293405bbc295", "49e3779f77bcace5", "1471a2adaf6eac6d"}},
      {"scintillators, multi-bursts with momentum, patterns", 7, [](SettingsRecord& s) {
         MixKinds(s, 0, 0);
         s.FireScintPct = s.FireMultiPct = 50; s.FireMultiAge = 12; s.FireSplinePct = 0; s.FirePatternPct = 100;
       }, {"bbbf2a9ed3ac9ddc", "143aae56940a5666", "4f771310169acba9"}},
      {"jets with shells, twisters, spline", 4, [](SettingsRecord& s) {
         MixKinds(s, 0, 0);
         s.FireBurstPct = s.FireTwistPct = 50; s.FireBurstAge = 10; s.FireSplinePct = 100;
       }, {"45f2c002e5ed7995", "7ac971d33b7de2b6", "5486204ed9a92f00"}},
      {"sparklers to twinkles, rings, stars, solid", 5, [](SettingsRecord& s) {
         MixKinds(s, 0, 0);
         s.FireSparkPct = 34; s.FireRingPct = s.FireDecayPct = 33; s.FireSparkAge = 10;
         s.ColorPctInt = s.ColorPctHue = 0; s.FireSplinePct = s.FirePatternPct = 0;
       }, {"8b4404895d16b196", "53c9208391575a01", "64c7736187ae3cd1"}},
      {"all kinds, no momentum, no shells, a message", 4, [](SettingsRecord& s) {
         MixKinds(s, 30, 12);
         s.FireMultiMoment = s.FireBurstShell = false; s.FireSplinePct = 30; s.ColorPctInt = 30;
         s.FireMultiAge = s.FireSparkAge = s.FireBurstAge = 12; s.LockMessage = "Glintora";
       }, {"806a9b7f75facd02", "f484e1e71723b9c5", "57a68df184710744"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ShowRig rig(160, 120, row.seed);
    rig.settings.FireWorks = 6;
    rig.settings.FireSparks = 300;  // a slot starts every 9.375 frames
    row.apply(rig.settings);
    auto show = rig.Begin();
    for (int f = 1, k = 0; k < 3; ++f) {
      show->DrawFrame();
      show->EndFrame();
      if (f != at[k]) continue;
      EXPECT_EQ(Hex(FrameHash(rig.host.Surface())), row.hash[k++]) << "frame " << f;
    }
    EXPECT_EQ(rig.host.Messages(), rig.settings.LockMessage.empty() ? 0u : 2u);
  }
}

}  // namespace
}  // namespace glintora
