// The program seen from outside: started with each command line, does it open the right window,
// end when it should, and leave the right values in the registry?
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/win32/registry_store.h"
#include "scr_process.h"
#include "scratch_key.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::CaptionedWindow;
using test::ScrProcess;
using test::TempFolder;
using test::WindowCaption;

constexpr const char* kSaverCaption = "KRYX:Glintora Fireworks 1.0";
constexpr const char* kPropertiesCaption = "Glintora Fireworks";
constexpr DWORD kStartMs = 20000;  // a window must appear within this
constexpr DWORD kEndMs = 10000;    // and the process end within this once told to

class RunModes : public ::testing::Test {
 protected:
  void SetUp() override {
    scr_ = test::ScrPath();
    ASSERT_FALSE(scr_.empty()) << "set GLINTORA_SCR to the path of GlintoraFireworks.scr";
  }

  // Starts the program and expects it to end by itself, without a window, and cleanly.
  void ExpectEndsAtOnce(const std::string& program, const std::string& args) {
    ScrProcess p;
    ASSERT_TRUE(p.Start(program, args)) << args;
    EXPECT_TRUE(p.WaitForExit(kEndMs)) << "still running: " << args;
    EXPECT_EQ(p.ExitCode(), 0u) << args;
  }

  // Starts the program, expects a visible window with this caption, sends key to it and
  // expects the process to end.
  void ExpectWindowThatEndsOnKey(const std::string& program, const std::string& args,
                                 const std::string& caption, WPARAM key) {
    ScrProcess p;
    ASSERT_TRUE(p.Start(program, args)) << args;
    HWND window = p.WaitForWindow(caption, kStartMs);
    ASSERT_NE(window, nullptr) << "no window captioned \"" << caption << "\" for: " << args;
    PostMessageA(window, WM_KEYDOWN, key, 0);
    EXPECT_TRUE(p.WaitForExit(kEndMs)) << "did not end on a key: " << args;
    EXPECT_EQ(p.ExitCode(), 0u) << args;
  }

  std::string scr_;
};

TEST_F(RunModes, SaverCoversTheScreenAndEndsOnAKey) {
  ScrProcess p;
  ASSERT_TRUE(p.Start(scr_, "/s"));
  HWND window = p.WaitForWindow(kSaverCaption, kStartMs);
  ASSERT_NE(window, nullptr);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
  PostMessageA(window, WM_KEYDOWN, 'A', 0);
  EXPECT_TRUE(p.WaitForExit(kEndMs));

  ExpectWindowThatEndsOnKey(scr_, "/S", kSaverCaption, VK_SPACE);
}

TEST_F(RunModes, SecondSaverStartEndsAtOnce) {
  CaptionedWindow running(kSaverCaption);
  ASSERT_NE(running.Get(), nullptr);
  ExpectEndsAtOnce(scr_, "/s");
  ExpectEndsAtOnce(scr_, "/S:5");
}

TEST_F(RunModes, ConfigurationOpensTheDialogOrRaisesTheOpenOne) {
  for (const char* args : {"", "/c", "/C:1234"}) {
    ExpectWindowThatEndsOnKey(scr_, args, kPropertiesCaption, VK_ESCAPE);
  }
  CaptionedWindow open(kPropertiesCaption);
  ASSERT_NE(open.Get(), nullptr);
  ExpectEndsAtOnce(scr_, "/c");
  ExpectEndsAtOnce(scr_, "");
}

TEST_F(RunModes, PasswordChangeWithoutThePasswordServiceEndsAtOnce) {
  ExpectEndsAtOnce(scr_, "/a 0");
  ExpectEndsAtOnce(scr_, "/A 1234");
  ExpectEndsAtOnce(scr_, "/a");
}

