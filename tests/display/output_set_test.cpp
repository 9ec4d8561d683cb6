// One output as a saver or wallpaper covers it: a surface once described, a new scale when it
// changes, the sound handed on when its output goes; buffers at the physical size within bounds;
// the kind of surface chosen by what the compositor offers.
#include "display/output_set.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "display/cover_surfaces.h"

namespace glintora {
namespace {

TEST(OutputEntry, SurfacesFollowTheDescriptionAndOneOfThemPlaysTheSound) {
  OutputEntry a, b, c;
  b.SetScale(2);
  // Described while nothing covers the screen: known, no surface.
  EXPECT_EQ(a.Done(false), OutputChange::None);
  // The saver starts: only a described output gets a surface, once.
  EXPECT_TRUE(a.Make());
  EXPECT_FALSE(a.Make());
  EXPECT_FALSE(b.Make());
  // b's description completes while the saver runs (a hot-plug); a new scale remakes it.
  EXPECT_EQ(b.Done(true), OutputChange::Make);
  EXPECT_EQ(b.Done(true), OutputChange::None);
  b.SetScale(1);
  EXPECT_EQ(b.Done(true), OutputChange::Remake);
  // Scales a compositor should never send.
  c.SetScale(INT32_MAX);
  EXPECT_EQ(c.Scale, 8);
  c.SetScale(-3);
  EXPECT_EQ(c.Scale, 1);
  // The first output with a surface plays the sound, once; unplugged, the next takes it.
  EXPECT_EQ(HandOnSound({&c, &a, &b}), &a);
  EXPECT_EQ(HandOnSound({&c, &a, &b}), nullptr);
  a.Drop();
  EXPECT_EQ(HandOnSound({&c, &a, &b}), &b);
  EXPECT_FALSE(a.Sound);
  EXPECT_EQ(HandOnSound({&a, &c}), nullptr);
}

TEST(OutputEntry, BuffersArePhysicalPixelsWithinBounds) {
  // Each row: logical size, scale in 120ths, through a viewport; the buffer as "WxH@scale".
  const struct { std::int32_t w, h, scale120; bool viewport; const char* buffer; } rows[] = {
      {1920, 1080, 120, false, "1920x1080@1"}, {512, 384, 240, false, "1024x768@2"},
      {1280, 720, 360, false, "3840x2160@3"},
      {800, 600, 0, false, "800x600@1"}, {0, 0, 240, false, "2x2@2"},  // no scale reads as 1; never empty
      // 1.25 through a viewport: physical pixels, rounded; without one the whole part.
      {1280, 720, 150, true, "1600x900@1"}, {1366, 768, 150, true, "1708x960@1"}, {1280, 720, 150, false, "1280x720@1"},
      // 8K fits; more is drawn at a lower scale, then smaller (a hostile configure).
      {3840, 2160, 240, false, "7680x4320@2"}, {4096, 4096, 240, false, "4096x4096@1"},
      {30000, 30000, 120, false, "5792x5792@1"}, {20000, 20000, 240, false, "5792x5792@1"},
      {100, 100, INT32_MAX, false, "800x800@8"}, {100, 100, INT32_MAX, true, "800x800@1"}};
  for (const auto& r : rows) {
    const PixelSize px = BufferSizeFor(r.w, r.h, r.scale120, r.viewport);
    EXPECT_EQ(std::to_string(px.Width) + "x" + std::to_string(px.Height) + "@" + std::to_string(px.Scale),
              r.buffer) << r.w << "x" << r.h << " @" << r.scale120 << " " << r.viewport;
  }
}

// The saver and the wallpaper by what the compositor offers: sway, Plasma, GNOME and weston.
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
