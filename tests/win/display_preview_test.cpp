// The preview: the show draws kInside the host's client area and nowhere else, and ends as soon
// as the host is destroyed. Wine does not put a child window of another process on screen, so
// the preview runs on a second thread of this process, its host on this one.

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "platform/win32/display_windows.h"
#include "platform/win32/startup_win32.h"

namespace glintora {
namespace {

constexpr RECT kInside{120, 100, 120 + 152, 100 + 112};  // the host's client area on screen
constexpr long kArea = 152L * 112L;

// The lit pixels of a band around rect (screen coordinates), outside it.
long AroundPixels(const RECT& r, int band) {
  return test::LitPixels(nullptr, {r.left - band, r.top - band, r.right + band, r.top}) +
         test::LitPixels(nullptr, {r.left - band, r.bottom, r.right + band, r.bottom + band}) +
         test::LitPixels(nullptr, {r.left - band, r.top, r.left, r.bottom}) +
         test::LitPixels(nullptr, {r.right, r.top, r.right + band, r.bottom});
}

// A white host of 152 x 112 pixels, above everything.
class PreviewHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(host_.Get(), nullptr);
    SetWindowPos(host_.Get(), HWND_TOPMOST, 120, 100, 152, 112, SWP_SHOWWINDOW);
    ASSERT_TRUE(test::PumpUntil(test::kPatience,
                                [] { return test::LitPixels(nullptr, kInside) == kArea; }))
        << "the white host is not on screen";
  }
  test::CaptionedWindow host_{"Display preview host", WS_POPUP | WS_VISIBLE};
};

TEST_F(PreviewHost, DrawsOnlyInsideItsHostAndEndsWithIt) {
  const long aroundBefore = AroundPixels(kInside, 20);

  auto program = std::make_unique<Program>();
  program->Instance = GetModuleHandleA(nullptr);
  PrepareRunState(*program);
  program->Run.Mode = RunMode::Preview;
  program->Run.PreviewHostWindow = reinterpret_cast<INT_PTR>(host_.Get());
  std::vector<std::string> sounds;
  program->PlaySound = [&](const char* file) { sounds.push_back(file); };
  std::atomic<bool> ended{false};
  std::thread preview([&] {
    OpenPreviewWindow(*program);
    ended = true;
  });

  HWND box = nullptr;
  test::PumpUntil(test::kPatience, [&] { return (box = GetWindow(host_.Get(), GW_CHILD)) != nullptr; });
  ASSERT_NE(box, nullptr);
  RECT boxRect{};
  GetWindowRect(box, &boxRect);
  EXPECT_TRUE(EqualRect(&boxRect, &kInside));

  // First the black box covers the white host, then sparks appear on it.
  EXPECT_TRUE(test::PumpUntil(test::kPatience,
                              [] { return test::LitPixels(nullptr, kInside) < kArea / 4; }))
      << "the box does not cover the host";
  long lit = 0;
  test::PumpUntil(test::kPatience, [&] {
    lit = test::LitPixels(nullptr, kInside);
    return lit >= 20 && lit < kArea / 4;
  });
  EXPECT_GE(lit, 20) << "no show in the host";
  EXPECT_EQ(AroundPixels(kInside, 20), aroundBefore) << "drawn outside the host";

  host_.Destroy();
  EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return ended.load(); }))
      << "the preview outlived its host";
  preview.join();
  EXPECT_TRUE(program->Run.StopRequested);

  // A second preview in the same process, here with no host at all, ends at once in silence.
  program->Run.PreviewHostWindow = 0;
  program->Run.StopRequested = false;
  OpenPreviewWindow(*program);
  EXPECT_EQ(sounds, std::vector<std::string>{"Glinto10.wav"});
}

}  // namespace
}  // namespace glintora
