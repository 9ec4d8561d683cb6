#include "startup/launch_decision.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "startup/twips.h"

namespace glintora {
namespace {

// A folder with some files in it and a desktop with some windows on it.
struct World {
  std::set<std::string> files;
  std::set<std::string> windows;
  std::set<std::string> asked;

  LaunchQueries Queries() {
    LaunchQueries q;
    q.IsOrdinaryFile = [this](const std::string& path) {
      asked.insert(path);
      return files.count(path) > 0;
    };
    q.IsWindowPresent = [this](const std::string& caption) { return windows.count(caption) > 0; };
    return q;
  }
  LaunchDecision Decide(const std::string& program, const std::string& args) {
    return DecideLaunch(program, args, Queries());
  }
};

constexpr const char* kScr = "C:\\Savers\\glint.scr";

TEST(LaunchDecision, ExeWithoutScrTwinIsAnApplicationWhateverTheArguments) {
  World w;
  w.files = {"C:\\Savers\\glint.exe"};
  for (const char* args : {"", "/s", "/p 123", "/a 5", "C:\\t.glx"}) {
    const LaunchDecision d = w.Decide("C:\\Savers\\glint.exe", args);
    EXPECT_EQ(d.Mode, RunMode::Application) << args;
    EXPECT_EQ(d.Action, LaunchAction::StartDisplay) << args;
    EXPECT_EQ(d.PreviewHostWindow, 0) << args;
  }
  EXPECT_EQ(w.asked, (std::set<std::string>{"C:\\Savers\\glint.exe", "C:\\Savers\\glint.scr"}));
}

TEST(LaunchDecision, ScrOrExeWithTwinFollowsTheCommandLine) {
  World w;
  w.files = {"C:\\Savers\\glint.exe", "C:\\Savers\\glint.scr"};
  EXPECT_EQ(w.Decide("C:\\Savers\\glint.exe", "/s").Mode, RunMode::Saver);
  w.files = {"C:\\Savers\\glint.scr"};
  EXPECT_EQ(w.Decide(kScr, "/s").Mode, RunMode::Saver);
  // Started as .scr, the .exe twin is looked for beside it, not in the working folder.
  w.files = {"glint.exe"};
  EXPECT_EQ(w.Decide(kScr, "/s").Mode, RunMode::Saver);
  // A root folder keeps its single backslash; a bare name has no folder.
  w.files = {"C:\\glint.exe"};
  EXPECT_EQ(w.Decide("C:\\glint.exe", "/s").Mode, RunMode::Application);
  w.files = {"glint.exe"};
  EXPECT_EQ(w.Decide("glint.exe", "/s").Mode, RunMode::Application);
}

TEST(LaunchDecision, ConfigurationStartsAndTheEarlierDialogComesForward) {
  World w;
  for (const char* args : {"", "   ", "/c", "/C", "/c:1234", "/Cxyz"}) {
    const LaunchDecision d = w.Decide(kScr, args);
    EXPECT_EQ(d.Action, LaunchAction::ShowProperties) << '"' << args << '"';
    EXPECT_EQ(d.Mode, RunMode::Saver);
  }
  w.windows = {"Glintora Fireworks"};
  EXPECT_EQ(w.Decide(kScr, "/c:1234").Action, LaunchAction::BringPropertiesForward);
  EXPECT_EQ(w.Decide(kScr, "").Action, LaunchAction::BringPropertiesForward);
}

TEST(LaunchDecision, SaverStartIsSkippedWhileASaverCaptionIsOnScreen) {
  World w;
  EXPECT_EQ(w.Decide(kScr, "/s").Action, LaunchAction::StartDisplay);
  EXPECT_EQ(w.Decide(kScr, "/S").Action, LaunchAction::StartDisplay);
  w.windows = {"Glintora Fireworks"};  // the dialog's caption does not block a saver
  EXPECT_EQ(w.Decide(kScr, "/s").Action, LaunchAction::StartDisplay);
  w.windows = {"KRYX:Glintora Fireworks 1.0"};
  EXPECT_EQ(w.Decide(kScr, "/s").Action, LaunchAction::Nothing);
  // The switch rules come before the template rule.
  w.windows.clear();
  const LaunchDecision d = w.Decide(kScr, "/S C:\\Templates\\night.glx");
  EXPECT_EQ(d.Action, LaunchAction::StartDisplay);
  EXPECT_TRUE(d.TemplatePath.empty());
}

TEST(LaunchDecision, PreviewHandleIsReadLeniently) {
  World w;
  struct Case {
    const char* args;
    std::int64_t host;
  } cases[] = {
      {"/p 1234", 1234}, {"/P 1234", 1234}, {"/p   77 extra", 77}, {"/p1234", 1234},
      {"/p 12.5", 12},   {"/p 13.5", 14},   {"/p -8", -8},        {"/p 0", 0},
      {"/p", 0},         {"/p:99", 0},      {"/p abc", 0},        {"/p 2147483647", 2147483647},
      {"/p -2147483648", -2147483647 - 1},
      // Beyond 32 bits no window can be meant: 0, so the preview ends at once.
      {"/p 2147483648", 0}, {"/p 99999999999999999999", 0}, {"/p 1e400", 0},
  };
  for (const Case& c : cases) {
    const LaunchDecision d = w.Decide(kScr, c.args);
    EXPECT_EQ(d.Mode, RunMode::Preview) << c.args;
    EXPECT_EQ(d.Action, LaunchAction::CreatePreview) << c.args;
    EXPECT_EQ(d.PreviewHostWindow, c.host) << c.args;
  }
}

TEST(LaunchDecision, PasswordChangeTakesItsParentHandle) {
  World w;
  LaunchDecision d = w.Decide(kScr, "/a 4660");
  EXPECT_EQ(d.Action, LaunchAction::ChangePassword);
  EXPECT_EQ(d.Mode, RunMode::Saver);
  EXPECT_EQ(d.PasswordParent, 4660);
  EXPECT_EQ(d.PreviewHostWindow, 0);
  EXPECT_EQ(w.Decide(kScr, "/A").PasswordParent, 0);
  EXPECT_EQ(w.Decide(kScr, "/a:5").PasswordParent, 0);
}

TEST(LaunchDecision, TemplatePathsAreImportedWithOrWithoutQuotes) {
  World w;
  struct Case {
    const char* args;
    const char* path;  // nullptr: no import
  } cases[] = {
      {"C:\\My Templates\\night.glx", "C:\\My Templates\\night.glx"},
      {"c:\\t\\Night.GlX", "c:\\t\\Night.GlX"},
      {"\"C:\\My Templates\\night.glx\"", "C:\\My Templates\\night.glx"},
      {"\"C:\\My Templates\\night.GLX\"", "C:\\My Templates\\night.GLX"},
      {" C:\\t\\night.glx", " C:\\t\\night.glx"},  // a leading blank is part of the path
      {".glx", ".glx"},
      {"\".glx\"", ".glx"},
      {"\"C:\\t\\night.glx", "\"C:\\t\\night.glx"},  // only a matching pair is removed
      {"C:\\t\\night.glx\"", nullptr},
      {"\"C:\\t\\night.txt\"", nullptr},
      {"C:\\t\\night.glx2", nullptr},
      {"glx", nullptr},
      {"\"\"", nullptr},
  };
  for (const Case& c : cases) {
    const LaunchDecision d = w.Decide(kScr, c.args);
    EXPECT_EQ(d.Mode, RunMode::Saver) << c.args;
    if (c.path) {
      EXPECT_EQ(d.Action, LaunchAction::ImportTemplate) << c.args;
      EXPECT_EQ(d.TemplatePath, c.path) << c.args;
    } else {
      EXPECT_EQ(d.Action, LaunchAction::StartDisplay) << c.args;
      EXPECT_TRUE(d.TemplatePath.empty()) << c.args;
    }
  }
}

TEST(LaunchDecision, OnlyASlashAtTheVeryStartIntroducesASwitch) {
  World w;
  w.windows = {"KRYX:Glintora Fireworks 1.0", "Glintora Fireworks"};
  for (const char* args : {" /s", " /c", " /p 5", "-s", "\\s", "s", "/x", "/", "//s"}) {
    const LaunchDecision d = w.Decide(kScr, args);
    EXPECT_EQ(d.Mode, RunMode::Saver) << args;
    EXPECT_EQ(d.Action, LaunchAction::StartDisplay) << args;
  }
}

TEST(LaunchDecision, HugeCommandLinesAreDecidedLikeShortOnes) {
  World w;
  const std::string padding(100 * 1024, 'x');
  EXPECT_EQ(w.Decide(kScr, "/p 42 " + padding).PreviewHostWindow, 42);
  EXPECT_EQ(w.Decide(kScr, "/p " + std::string(100 * 1024, '9')).PreviewHostWindow, 0);
  EXPECT_EQ(w.Decide(kScr, padding).Action, LaunchAction::StartDisplay);
  const LaunchDecision d = w.Decide(kScr, padding + ".glx");
  EXPECT_EQ(d.Action, LaunchAction::ImportTemplate);
  EXPECT_EQ(d.TemplatePath.size(), padding.size() + 4);
  EXPECT_EQ(w.Decide(std::string(100 * 1024, 'p') + ".scr", "/s").Action,
            LaunchAction::StartDisplay);
}

TEST(LaunchDecision, MissingQueriesMeanNoFilesAndNoWindows) {
  const LaunchDecision d = DecideLaunch("C:\\x.exe", "/s", LaunchQueries{});
  EXPECT_EQ(d.Mode, RunMode::Saver);
  EXPECT_EQ(d.Action, LaunchAction::StartDisplay);
}

TEST(CommandLine, ArgumentTextFollowsTheProgramName) {
  EXPECT_EQ(ArgumentText("C:\\x.scr /s"), "/s");
  EXPECT_EQ(ArgumentText("\"C:\\Program Files\\x.scr\" /p 1234"), "/p 1234");
  EXPECT_EQ(ArgumentText("\"C:\\a b\\x.scr\"/c"), "/c");
  EXPECT_EQ(ArgumentText("x.scr \t  \"C:\\My Templates\\n.glx\""), "\"C:\\My Templates\\n.glx\"");
  EXPECT_EQ(ArgumentText("x.scr"), "");
  EXPECT_EQ(ArgumentText("\"x.scr"), "");
  EXPECT_EQ(ArgumentText(""), "");
  EXPECT_EQ(ArgumentText("x.scr /s  "), "/s  ");
}

TEST(ScreenUnits, TwipsPerPixelRoundsHalfToEven) {
  EXPECT_EQ(TwipsPerPixel(96), 15);
  EXPECT_EQ(TwipsPerPixel(120), 12);
  EXPECT_EQ(TwipsPerPixel(144), 10);
  EXPECT_EQ(TwipsPerPixel(192), 8);    // 7.5
  EXPECT_EQ(TwipsPerPixel(160), 9);    // 9.0
  EXPECT_EQ(TwipsPerPixel(576), 2);    // 2.5
  EXPECT_EQ(TwipsPerPixel(1), 1440);
  EXPECT_EQ(TwipsPerPixel(0), 15);
  EXPECT_EQ(TwipsPerPixel(-96), 15);
}

}  // namespace
}  // namespace glintora
