// The about box: layout in pixels whatever the twips per pixel, and which ways of
// closing it leave StopRequested raised.

#include <atomic>
#include <memory>
#include <thread>
#include <utility>

#include "platform/win32/welcome_window.h"
#include "harness.h"

namespace glintora {
namespace {

// Client-area rectangles of the box, its OK and its Web... buttons, and OK's style.
struct Layout {
  RECT client{}, ok{}, web{};
  LONG okStyle = 0;
};

// Opens the about box on this thread; a second thread measures it and closes it with close.
Layout OpenMeasureAndClose(Program& program, void (*close)(HWND dialog)) {
  Layout layout;
  std::atomic<bool> measured{false};
  std::thread closer([&] {
    // The box exists while it is still being laid out; it is measured once it is on screen.
    HWND dialog = nullptr;
    test::PumpUntil(test::kPatience, [&] {
      dialog = FindWindowA(nullptr, "Glintora Fireworks v1.0");
      return dialog && IsWindowVisible(dialog);
    });
    if (!dialog || !IsWindowVisible(dialog)) return;
    GetClientRect(dialog, &layout.client);
    HWND ok = GetDlgItem(dialog, IDOK);
    for (auto [child, rect] : {std::pair{ok, &layout.ok},
                               {FindWindowExA(dialog, nullptr, "BUTTON", "&Web..."), &layout.web}}) {
      GetWindowRect(child, rect);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(rect), 2);
    }
    layout.okStyle = GetWindowLongA(ok, GWL_STYLE);
    measured = true;
    close(dialog);
  });
  ShowWelcomeModal(program, nullptr);
  closer.join();
  EXPECT_TRUE(measured) << "no about box";
  return layout;
}

TEST(Welcome, ButtonsRightOfTheLogoAtAnyTwipsPerPixelAndOnlyOkOrEscRaiseTheStop) {
  const struct {
    std::int16_t twips;
    void (*close)(HWND dialog);
    bool stop;
  } rows[] = {
      {15, [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
      {12, [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }, true},
      {15, [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }, true},
  };
  auto program = std::make_unique<Program>();
  program->Instance = GetModuleHandleA(nullptr);
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.twips << " twips, stop " << row.stop);
    program->Run.TwipsPerPixelX = program->Run.TwipsPerPixelY = row.twips;
    program->Run.StopRequested = true;  // opening clears it
    const Layout l = OpenMeasureAndClose(*program, row.close);
    EXPECT_EQ(program->Run.StopRequested, row.stop);
    EXPECT_EQ(l.client.bottom, 230);  // as high as the logo
    EXPECT_EQ(l.ok.left, 342 + 10);
    EXPECT_EQ(l.web.left, l.ok.left);
    EXPECT_GE(l.web.top, l.ok.bottom);
    EXPECT_EQ(l.client.right, 342 + (l.ok.right - l.ok.left) + 20);
    EXPECT_EQ(l.ok.right - l.ok.left, 1215 / row.twips);  // the button is sized in twips
    EXPECT_EQ(l.okStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  }
}

}  // namespace
}  // namespace glintora
