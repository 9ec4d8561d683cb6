// The about box: caption, layout in pixels whatever the twips per pixel, and which ways of
// closing it leave StopRequested raised.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/win32/welcome_window.h"
#include "harness.h"

namespace glintora {
namespace {

struct Layout {
  RECT client{};
  RECT ok{};
  RECT web{};
  LONG okStyle = 0;
  std::string webText;
};

RECT ChildRect(HWND dialog, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Opens the about box on this thread; a second thread measures it and closes it with close.
Layout OpenMeasureAndClose(Program& program, void (*close)(HWND dialog)) {
  Layout layout;
  std::atomic<bool> measured{false};
  std::thread closer([&] {
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i) {
      Sleep(10);
      dialog = FindWindowA(nullptr, "Glintora Fireworks v1.0");
    }
    if (!dialog) return;
    GetClientRect(dialog, &layout.client);
    HWND ok = GetDlgItem(dialog, IDOK);
    HWND web = FindWindowExA(dialog, nullptr, "BUTTON", "&Web...");
    layout.ok = ChildRect(dialog, ok);
    layout.web = ChildRect(dialog, web);
    layout.okStyle = GetWindowLongA(ok, GWL_STYLE);
    layout.webText = test::TextOf(web);
    measured = true;
    close(dialog);
  });
  ShowWelcomeModal(program, nullptr);
  closer.join();
  EXPECT_TRUE(measured) << "no about box";
  return layout;
}

void PressEscape(HWND dialog) { PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }
void PressOk(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }
void CloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

TEST(Welcome, ButtonsStandTenPixelsRightOfTheLogoAtAnyTwipsPerPixel) {
  auto program = std::make_unique<Program>();
  program->Instance = GetModuleHandleA(nullptr);
  for (std::int16_t twips : {15, 12}) {
    program->Run.TwipsPerPixelX = twips;
    program->Run.TwipsPerPixelY = twips;
    const Layout l = OpenMeasureAndClose(*program, PressEscape);
    EXPECT_EQ(l.client.bottom, 230) << twips;  // as high as the logo
    EXPECT_EQ(l.ok.left, 342 + 10) << twips;
    EXPECT_EQ(l.web.left, l.ok.left) << twips;
    EXPECT_GE(l.web.top, l.ok.bottom) << twips;
    EXPECT_EQ(l.client.right, 342 + (l.ok.right - l.ok.left) + 20) << twips;
    EXPECT_EQ(l.ok.right - l.ok.left, 1215 / twips) << twips;  // the button is sized in twips
    EXPECT_EQ(l.okStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(l.webText, "&Web...");
  }
}

TEST(Welcome, OkAndEscapeRaiseTheStopButTheCloseBoxDoesNot) {
  auto program = std::make_unique<Program>();
  program->Instance = GetModuleHandleA(nullptr);
  program->Run.StopRequested = true;  // opening clears it
  OpenMeasureAndClose(*program, CloseBox);
  EXPECT_FALSE(program->Run.StopRequested);
  OpenMeasureAndClose(*program, PressOk);
  EXPECT_TRUE(program->Run.StopRequested);
  program->Run.StopRequested = false;
  OpenMeasureAndClose(*program, PressEscape);
  EXPECT_TRUE(program->Run.StopRequested);
}

}  // namespace
}  // namespace glintora
