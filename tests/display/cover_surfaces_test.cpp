// The saver and the wallpaper by what the compositor offers: sway, Plasma, GNOME and weston.
#include "display/cover_surfaces.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

TEST(CoverSurfaces, ChosenByWhatTheCompositorOffers) {
  using S = CoverSurface;
  using T = ShowTarget;
  const struct { T target; bool layer, plasma, idle; S surface; bool refused; } rows[] = {
      {T::Saver, true, false, false, S::Overlay, false}, {T::Saver, false, false, false, S::FullScreenWindow, false},
      {T::Idle, false, false, true, S::FullScreenWindow, false}, {T::Idle, true, true, false, S::Overlay, true},
      {T::Wallpaper, true, true, true, S::Bottom, false}, {T::Wallpaper, true, false, false, S::Background, false},
      {T::Wallpaper, false, false, true, S::None, true}, {T::FullScreen, false, false, false, S::None, false}};
  for (const auto& r : rows) {
    const CoverPlan plan = PlanCover(r.target, {r.layer, r.plasma, r.idle});
    const int row = static_cast<int>(&r - rows);
    EXPECT_EQ(plan.Surface, r.surface) << row;
    EXPECT_EQ(!plan.Missing.empty(), r.refused) << row;
    // Refused in one line naming what works instead.
    EXPECT_TRUE(!r.refused || (plan.Missing.find('\n') == std::string::npos &&
                               plan.Missing.find("-fullscreen") != std::string::npos)) << row;
  }
}

}  // namespace
}  // namespace glintora
