#include "startup/launch_decision.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "startup/twips.h"

namespace glintora {
namespace {

constexpr const char* kScr = "C:\\Savers\\glint.scr";
constexpr const char* kExe = "C:\\Savers\\glint.exe";
const std::set<std::string> kNoFiles, kNoWindows;
const std::set<std::string> kSaverOn = {"KRYX:Glintora Fireworks 1.0"};
const std::set<std::string> kDialogOpen = {"Glintora Fireworks"};

struct Row {
  std::set<std::string> files;    // ordinary files that exist
  std::set<std::string> windows;  // captions on screen
  std::string program, args;
  RunMode mode;
  LaunchAction action;
  std::int64_t number = 0;   // PreviewHostWindow or PasswordParent
  std::string path = "";     // TemplatePath
};

using A = LaunchAction;
using M = RunMode;

void Check(const Row& row) {
  LaunchQueries q;
  q.IsOrdinaryFile = [&](const std::string& p) { return row.files.count(p) > 0; };
  q.IsWindowPresent = [&](const std::string& c) { return row.windows.count(c) > 0; };
  const LaunchDecision d = DecideLaunch(row.program, row.args, q);
  const std::string where = row.program + " [" + row.args.substr(0, 60) + "]";
  EXPECT_EQ(d.Mode, row.mode) << where;
  EXPECT_EQ(d.Action, row.action) << where;
  EXPECT_EQ(row.action == A::CreatePreview ? d.PreviewHostWindow : d.PasswordParent, row.number)
      << where;
  EXPECT_EQ(d.TemplatePath, row.path) << where;
}

TEST(LaunchDecision, ApplicationTestComesBeforeTheCommandLine) {
  const std::set<std::string> exeOnly = {kExe}, both = {kExe, kScr};
  const Row rows[] = {
      {exeOnly, kSaverOn, kExe, "/s", M::Application, A::StartDisplay},
      {exeOnly, kNoWindows, kExe, "/p 123", M::Application, A::StartDisplay},
      {both, kNoWindows, kExe, "/p 123", M::Preview, A::CreatePreview, 123},
      {both, kNoWindows, kScr, "/s", M::Saver, A::StartDisplay},
      {{"glint.exe"}, kNoWindows, kScr, "/s", M::Saver, A::StartDisplay},  // not beside it
      {{"C:\\glint.exe"}, kNoWindows, "C:\\glint.exe", "", M::Application, A::StartDisplay},
      {{"glint.exe"}, kNoWindows, "glint.exe", "/c", M::Application, A::StartDisplay},
  };
  for (const Row& row : rows) Check(row);
}

TEST(LaunchDecision, SwitchesAndTheirNumbers) {
  const Row rows[] = {
      {kNoFiles, kNoWindows, kScr, "", M::Saver, A::ShowProperties},
      {kNoFiles, kNoWindows, kScr, "  \t ", M::Saver, A::ShowProperties},
      {kNoFiles, kNoWindows, kScr, "/c:1234", M::Saver, A::ShowProperties},
      {kNoFiles, kDialogOpen, kScr, "/C", M::Saver, A::BringPropertiesForward},
      {kNoFiles, kDialogOpen, kScr, "", M::Saver, A::BringPropertiesForward},
      {kNoFiles, kDialogOpen, kScr, "/s", M::Saver, A::StartDisplay},
      {kNoFiles, kSaverOn, kScr, "/S", M::Saver, A::Nothing},
      {kNoFiles, kNoWindows, kScr, "/S C:\\t\\night.glx", M::Saver, A::StartDisplay},
      {kNoFiles, kNoWindows, kScr, "/p 1234", M::Preview, A::CreatePreview, 1234},
      {kNoFiles, kNoWindows, kScr, "/P   77 extra", M::Preview, A::CreatePreview, 77},
      {kNoFiles, kNoWindows, kScr, "/p 13.5", M::Preview, A::CreatePreview, 14},
      {kNoFiles, kNoWindows, kScr, "/p -2147483648", M::Preview, A::CreatePreview, INT32_MIN},
      {kNoFiles, kNoWindows, kScr, "/p", M::Preview, A::CreatePreview, 0},
      {kNoFiles, kNoWindows, kScr, "/p:99", M::Preview, A::CreatePreview, 0},
      // Beyond 32 bits no window can be meant: 0, so the preview ends at once.
      {kNoFiles, kNoWindows, kScr, "/p 2147483648", M::Preview, A::CreatePreview, 0},
      {kNoFiles, kNoWindows, kScr, "/p 1e400", M::Preview, A::CreatePreview, 0},
      {kNoFiles, kNoWindows, kScr, "/a 4660", M::Saver, A::ChangePassword, 4660},
      {kNoFiles, kNoWindows, kScr, "/A:5", M::Saver, A::ChangePassword, 0},
      // Only a slash at the very start makes a switch.
      {kNoFiles, kSaverOn, kScr, " /s", M::Saver, A::StartDisplay},
      {kNoFiles, kDialogOpen, kScr, "-c", M::Saver, A::StartDisplay},
      {kNoFiles, kNoWindows, kScr, "/", M::Saver, A::StartDisplay},
  };
  for (const Row& row : rows) Check(row);
}

TEST(LaunchDecision, TemplatePathsAreImportedWithOrWithoutQuotes) {
  const Row rows[] = {
      {kNoFiles, kNoWindows, kScr, "C:\\My T\\night.glx", M::Saver, A::ImportTemplate, 0,
       "C:\\My T\\night.glx"},
      {kNoFiles, kNoWindows, kScr, "\"C:\\My T\\night.GlX\"", M::Saver, A::ImportTemplate, 0,
       "C:\\My T\\night.GlX"},
      {kNoFiles, kNoWindows, kScr, " C:\\t.glx", M::Saver, A::ImportTemplate, 0, " C:\\t.glx"},
      // One quote alone stays part of the text.
      {kNoFiles, kNoWindows, kScr, "\"C:\\t.glx", M::Saver, A::ImportTemplate, 0, "\"C:\\t.glx"},
      {kNoFiles, kNoWindows, kScr, "C:\\t.glx\"", M::Saver, A::StartDisplay},
      {kNoFiles, kNoWindows, kScr, "\"C:\\t.txt\"", M::Saver, A::StartDisplay},
      {kNoFiles, kNoWindows, kScr, "glx", M::Saver, A::StartDisplay},
      {kNoFiles, kNoWindows, kScr, "\"\"", M::Saver, A::StartDisplay},
  };
  for (const Row& row : rows) Check(row);
}

TEST(LaunchDecision, HugeCommandLinesAreDecidedLikeShortOnes) {
  const std::string padding(100 * 1024, 'x');
  Check({kNoFiles, kNoWindows, kScr, "/p 42 " + padding, M::Preview, A::CreatePreview, 42});
  Check({kNoFiles, kNoWindows, kScr, "/p " + std::string(100 * 1024, '9'), M::Preview,
         A::CreatePreview, 0});
  Check({kNoFiles, kNoWindows, kScr, padding + ".glx", M::Saver, A::ImportTemplate, 0,
         padding + ".glx"});
  Check({kNoFiles, kNoWindows, padding + ".scr", "/s", M::Saver, A::StartDisplay});
}

TEST(CommandLine, ArgumentTextFollowsTheProgramName) {
  EXPECT_EQ(ArgumentText("C:\\x.scr /s"), "/s");
  EXPECT_EQ(ArgumentText("\"C:\\Program Files\\x.scr\" /p 1234"), "/p 1234");
  EXPECT_EQ(ArgumentText("\"C:\\a b\\x.scr\"/c"), "/c");
  EXPECT_EQ(ArgumentText("x.scr \t \"C:\\My T\\n.glx\""), "\"C:\\My T\\n.glx\"");
  EXPECT_EQ(ArgumentText("\"x.scr"), "");
  EXPECT_EQ(ArgumentText(""), "");
}

TEST(ScreenUnits, TwipsPerPixelRoundsHalfToEven) {
  EXPECT_EQ(TwipsPerPixel(96), 15);
  EXPECT_EQ(TwipsPerPixel(120), 12);
  EXPECT_EQ(TwipsPerPixel(192), 8);  // 7.5
  EXPECT_EQ(TwipsPerPixel(576), 2);  // 2.5
  EXPECT_EQ(TwipsPerPixel(0), 15);
}

}  // namespace
}  // namespace glintora
