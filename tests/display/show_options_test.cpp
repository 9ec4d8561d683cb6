// The command line: every option read, window ids, refusals quoting a safe excerpt, the overrides
// a run applies, and the display system a command line and environment lead to.
#include "display/show_options.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "display/display_choice.h"
#include "settings/memory_store.h"
#include "settings/store_ops.h"
#include "display/override_store.h"
#include "display/show_overrides.h"

namespace glintora {
namespace {

TEST(ShowOptions, EveryOptionIsRead) {
  const auto r = ParseShowOptions({"-fullscreen", "-delay", "25", "--theme", "13", "-template", "a.glx",
                        "-seed", "4294967295", "-fps", "-verbose", "-FireWorks", "20", "-sound",
                        "--no-sound", "-sound", "-no-battery-pause"}, nullptr);
  ASSERT_TRUE(r.ok) << r.error;
  const ShowOptions& o = r.options;
  EXPECT_TRUE(ParseShowOptions({"-wallpaper"}, nullptr).options.batteryPause);
  EXPECT_TRUE(ParseShowOptions({"-seed", "0"}, nullptr).ok);
  const auto idle = ParseShowOptions({"--idle", "300", "-seed", "4"}, nullptr).options;
  EXPECT_EQ(std::make_pair(idle.target, idle.idleSeconds), std::make_pair(ShowTarget::Idle, 300u));
  EXPECT_EQ(std::make_tuple(o.target, *o.delayMs, *o.theme, o.templatePath, *o.seed, o.fps, o.verbose, o.batteryPause),
            std::make_tuple(ShowTarget::FullScreen, 25, 13, std::string("a.glx"), 4294967295u, true, true, false));
  // Sound on and off are the stored flag's texts, the last one given winning.
  EXPECT_EQ(r.options.settings, (std::vector<std::pair<std::string, std::string>>{
                                    {"FireWorks", "20"}, {"SoundFX_ON", "1"}, {"SoundFX_ON", "0"},
                                    {"SoundFX_ON", "1"}}));
}

TEST(ShowOptions, WindowIdsAsXToolsPrintThemAndTheDaemonsEnvironment) {
  constexpr auto F = ShowTarget::ForeignWindow;
  const struct { std::vector<std::string> args; const char* env; ShowTarget target; std::uint32_t id; } rows[] = {
      {{"-window-id", "0x2a00007"}, nullptr, F, 0x2a00007u}, {{"-window-id", "0xffffffff"}, nullptr, F, 0xffffffffu},
      {{"-window-id", "0X1F"}, nullptr, F, 0x1fu}, {{"-window-id", "4194311"}, nullptr, F, 4194311u},
      {{"-window-id", "010"}, nullptr, F, 10u}, {{"-window-id", "09"}, nullptr, F, 9u},  // decimal, not octal
      // -root or nothing: the daemon's window replaces the real root.
      {{"-root"}, "0x400001", F, 0x400001u}, {{}, "12", F, 12u}, {{}, "0100", F, 100u},
      // An explicit choice wins over the environment.
      {{"-window-id", "7"}, "12", F, 7u}, {{"-fullscreen"}, "12", ShowTarget::FullScreen, 0},
      {{"-root"}, "", ShowTarget::Root, 0}};
  for (const auto& row : rows) {
    const auto r = ParseShowOptions(row.args, row.env);
    SCOPED_TRACE(row.args.empty() ? "(none)" : row.args.back());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(std::make_pair(r.options.target, r.options.windowId), std::make_pair(row.target, row.id));
  }
  EXPECT_FALSE(ParseShowOptions({"-root"}, "junk").ok);
}

// Refused, and where a text is given, the error quotes this short, printable excerpt of the input
// (the fuzzer pins the one-line shape of every message).
TEST(ShowOptions, BadInputIsRefusedQuotingASafeExcerpt) {
  std::string cyrillic60;
  for (int i = 0; i < 60; ++i) cyrillic60 += "\xD0\x96";  // Ж, two bytes
  const struct { std::vector<std::string> args; std::string quoted = ""; } rows[] = {
      {{"-bogus"}}, {{"-"}}, {{"-delay"}}, {{"-delay", "abc"}}, {{"-delay", "-1"}}, {{"-delay", "1000"}}, {{"-delay", "4x"}},
      {{"-theme", "0"}}, {{"-theme", "14"}}, {{"-theme", "1.5"}}, {{"-window-id", "0"}}, {{"-window-id", "zz"}},
      {{"-window-id", "-5"}}, {{"-window-id", "0x100000000"}}, {{"-window-id"}}, {{"-window-id", "12 "}}, {{"-window-id", " 12"}},
      {{"-window-id", ""}}, {{"-window-id", "0x"}}, {{"-window-id", "0x-1"}}, {{"-window-id", "0x 1"}}, {{"-window-id", "0o7"}},
      {{"-seed", "-1"}}, {{"-seed", "4294967296"}}, {{"-template"}}, {{"-template", ""}}, {{"-root", "-fullscreen"}},
      {{"-window-id", "5", "-window"}}, {{"-idle"}}, {{"-idle", "0"}}, {{"-idle", "x"}}, {{"-saver", "-wallpaper"}},
      {{"-idle", "3", "-fullscreen"}}, {{"-x11", "-wayland"}},
      {{"-delay", std::string(100000, '9')}, "'" + std::string(60, '9') + "...'"},
      {{"-theme", cyrillic60}, "'" + cyrillic60 + "'"},  // 60 characters are not cut
      {{"-theme", cyrillic60 + "\xD0\x96"}, "'" + cyrillic60 + "...'"},
      {{"stray\x1b]0;x\a\x7f"}, "'stray?]0;x?\?'"},
      // Bytes that are not UTF-8 count one character each, however many there are.
      {{"-seed", std::string(300, '\x90') + "\xE2\x82\xAC"}, "'" + std::string(60, '?') + "...'"},
      {{"-seed", "\xC0\xAF\xE2\x82\xAC\xF5"}, "'??\xE2\x82\xAC?'"}};
  for (const auto& row : rows) {
    const auto r = ParseShowOptions(row.args, nullptr);
    EXPECT_FALSE(r.ok) << row.args.back().substr(0, 20);
    EXPECT_NE(r.error.find(row.quoted), std::string::npos) << r.error;
    EXPECT_LT(r.error.size(), 200u);
  }
  EXPECT_TRUE(ParseShowOptions({"-root", "-root"}, nullptr).ok);
}

TEST(ShowOverrides, OverridesAreReadFirstAndNeverReachTheUserStore) {
  MemoryStore user;
  RegWriteText(user, "Fireworks", "FireWorks", 30);
  RegWriteText(user, "Fireworks", "FireLength", 9);
  OverrideStore run(user);
  ShowOptions options;  // theme 6, ring world: 7 shells, rings only
  options.theme = 6, options.delayMs = 0, options.settings = {{"firesparks", "777"}, {"LockMessage", "  hello  "}};
  std::string error;
  ASSERT_TRUE(ApplyShowOverrides(run, options, error)) << error;
  const char* rows[][3] = {{"Fireworks", "FireWorks", "7"}, {"Fireworks", "FireRingPct", "100"},
                           {"Fireworks", "FireSparks", "777"}, {"Advanced", "Adv_TimeDelay", "0"},
                           {"Advanced", "LockMessage", "hello"}, {"Fireworks", "FireLength", "5"}};
  for (const auto& row : rows) EXPECT_EQ(RegReadText(run, row[0], row[1], ""), row[2]) << row[1];
  EXPECT_EQ(RegReadText(user, "Fireworks", "FireWorks", ""), "30");
  EXPECT_EQ(user.Size(), 2u);
}

TEST(ShowOverrides, SettingsAreCheckedAgainstTheirDialogRanges) {
  MemoryStore user;
  OverrideStore run(user);
  for (auto [key, value, ok] : {
           std::tuple{"FireWorks", "99", true}, {"FireSymmetry", "0.5", true}, {"FireMultiMoment", "0", true},
           {"FocalLength", "0.01", true}, {"Adv_MouseMove", "1", true}, {"FireDecayMSize", "9999", true},
           {"SoundFX_ON", "1", true}, {"FireWorks", "0", false}, {"FireWorks", "100", false},
           {"FireWorks", "2.5", false}, {"FireSpeed", "0.05", false}, {"FireSymmetry", "abc", false},
           {"FireMultiMoment", "2", false}, {"ColorHueWheel", "361", false}, {"AnimationType", "0", false},
           {"SoundFX_ON", "2", false}, {"NoSuchKey", "1", false}, {"FireSparks", "", false}}) {
    std::string error;
    EXPECT_EQ(ApplySettingOption(run, key, value, error), ok) << key << "=" << value;
    EXPECT_EQ(error.empty(), ok) << key << "=" << value;
  }
  EXPECT_EQ(RegReadText(run, "Fireworks", "FireSymmetry", ""), "0.5");
  EXPECT_EQ(user.Size(), 0u);
}

// Which display system a command line and environment lead to: xscreensaver's runs stay on X11
// whatever else is set; the Wayland-only modes and a Wayland session go to Wayland.
TEST(DisplayChoice, TargetsThenForcingThenTheEnvironmentDecide) {
  constexpr auto X = DisplaySystem::X11;
  constexpr auto W = DisplaySystem::Wayland;
  const struct { std::vector<std::string> args; const char *xscreensaverWindow, *waylandDisplay; bool ok; DisplaySystem system; } rows[] = {
      {{}, nullptr, "wayland-0", true, W}, {{}, nullptr, "", true, X}, {{}, nullptr, nullptr, true, X},
      {{"-fullscreen"}, nullptr, "wayland-1", true, W},
      // The daemon's runs: the root window, a window id, its environment.
      {{"-root"}, nullptr, "wayland-0", true, X}, {{"-window-id", "0x400001"}, nullptr, "wayland-0", true, X},
      {{}, "0x400001", "wayland-0", true, X}, {{"-root"}, "0x400001", "wayland-0", true, X},
      // The modes that exist only on Wayland, even without its environment.
      {{"-saver"}, nullptr, nullptr, true, W}, {{"-wallpaper"}, nullptr, nullptr, true, W},
      {{"-idle", "300"}, nullptr, nullptr, true, W},
      // Forcing wins over the environment, and -wayland over the daemon's variable.
      {{"-x11"}, nullptr, "wayland-0", true, X}, {{"-wayland"}, nullptr, nullptr, true, W},
      {{"-wayland"}, "0x400001", nullptr, true, W}, {{"-fullscreen", "-x11"}, nullptr, "wayland-0", true, X},
      // Contradictions.
      {{"-x11", "-saver"}, nullptr, "wayland-0", false, X}, {{"-wayland", "-root"}, nullptr, "wayland-0", false, X},
      {{"-wayland", "-window-id", "7"}, nullptr, nullptr, false, X}};
  for (const auto& row : rows) {
    std::string trace;
    for (const std::string& a : row.args) trace += a + " ";
    SCOPED_TRACE(trace + "| " + (row.xscreensaverWindow ? row.xscreensaverWindow : "-") + " | " +
                 (row.waylandDisplay ? row.waylandDisplay : "-"));
    const ParsedOptions parsed = ParseShowOptions(row.args, row.xscreensaverWindow);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const DisplayChoice c = ChooseDisplay(parsed.options, row.waylandDisplay);
    EXPECT_EQ(c.ok, row.ok) << c.error;
    EXPECT_TRUE(!row.ok || c.system == row.system);
  }
}

}  // namespace
}  // namespace glintora
