// The preview: the show draws inside the host's client area and nowhere else, and ends as soon
// as the host is destroyed. Wine does not put a child window of another process on screen, so
// the preview runs on a second thread of this process, its host on this one.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "display_support.h"
#include "platform/win32/display_windows.h"
#include "platform/win32/startup_win32.h"

namespace glintora {
namespace {

using test::NonBlackPixels;

// The pixels of a band around rect (screen coordinates), outside it.
long AroundPixels(const RECT& rect, int band) {
  const RECT top{rect.left - band, rect.top - band, rect.right + band, rect.top};
  const RECT bottom{rect.left - band, rect.bottom, rect.right + band, rect.bottom + band};
  const RECT left{rect.left - band, rect.top, rect.left, rect.bottom};
  const RECT right{rect.right, rect.top, rect.right + band, rect.bottom};
  return NonBlackPixels(top) + NonBlackPixels(bottom) + NonBlackPixels(left) +
         NonBlackPixels(right);
}

// A white host of 152 x 112 pixels, above everything.
class PreviewHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(host_.Get(), nullptr);
    SetWindowPos(host_.Get(), HWND_TOPMOST, 120, 100, 152, 112, SWP_SHOWWINDOW);
    test::PumpUntil(300, [] { return false; });
  }
  test::CaptionedWindow host_{"Display preview host", WS_POPUP | WS_VISIBLE};
};

TEST_F(PreviewHost, DrawsOnlyInsideItsHostAndEndsWithIt) {
  const RECT inside{120, 100, 120 + 152, 100 + 112};
  const long aroundBefore = AroundPixels(inside, 20);

  auto program = std::make_unique<Program>();
  program->Instance = GetModuleHandleA(nullptr);
  PrepareRunState(*program);
  program->Run.Mode = RunMode::Preview;
  program->Run.PreviewHostWindow = reinterpret_cast<INT_PTR>(host_.Get());
  std::atomic<bool> ended{false};
  std::thread preview([&] {
    OpenPreviewWindow(*program);
    ended = true;
  });

  HWND box = nullptr;
  test::PumpUntil(10000, [&] { return (box = GetWindow(host_.Get(), GW_CHILD)) != nullptr; });
  ASSERT_NE(box, nullptr);
  RECT boxRect{};
  GetWindowRect(box, &boxRect);
  EXPECT_TRUE(EqualRect(&boxRect, &inside));

  // First the black box covers the white host, then sparks appear on it.
  const long area = 152L * 112L;
  EXPECT_TRUE(test::PumpUntil(8000, [&] { return NonBlackPixels(inside) < area / 4; }))
      << "the box does not cover the host";
  long lit = 0;
  test::PumpUntil(8000, [&] {
    lit = NonBlackPixels(inside);
    return lit >= 20 && lit < area / 4;
  });
  EXPECT_GE(lit, 20) << "no show in the host";
  EXPECT_EQ(AroundPixels(inside, 20), aroundBefore) << "drawn outside the host";

  host_.Destroy();
  EXPECT_TRUE(test::PumpUntil(1000, [&] { return ended.load(); }))
      << "the preview outlived its host";
  if (!ended) test::PumpUntil(10000, [&] { return ended.load(); });
  preview.join();
  EXPECT_TRUE(program->Run.StopRequested);
}

}  // namespace
}  // namespace glintora
