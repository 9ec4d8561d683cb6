// Window placement through a real window: what is stored, and what reading it back does to a
// sizable window, a fixed one, a maximised and a minimised one.
#include <vector>

#include "harness.h"
#include "platform/win32/window_placement.h"
#include "settings/memory_store.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::Placed;

class Placement : public ::testing::Test {
 protected:
  void Make(DWORD style) {
    window_ = CreateWindowExA(0, "STATIC", "placement", style, 100, 80, 400, 300, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  void Save() { SaveWindowPlacement(store_, run_, window_, "General"); }
  void Load() { LoadWindowPlacement(store_, run_, window_, "General"); }
  void MoveTo(int x, int y, int w, int h) { SetWindowPos(window_, nullptr, x, y, w, h, SWP_NOZORDER); }
  std::string Stored(const char* key) { return RegReadText(store_, "General", key, "<none>"); }

  MemoryStore store_;
  RunState run_;  // 15 twips per pixel
  HWND window_ = nullptr;
};

// A hidden window (a dialog being built) is never shown by reading its placement; the state
// comes with the caller's first show. A fixed frame takes only the position.
TEST_F(Placement, HiddenWindowTakesItsPlacementWithoutBeingShownAFixedOneOnlyItsPosition) {
  static bool loading;
  static int seenVisible;
  static WNDPROC original;
  const struct { DWORD style; const char* state; std::vector<LONG> placed; } rows[] = {
      {WS_OVERLAPPEDWINDOW, "0", {20, 30, 300, 200}}, {WS_OVERLAPPEDWINDOW, "2", {}},
      {WS_CAPTION | WS_SYSMENU, "0", {20, 30, 400, 300}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.style << " " << row.state);
    Make(row.style);
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) {
          if (loading && IsWindowVisible(w)) ++seenVisible;
          return CallWindowProcA(original, w, m, wp, lp);
        })));
    RegWriteText(store_, "General", "WindowState", row.state);
    RegWriteText(store_, "General", "WindowSize", "00300004500450003000");
    loading = true;
    seenVisible = 0;
    const int show = LoadWindowPlacement(store_, run_, window_, "General");
    loading = false;
    EXPECT_EQ(seenVisible, 0);
    EXPECT_FALSE(IsWindowVisible(window_));
    ShowWindow(window_, show);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(IsZoomed(window_) != FALSE, row.placed.empty());
    if (!row.placed.empty()) { EXPECT_EQ(test::Placed(window_), row.placed); }
    DestroyWindow(window_);
  }
  window_ = nullptr;
}

TEST_F(Placement, SizableWindowRoundTripsAndKeepsItsSizeWhileMinimised) {
  Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Save();
  ShowWindow(window_, SW_MINIMIZE);
  Save();
  EXPECT_EQ(Stored("WindowState"), "0");
  EXPECT_EQ(Stored("WindowSize"), "01500012000600004500");  // 100,80 400x300 in twips
  ShowWindow(window_, SW_RESTORE);
  MoveTo(10, 10, 200, 100);
  Load();
  EXPECT_EQ(Placed(window_), (std::vector<LONG>{100, 80, 400, 300}));

  ShowWindow(window_, SW_MAXIMIZE);
  Save();
  EXPECT_EQ(Stored("WindowState"), "2");
  ShowWindow(window_, SW_RESTORE);
  MoveTo(5, 5, 150, 150);
  Load();
  EXPECT_TRUE(IsZoomed(window_));

  // A state outside 0..2 leaves the window as it is, and so does the size then.
  ShowWindow(window_, SW_RESTORE);
  MoveTo(5, 5, 150, 150);
  RegWriteText(store_, "General", "WindowState", "7");
  Load();
  EXPECT_FALSE(IsZoomed(window_));
  EXPECT_EQ(Placed(window_), (std::vector<LONG>{5, 5, 150, 150}));
}

}  // namespace
}  // namespace glintora
