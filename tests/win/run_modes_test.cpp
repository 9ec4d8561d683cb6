// The program seen from outside: started with each command line, does it open the right window,
// end when it should, and leave the right values in the registry?

#include <string>

#include "harness.h"

namespace glintora {
namespace {

using test::kPropertiesCaption;
using test::kSaverCaption;

// Starts program; with a caption, expects that window and sends it key, else expects the
// program to end by itself. Either way it must end cleanly.
void ExpectRun(const std::string& program, const std::string& args, const char* caption,
               WPARAM key = VK_ESCAPE) {
  SCOPED_TRACE("arguments \"" + args + "\"");
  test::ScrProcess p;
  ASSERT_TRUE(p.Start(program, args)) << "not started, error " << GetLastError();
  if (caption) {
    HWND window = p.WaitForWindow(caption);
    ASSERT_NE(window, nullptr) << "no window captioned \"" << caption << "\"";
    PostMessageA(window, WM_KEYDOWN, key, 0);
  }
  EXPECT_TRUE(p.WaitForExit()) << "still running";
  EXPECT_EQ(p.ExitCode(), 0u);
}

using RunModes = test::ScrTest;

TEST_F(RunModes, EachCommandLineOpensItsWindowOrEndsAtOnce) {
  // One row for each thing a command line can do; the parsing itself is checked without Wine.
  const struct { const char *args, *alreadyOpen, *caption; WPARAM key; } rows[] = {
      {"/s", nullptr, kSaverCaption, 'A'},
      {"", nullptr, kPropertiesCaption, VK_ESCAPE},
      {"/C:1234", nullptr, kPropertiesCaption, VK_ESCAPE},
      {"/S:5", kSaverCaption, nullptr, 0},     // a second saver leaves at once
      {"", kPropertiesCaption, nullptr, 0},    // the open dialog is raised instead
      {"/A 1234", nullptr, nullptr, 0},        // no password service to call
      {"/p 0", nullptr, nullptr, 0},           // no host to draw in
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("open before: ") + (row.alreadyOpen ? row.alreadyOpen : "none"));
    std::unique_ptr<test::CaptionedWindow> open;
    if (row.alreadyOpen) open = std::make_unique<test::CaptionedWindow>(row.alreadyOpen);
    ExpectRun(scr_, row.args, row.caption, row.key);
  }
  // The host named on the command line gets the preview (its size is checked in-process).
  test::CaptionedWindow host("Preview host");
  test::ScrProcess p;
  ASSERT_TRUE(p.Start(scr_, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host.Get()))));
  EXPECT_TRUE(test::Eventually([&] { return GetWindow(host.Get(), GW_CHILD); })) << "no surface";
  host.Destroy();
  EXPECT_TRUE(p.WaitForExit()) << "the preview outlived its host";
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
  test::TempFolder folder("template"), juergen("Jürgen Müller"), tokyo("東京 花火");
  const std::string message = "С Новым годом! 花火大会 Grüße €";
  // Quoted with blanks, plain without the mark of UTF-8, and in users' folders.
  const std::string paths[] = {folder.File("My Night Sky.glx"), folder.File("NIGHT.GLX"),
                               juergen.File("Ночь 花火.glx"), tokyo.File("Ночь 花火.glx")};
  const std::string imported[][3] = {
      {"Fireworks", "FirePersist", "0"},  {"Fireworks", "FireGravity", "1.5"},
      {"Fireworks", "FireWorks", "33"},   {"Fireworks", "FireSparks", "1200"},
      {"General", "ColorRed", "100"},     {"Advanced", "Adv_FontName", "Courier New"},
      {"Advanced", "LockMessage", message}};
  // How quotes and blanks split the command line is checked without Wine.
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    // A value with letters, one with a superfluous zero, an ordinary one, many keys missing.
    test::WriteBytes(path, std::string(path == paths[1] ? "" : "\xEF\xBB\xBF") +
                               "[Admin]\r\nProduct=Glintora Fireworks\r\nVersion=1.0\r\n"
                               "[Fireworks]\r\nFirePersist=abc\r\nFireGravity=1.50\r\n"
                               "FireWorks=33\r\n[Advanced]\r\nAdv_FontName=Courier New\r\n"
                               "LockMessage=" + message + "\r\n");
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
      RegDeleteTreeA(root, "SOFTWARE\\GlintoraFireworks");
    ExpectRun(scr_, path == paths[0] ? "\"" + path + "\"" : path, kSaverCaption, VK_RETURN);
    for (const auto& v : imported) EXPECT_EQ(test::Setting(v[0], v[1]), v[2]) << v[1];
  }
}

}  // namespace
}  // namespace glintora
