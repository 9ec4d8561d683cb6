// The outputs a saver or wallpaper covers: a surface per described output, remade when its scale
// changes, dropped when it goes; buffers at the physical size.
#include "display/output_set.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

TEST(OutputSet, SurfacesFollowTheOutputsDescriptions) {
  OutputSet set;
  set.Add(7);
  set.SetName(7, "HEADLESS-1");
  set.Add(9);
  set.SetScale(9, 2);
  // Described while nothing covers the screen: known, no surface.
  EXPECT_EQ(set.Done(7, false), OutputChange::None);
  // The saver starts: only described outputs get a surface, each once.
  EXPECT_EQ(set.MakeAll(), std::vector<std::uint32_t>{7});
  EXPECT_EQ(set.MakeAll(), std::vector<std::uint32_t>{});
  // Output 9's description completes while the saver runs (a hot-plug).
  EXPECT_EQ(set.Done(9, true), OutputChange::Make);
  EXPECT_EQ(set.Find(9)->MadeScale, 2);
  // A repeated description changes nothing; a new scale remakes the surface.
  EXPECT_EQ(set.Done(9, true), OutputChange::None);
  set.SetScale(9, 1);
  EXPECT_EQ(set.Done(9, true), OutputChange::Remake);
  EXPECT_EQ(set.Find(7)->Name, "HEADLESS-1");
  // The saver ends and starts again: every output gets a new surface.
  set.DropAll();
  EXPECT_EQ(set.MakeAll(), (std::vector<std::uint32_t>{7, 9}));
  // An output that goes takes its surface; an unknown one is nothing.
  EXPECT_TRUE(set.Remove(7));
  EXPECT_FALSE(set.Remove(7));
  set.Add(11);
  EXPECT_FALSE(set.Remove(11));
  EXPECT_EQ(set.Entries().size(), 1u);
}

TEST(OutputSet, BuffersArePhysicalPixels) {
  const struct { std::int32_t w, h, scale, pw, ph; } rows[] = {
      {1920, 1080, 1, 1920, 1080},
      {512, 384, 2, 1024, 768},
      {1280, 720, 3, 3840, 2160},
      {800, 600, 0, 800, 600},        // no scale announced reads as 1
      {0, 0, 2, 1, 1},                // never an empty buffer
      {20000, 20000, 2, 32767, 32767},
  };
  for (const auto& r : rows) {
    const PixelSize px = BufferSizeFor(r.w, r.h, r.scale);
    EXPECT_EQ(px.Width, r.pw) << r.w << "x" << r.h << " @" << r.scale;
    EXPECT_EQ(px.Height, r.ph) << r.w << "x" << r.h << " @" << r.scale;
  }
}

}  // namespace
}  // namespace glintora