TEST_F(RunModes, PreviewFillsItsHostAndEndsWithIt) {
  CaptionedWindow host("Preview host");
  ASSERT_NE(host.Get(), nullptr);
  RECT client{};
  GetClientRect(host.Get(), &client);

  ScrProcess p;
  ASSERT_TRUE(p.Start(scr_, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host.Get()))));
  HWND box = nullptr;
  test::PumpUntil(kStartMs, [&] {
    box = GetWindow(host.Get(), GW_CHILD);
    return box != nullptr || !p.Running();
  });
  ASSERT_NE(box, nullptr) << "no surface inside the host";
  RECT inner{};
  GetWindowRect(box, &inner);
  EXPECT_EQ(inner.right - inner.left, client.right);
  EXPECT_EQ(inner.bottom - inner.top, client.bottom);
  EXPECT_TRUE(p.Running());

  host.Destroy();
  EXPECT_TRUE(p.WaitForExit(kEndMs)) << "the preview outlived its host";

  // No host to draw in: nothing to do.
  ExpectEndsAtOnce(scr_, "/p 0");
  ExpectEndsAtOnce(scr_, "/p:99");
  ExpectEndsAtOnce(scr_, "/p 99999999999");
}

TEST_F(RunModes, ExeWithoutScrTwinIsAnApplication) {
  TempFolder folder("app");
  const std::string exe = folder.File("glint.exe");
  ASSERT_TRUE(CopyFileA(scr_.c_str(), exe.c_str(), FALSE));
  // The command line is not looked at: "/s" opens the application window, not the saver.
  ExpectWindowThatEndsOnKey(exe, "/s", "", VK_ESCAPE);

  // A hidden twin does not count; a visible one lets the command line decide again.
  const std::string twin = folder.File("glint.scr");
  ASSERT_TRUE(CopyFileA(scr_.c_str(), twin.c_str(), FALSE));
  ASSERT_TRUE(SetFileAttributesA(twin.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ExpectWindowThatEndsOnKey(exe, "/a 0", "", VK_ESCAPE);
  ASSERT_TRUE(SetFileAttributesA(twin.c_str(), FILE_ATTRIBUTE_NORMAL));
  ExpectWindowThatEndsOnKey(exe, "/s", kSaverCaption, 'X');
  ExpectEndsAtOnce(exe, "/a 0");
}

// A template with a value that holds letters, one with a superfluous zero, one ordinary value,
// and many keys missing.
void WriteTemplate(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "[Admin]\r\nProduct=Glintora Fireworks\r\nVersion=1.0\r\n"
      << "[Fireworks]\r\nFirePersist=abc\r\nFireGravity=1.50\r\nFireWorks=33\r\n"
      << "[Advanced]\r\nAdv_FontName=Courier New\r\n";
}

TEST_F(RunModes, TemplateArgumentIsImportedThenTheSaverRuns) {
  TempFolder folder("template");
  const std::string withBlanks = folder.File("My Night Sky.glx");
  const std::string plain = folder.File("NIGHT.GLX");
  WriteTemplate(withBlanks);
  WriteTemplate(plain);

  for (const std::string& args : {"\"" + withBlanks + "\"", withBlanks, plain}) {
    test::DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\GlintoraFireworks");
    test::DeleteKeyTree(HKEY_CURRENT_USER, "SOFTWARE\\GlintoraFireworks");
    ExpectWindowThatEndsOnKey(scr_, args, kSaverCaption, VK_RETURN);

    RegistryStore store;
    EXPECT_EQ(RegReadText(store, "Fireworks", "FirePersist", "?"), "0") << args;
    EXPECT_EQ(RegReadText(store, "Fireworks", "FireGravity", "?"), "1.5") << args;
    EXPECT_EQ(RegReadText(store, "Fireworks", "FireWorks", "?"), "33") << args;
    EXPECT_EQ(RegReadText(store, "Fireworks", "FireSparks", "?"), "1200") << args;
    EXPECT_EQ(RegReadText(store, "General", "ColorRed", "?"), "100") << args;
    EXPECT_EQ(RegReadText(store, "Advanced", "Adv_FontName", "?"), "Courier New") << args;
  }

  // A quote on one side only stays part of the name, which names no file: every default.
  test::DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\GlintoraFireworks");
  ExpectWindowThatEndsOnKey(scr_, "\"" + plain, kSaverCaption, VK_RETURN);
  RegistryStore store;
  EXPECT_EQ(RegReadText(store, "Fireworks", "FireWorks", "?"), "12");
}

}  // namespace
}  // namespace glintora
