#include "startup/launch_decision.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "startup/twips.h"

namespace glintora {
namespace {

using A = LaunchAction;
using M = RunMode;
using Names = std::set<std::string>;
const std::string kScr = "C:\\Savers\\glint.scr", kExe = "C:\\Savers\\glint.exe";
const Names kNone, kSaverOn = {"KRYX:Glintora Fireworks 1.0"}, kDialogOpen = {"Glintora Fireworks"};

struct Row {
  Names files;    // ordinary files that exist
  Names windows;  // captions on screen
  std::string program, args;
  M mode;
  A action;
  std::int64_t number = 0;  // PreviewHostWindow or PasswordParent
  std::string path = "";    // TemplatePath
};

// Every way the program can be started: the files beside it, the windows on screen, its path and
// its arguments, and what it then does.
TEST(LaunchDecision, EveryStartingCase) {
  const Names exeOnly = {kExe}, both = {kExe, kScr};
  const std::string padding(100 * 1024, 'x');
  const Row rows[] = {
      // The application test comes before the command line.
      {exeOnly, kSaverOn, kExe, "/s", M::Application, A::StartDisplay},
      {both, kNone, kExe, "/p 123", M::Preview, A::CreatePreview, 123},
      {both, kNone, kScr, "/s", M::Saver, A::StartDisplay},
      {{"glint.exe"}, kNone, kScr, "/s", M::Saver, A::StartDisplay},  // not beside it
      {{"C:\\glint.exe"}, kNone, "C:\\glint.exe", "", M::Application, A::StartDisplay},
      {{"glint.exe"}, kNone, "glint.exe", "/c", M::Application, A::StartDisplay},
      // Switches and their numbers.
      {kNone, kNone, kScr, "", M::Saver, A::ShowProperties},
      {kNone, kNone, kScr, "  \t ", M::Saver, A::ShowProperties},
      {kNone, kNone, kScr, "/c:1234", M::Saver, A::ShowProperties},
      {kNone, kDialogOpen, kScr, "/C", M::Saver, A::BringPropertiesForward},
      {kNone, kDialogOpen, kScr, "/s", M::Saver, A::StartDisplay},
      {kNone, kSaverOn, kScr, "/S", M::Saver, A::Nothing},
      {kNone, kNone, kScr, "/S C:\\t\\night.glx", M::Saver, A::StartDisplay},
      {kNone, kNone, padding + ".scr", "/s", M::Saver, A::StartDisplay},
      {kNone, kNone, kScr, "/P   77 extra", M::Preview, A::CreatePreview, 77},
      {kNone, kNone, kScr, "/p 42 " + padding, M::Preview, A::CreatePreview, 42},
      {kNone, kNone, kScr, "/p 13.5", M::Preview, A::CreatePreview, 14},
      {kNone, kNone, kScr, "/p -2147483648", M::Preview, A::CreatePreview, INT32_MIN},
      {kNone, kNone, kScr, "/p", M::Preview, A::CreatePreview, 0},
      {kNone, kNone, kScr, "/p:99", M::Preview, A::CreatePreview, 0},
      // Beyond 32 bits no window can be meant: 0, so the preview ends at once.
      {kNone, kNone, kScr, "/p 2147483648", M::Preview, A::CreatePreview, 0},
      {kNone, kNone, kScr, "/p 1e400", M::Preview, A::CreatePreview, 0},
      {kNone, kNone, kScr, "/p " + std::string(100 * 1024, '9'), M::Preview, A::CreatePreview, 0},
      {kNone, kNone, kScr, "/a 4660", M::Saver, A::ChangePassword, 4660},
      {kNone, kNone, kScr, "/A:5", M::Saver, A::ChangePassword, 0},
      // Only a slash at the very start makes a switch.
      {kNone, kSaverOn, kScr, " /s", M::Saver, A::StartDisplay},
      {kNone, kDialogOpen, kScr, "-c", M::Saver, A::StartDisplay},
      {kNone, kNone, kScr, "/", M::Saver, A::StartDisplay},
      // Template paths are imported with or without quotes.
      {kNone, kNone, kScr, "C:\\My T\\n.glx", M::Saver, A::ImportTemplate, 0, "C:\\My T\\n.glx"},
      {kNone, kNone, kScr, "\"C:\\My T\\n.GlX\"", M::Saver, A::ImportTemplate, 0, "C:\\My T\\n.GlX"},
      {kNone, kNone, kScr, " C:\\t.glx", M::Saver, A::ImportTemplate, 0, " C:\\t.glx"},
      {kNone, kNone, kScr, padding + ".glx", M::Saver, A::ImportTemplate, 0, padding + ".glx"},
      // One quote alone stays part of the text.
      {kNone, kNone, kScr, "\"C:\\t.glx", M::Saver, A::ImportTemplate, 0, "\"C:\\t.glx"},
      {kNone, kNone, kScr, "C:\\t.glx\"", M::Saver, A::StartDisplay},
      {kNone, kNone, kScr, "\"C:\\t.txt\"", M::Saver, A::StartDisplay},
      {kNone, kNone, kScr, "glx", M::Saver, A::StartDisplay},
      {kNone, kNone, kScr, "\"\"", M::Saver, A::StartDisplay},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.program.substr(0, 40) + " [" + row.args.substr(0, 60) + "]");
    LaunchQueries q;
    q.IsOrdinaryFile = [&](const std::string& p) { return row.files.count(p) > 0; };
    q.IsWindowPresent = [&](const std::string& c) { return row.windows.count(c) > 0; };
    const LaunchDecision d = DecideLaunch(row.program, row.args, q);
    EXPECT_EQ(d.Mode, row.mode);
    EXPECT_EQ(d.Action, row.action);
    EXPECT_EQ(row.action == A::CreatePreview ? d.PreviewHostWindow : d.PasswordParent, row.number);
    EXPECT_EQ(d.TemplatePath, row.path);
  }
}

TEST(CommandLine, ArgumentTextAndTwipsPerPixel) {
  const std::pair<const char*, const char*> args[] = {
      {"C:\\x.scr /s", "/s"}, {"\"C:\\Program Files\\x.scr\" /p 1234", "/p 1234"},
      {"\"C:\\a b\\x.scr\"/c", "/c"}, {"x.scr \t \"C:\\My T\\n.glx\"", "\"C:\\My T\\n.glx\""},
      {"\"x.scr", ""}, {"", ""}};
  for (const auto& [line, expected] : args) EXPECT_EQ(ArgumentText(line), expected) << line;
  // Half-way values (192 and 576 dots per inch) round to even; 0 means the usual 96.
  const std::pair<int, int> twips[] = {{96, 15}, {120, 12}, {192, 8}, {576, 2}, {0, 15}};
  for (const auto& [dpi, expected] : twips) EXPECT_EQ(TwipsPerPixel(dpi), expected) << dpi;
}

}  // namespace
}  // namespace glintora
