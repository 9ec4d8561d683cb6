// The X11 host in-process: in its own window the engine draws into the window's image itself; a
// 32-bit (ARGB) window's pixels are converted into the image, opaque. After sparse frames (sent as
// the tiles they wrote), a clear and a dense frame, the window holds exactly the framebuffer's
// pixels, and nothing outside the written tiles was sent.
#include "tests/x11/x11_fixture.h"

#include "platform/x11/x11_host.h"

namespace glintora::testing {
namespace {

using Present = X11Fixture;

TEST_F(Present, WindowMatchesTheFramebufferAfterSparseAndDenseFrames) {
  XVisualInfo argb{};
  ASSERT_TRUE(XMatchVisualInfo(display_, DefaultScreen(display_), 32, TrueColor, &argb)) << "no 32-bit visual";
  // The server's value for 0x00BBGGRR: red high, alpha in the spare byte.
  EXPECT_EQ(x11::X11Image(display_, argb.visual, 32, 1, 1, false).PixelFor(0x00332211u), 0xFF112233ul);
  for (const bool deep : {false, true}) {
    SCOPED_TRACE(deep ? "32-bit window" : "own window");
    RunState run;
    x11::X11Host host(display_, run);
    ShowOptions options;
    if (deep)
      options.target = ShowTarget::ForeignWindow, options.windowId = MakeWindow(0, 0, 300, 200, argb.visual, 32);
    std::string error;
    ASSERT_TRUE(host.Open(options, false, error)) << error;
    XSync(display_, False), host.ProcessPendingEvents();
    EXPECT_EQ(host.DrawsIntoImage(), !deep);
    Framebuffer& fb = host.Surface();
    const int w = fb.Width, h = fb.Height;
    auto frame = [&](auto draw) { draw(), host.Present(fb), fb.ResetTouched(), host.ProcessPendingEvents(); };
    frame([&] { fb.Fill(0); });
    for (std::uint32_t f = 1; f <= 14; ++f)
      frame([&] {
        if (f == 13) for (int y = 0; y < h; ++y) fb.Set(3, y, 0x00FFFFFFu);        // tiles in a column
        if (f == 7) for (int y = 0; y < h; y += 2) fb.Set(y % w, y, 0x00FFFFFFu);  // a dense frame
        if (f == 11) fb.Fill(0x00203040u);                                         // a clear
        // Scattered writes, off-surface ones too: they are stored nowhere.
        for (std::uint32_t n = f == 7 ? w * h / 8 : 40, seed = f; n > 0; --n, seed = seed * 1664525u + 1013904223u)
          fb.Set(static_cast<int>(seed >> 8) % (w + 20) - 10, static_cast<int>(seed >> 20) % (h + 20) - 10,
                 seed | 0x404040u);
      });
    // Changed behind the engine's back, in a tile no frame writes next but in the same tile row as
    // the next frame's write: not sent.
    const std::uint32_t shown = fb.At(w - 1, 0);
    fb.Pixels[w - 1] ^= 0x00FFFFFFu;
    frame([&] { fb.Set(0, 0, 0x00FFFFFFu); });
    XSync(display_, False);

    const std::vector<unsigned long> shot = Pixels(host.Target());
    ASSERT_EQ(shot.size(), static_cast<std::size_t>(w) * h);
    std::vector<unsigned long> want;  // the server's order: 0x00RRGGBB, opaque in 32 bits
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint32_t p = x == w - 1 && y == 0 ? shown : fb.At(x, y);
        want.push_back(((p & 0xffu) << 16) | (p & 0xff00u) | ((p >> 16) & 0xffu) |
                       (deep ? 0xFF000000ul : shot[want.size()] & ~0xFFFFFFul));
      }
    const std::size_t wrong = std::mismatch(want.begin(), want.end(), shot.begin()).first - want.begin();
    EXPECT_EQ(wrong, want.size()) << "first wrong pixel " << wrong % w << "," << wrong / w;
  }
}

}  // namespace
}  // namespace glintora::testing
