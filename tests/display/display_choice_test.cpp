// Which display system a command line and environment lead to: xscreensaver's runs stay on X11
// whatever else is set; the Wayland-only modes and a Wayland session go to Wayland.
#include "display/display_choice.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

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
