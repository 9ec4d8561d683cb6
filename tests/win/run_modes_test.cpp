// The program seen from outside: started with each command line, does it open the right window,
// end when it should, and leave the right values in the registry?
#include <gtest/gtest.h>

#include <string>

#include "harness.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::kPropertiesCaption;
using test::kSaverCaption;
using test::ScrProcess;

// Starts program; with a caption, expects that window and sends it key, else expects the
// program to end by itself. Either way it must end cleanly.
void ExpectRun(const std::string& program, const std::string& args, const char* caption,
               WPARAM key = VK_ESCAPE) {
  SCOPED_TRACE("arguments \"" + args + "\"");
  ScrProcess p;
  ASSERT_TRUE(p.Start(program, args));
  if (caption) {
    HWND window = p.WaitForWindow(caption, test::kPatience);
    ASSERT_NE(window, nullptr) << "no window captioned \"" << caption << "\"";
    PostMessageA(window, WM_KEYDOWN, key, 0);
  }
  EXPECT_TRUE(p.WaitForExit(test::kPatience)) << "still running";
  EXPECT_EQ(p.ExitCode(), 0u);
}

class RunModes : public ::testing::Test {
 protected:
  void SetUp() override {
    scr_ = test::ScrPath();
    ASSERT_FALSE(scr_.empty()) << "set GLINTORA_SCR to the path of GlintoraFireworks.scr";
  }
  std::string scr_;
};

TEST_F(RunModes, EachCommandLineOpensItsWindowOrEndsAtOnce) {
  struct Row {
    const char* args;
    const char* alreadyOpen;  // a window of that caption exists beforehand
    const char* caption;      // the window expected; nullptr: ends by itself
    WPARAM key;
  };
  // One row for each thing a command line can do; the parsing itself is checked without Wine.
  const Row rows[] = {
      {"/s", nullptr, kSaverCaption, 'A'},
      {"", nullptr, kPropertiesCaption, VK_ESCAPE},
      {"/C:1234", nullptr, kPropertiesCaption, VK_ESCAPE},
      {"/S:5", kSaverCaption, nullptr, 0},     // a second saver leaves at once
      {"", kPropertiesCaption, nullptr, 0},    // the open dialog is raised instead
      {"/A 1234", nullptr, nullptr, 0},        // no password service to call
      {"/p 0", nullptr, nullptr, 0},           // no host to draw in
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("open before: ") + (row.alreadyOpen ? row.alreadyOpen : "none"));
    std::unique_ptr<test::CaptionedWindow> open;
    if (row.alreadyOpen) open = std::make_unique<test::CaptionedWindow>(row.alreadyOpen);
    ExpectRun(scr_, row.args, row.caption, row.key);
  }
}

// The host named on the command line gets the preview (its size is checked in-process).
TEST_F(RunModes, PreviewOpensInItsHostAndEndsWithIt) {
  test::CaptionedWindow host("Preview host");
  ScrProcess p;
  ASSERT_TRUE(p.Start(scr_, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host.Get()))));
  EXPECT_TRUE(test::PumpUntil(test::kPatience, [&] { return GetWindow(host.Get(), GW_CHILD); }))
      << "no surface inside the host";
  host.Destroy();
  EXPECT_TRUE(p.WaitForExit(test::kPatience)) << "the preview outlived its host";
}

TEST_F(RunModes, ExeWithoutAVisibleScrTwinIsAnApplication) {
  test::TempFolder folder("app");
  const std::string exe = folder.File("glint.exe"), twin = folder.File("glint.scr");
  ASSERT_TRUE(CopyFileA(scr_.c_str(), exe.c_str(), FALSE));
  // The command line is not looked at: "/s" opens the application window, not the saver.
  ExpectRun(exe, "/s", "");
  ASSERT_TRUE(CopyFileA(scr_.c_str(), twin.c_str(), FALSE));
  ASSERT_TRUE(SetFileAttributesA(twin.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ExpectRun(exe, "/a 0", "");
  // A visible twin lets the command line decide again.
  ASSERT_TRUE(SetFileAttributesA(twin.c_str(), FILE_ATTRIBUTE_NORMAL));
  ExpectRun(exe, "/s", kSaverCaption, 'X');
  ExpectRun(exe, "/a 0", nullptr);
}

// Among them templates of users whose names are not in the ANSI code page, named as they stand.
TEST_F(RunModes, TemplateArgumentIsImportedThenTheSaverRuns) {
  test::TempFolder folder("template"), juergen("Jürgen Müller"), dmitri("Дмитрий Петров"),
      tokyo("東京 花火");
  const std::string withBlanks = folder.File("My Night Sky.glx"), plain = folder.File("NIGHT.GLX");
  const std::string message = "С Новым годом! 花火大会 Grüße €";
  const std::string unicode[] = {juergen.File("Ночь 花火.glx"), dmitri.File("Ночь 花火.glx"),
                                 tokyo.File("Ночь 花火.glx")};
  // A value with letters, one with a superfluous zero, an ordinary one, many keys missing.
  for (const std::string& path : {withBlanks, plain, unicode[0], unicode[1], unicode[2]}) {
    test::WriteBytes(path, std::string(path == plain ? "" : "\xEF\xBB\xBF") +
                               "[Admin]\r\nProduct=Glintora Fireworks\r\nVersion=1.0\r\n"
                               "[Fireworks]\r\nFirePersist=abc\r\nFireGravity=1.50\r\n"
                               "FireWorks=33\r\n[Advanced]\r\nAdv_FontName=Courier New\r\n"
                               "LockMessage=" + message + "\r\n");
  }
  const std::string imported[][3] = {
      {"Fireworks", "FirePersist", "0"},  {"Fireworks", "FireGravity", "1.5"},
      {"Fireworks", "FireWorks", "33"},   {"Fireworks", "FireSparks", "1200"},
      {"General", "ColorRed", "100"},     {"Advanced", "Adv_FontName", "Courier New"},
      {"Advanced", "LockMessage", message}};
  // How quotes and blanks split the command line is checked without Wine.
  for (const std::string& args :
       {"\"" + withBlanks + "\"", plain, unicode[0], unicode[1], unicode[2]}) {
    SCOPED_TRACE(args);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
      RegDeleteTreeA(root, "SOFTWARE\\GlintoraFireworks");
    ExpectRun(scr_, args, kSaverCaption, VK_RETURN);
    RegistryStore store;
    for (const auto& v : imported) EXPECT_EQ(RegReadText(store, v[0], v[1], "?"), v[2]) << v[1];
  }
}

}  // namespace
}  // namespace glintora
