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

TEST(Welcome, ButtonsRightOfTheLogoAtAnyTwipsPerPixelAndOnlyOkOrEscRaiseTheStop) {
  const struct { std::int16_t twips; UINT message; WPARAM wParam; bool toOk, stop; } rows[] = {
      {15, WM_SYSCOMMAND, SC_CLOSE, false, false},
      {12, WM_COMMAND, IDOK, false, true},
      {15, WM_KEYDOWN, VK_ESCAPE, true, true},
  };
  auto program = std::make_unique<Program>();
  program->Instance = GetModuleHandleA(nullptr);
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.twips << " twips, message " << row.message);
    program->Run.TwipsPerPixelX = program->Run.TwipsPerPixelY = row.twips;
    program->Run.StopRequested = true;  // opening clears it
    // The box is opened on this thread; a second one measures it and closes it. The box
    // exists while it is still being laid out: it is measured once it is on screen.
    std::atomic<bool> measured{false};
    std::thread closer([&] {
      HWND dialog = nullptr;
      test::PumpUntil(test::kPatience, [&] {
        dialog = FindWindowA(nullptr, "Glintora Fireworks v1.0");
        return dialog && IsWindowVisible(dialog);
      });
      if (!dialog || !IsWindowVisible(dialog)) return;
      HWND ok = GetDlgItem(dialog, IDOK);
      RECT client{}, okAt{}, webAt{};  // in the box's client area
      GetClientRect(dialog, &client);
      for (auto [child, rect] : {std::pair{ok, &okAt},
                                 {FindWindowExA(dialog, nullptr, "BUTTON", "&Web..."), &webAt}}) {
        GetWindowRect(child, rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(rect), 2);
      }
      EXPECT_EQ(client.bottom, 230);  // as high as the logo
      EXPECT_EQ(okAt.left, 342 + 10);
      EXPECT_EQ(webAt.left, okAt.left);
      EXPECT_GE(webAt.top, okAt.bottom);
      EXPECT_EQ(client.right, 342 + (okAt.right - okAt.left) + 20);
      EXPECT_EQ(okAt.right - okAt.left, 1215 / row.twips);  // the button is sized in twips
      EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
      measured = true;
      PostMessageA(row.toOk ? ok : dialog, row.message, row.wParam, 0);
    });
    ShowWelcomeModal(*program, nullptr);
    closer.join();
    EXPECT_TRUE(measured) << "no about box";
    EXPECT_EQ(program->Run.StopRequested, row.stop);
  }
}

}  // namespace
}  // namespace glintora
