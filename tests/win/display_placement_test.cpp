// Window placement through a real window: what is stored, and what reading it back does to a
// sizable window, a fixed one, a maximised and a minimised one.
#include <gtest/gtest.h>

#include "platform/win32/window_placement.h"
#include "settings/memory_store.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

class Placement : public ::testing::Test {
 protected:
  HWND Make(DWORD style) {
    HWND w = CreateWindowExA(0, "STATIC", "placement", style, 100, 80, 400, 300, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_[count_++] = w;
    return w;
  }
  void TearDown() override {
    for (int i = 0; i < count_; ++i) DestroyWindow(windows_[i]);
  }
  static RECT Rect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
  }
  std::string Stored(const char* key) { return RegReadText(store_, "General", key, "<none>"); }

  MemoryStore store_;
  RunState run_;  // 15 twips per pixel
  HWND windows_[4] = {};
  int count_ = 0;
};

TEST_F(Placement, SizableWindowRoundTrips) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SaveWindowPlacement(store_, run_, w, "General");
  EXPECT_EQ(Stored("WindowState"), "0");
  EXPECT_EQ(Stored("WindowSize"), "01500012000600004500");  // 100,80 400x300 in twips
  SetWindowPos(w, nullptr, 10, 10, 200, 100, SWP_NOZORDER);
  LoadWindowPlacement(store_, run_, w, "General");
  const RECT r = Rect(w);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 80);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
}

TEST_F(Placement, OffScreenLeftEdgeAndHugeSizesKeepTheFieldsApart) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetWindowPos(w, nullptr, -60, 40, 500, 320, SWP_NOZORDER);
  // 250 twips per pixel makes the width 125000 twips: wider than a five-digit field.
  run_.TwipsPerPixelX = 250;
  SaveWindowPlacement(store_, run_, w, "General");
  const std::string size = Stored("WindowSize");
  ASSERT_EQ(size.size(), 20u) << size;
  EXPECT_EQ(size.substr(0, 5), "00000");   // off the left edge
  EXPECT_EQ(size.substr(10, 5), "99999");  // clamped, not widened
  EXPECT_EQ(size.substr(15, 5), "04800");  // the height still where it belongs

  SetWindowPos(w, nullptr, 300, 300, 100, 100, SWP_NOZORDER);
  LoadWindowPlacement(store_, run_, w, "General");
  const RECT r = Rect(w);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.bottom - r.top, 320);
}

TEST_F(Placement, FixedFrameGetsOnlyItsPosition) {
  HWND w = Make(WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  RegWriteText(store_, "General", "WindowState", "0");
  RegWriteText(store_, "General", "WindowSize", "00300004500150001500");
  LoadWindowPlacement(store_, run_, w, "General");
  const RECT r = Rect(w);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
}

TEST_F(Placement, MaximisedAndMinimisedStates) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SaveWindowPlacement(store_, run_, w, "General");
  const std::string normalSize = Stored("WindowSize");

  ShowWindow(w, SW_MINIMIZE);
  SaveWindowPlacement(store_, run_, w, "General");
  EXPECT_EQ(Stored("WindowState"), "0");
  EXPECT_EQ(Stored("WindowSize"), normalSize) << "a minimised window keeps the earlier size";

  ShowWindow(w, SW_RESTORE);
  ShowWindow(w, SW_MAXIMIZE);
  SaveWindowPlacement(store_, run_, w, "General");
  EXPECT_EQ(Stored("WindowState"), "2");
  ShowWindow(w, SW_RESTORE);
  SetWindowPos(w, nullptr, 5, 5, 150, 150, SWP_NOZORDER);
  LoadWindowPlacement(store_, run_, w, "General");
  EXPECT_TRUE(IsZoomed(w));

  // A state outside 0..2 leaves the window as it is, and so does the size then.
  ShowWindow(w, SW_RESTORE);
  SetWindowPos(w, nullptr, 5, 5, 150, 150, SWP_NOZORDER);
  RegWriteText(store_, "General", "WindowState", "7");
  LoadWindowPlacement(store_, run_, w, "General");
  EXPECT_FALSE(IsZoomed(w));
  EXPECT_EQ(Rect(w).left, 5);
  EXPECT_EQ(Rect(w).right - Rect(w).left, 150);
}

}  // namespace
}  // namespace glintora
