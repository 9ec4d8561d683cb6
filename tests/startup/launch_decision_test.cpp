#include "startup/launch_decision.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "startup/twips.h"

namespace glintora {
namespace {

using A = LaunchAction;
using M = RunMode;
using Names = std::set<std::string>;
const std::string kScr = "C:\\Savers\\glint.scr", kExe = "C:\\Savers\\glint.exe";
const Names kNone, kSaverOn = {"KRYX:Glintora Fireworks 1.0"}, kDialogOpen = {"Glintora Fireworks"};

struct Row {
  std::string args;
  M mode;
  A action;
  std::int64_t number = 0;  // PreviewHostWindow or PasswordParent
  std::string path = "";    // TemplatePath
  Names windows = {};       // captions on screen
  Names files = {};         // ordinary files that exist
  std::string program = kScr;
};

// Every way the program can be started: the files beside it, the windows on screen, its path and
// its arguments, and what it then does.
TEST(LaunchDecision, EveryStartingCase) {
  const Names exeOnly = {kExe}, both = {kExe, kScr};
  const std::string pad(100 * 1024, 'x'), nines(100 * 1024, '9');
  const Row rows[] = {
      // The application test comes before the command line.
      {"/s", M::Application, A::StartDisplay, 0, "", kSaverOn, exeOnly, kExe},
      {"/p 123", M::Preview, A::CreatePreview, 123, "", kNone, both, kExe},
      {"/s", M::Saver, A::StartDisplay, 0, "", kNone, both}, {"/s", M::Saver, A::StartDisplay, 0, "", kNone, {"glint.exe"}},
      {"", M::Application, A::StartDisplay, 0, "", kNone, {"C:\\glint.exe"}, "C:\\glint.exe"},
      {"/c", M::Application, A::StartDisplay, 0, "", kNone, {"glint.exe"}, "glint.exe"},
      // Switches and their numbers.
      {"", M::Saver, A::ShowProperties}, {" \t ", M::Saver, A::ShowProperties}, {"/c:1234", M::Saver, A::ShowProperties},
      {"/C", M::Saver, A::BringPropertiesForward, 0, "", kDialogOpen},
      {"/s", M::Saver, A::StartDisplay, 0, "", kDialogOpen}, {"/S", M::Saver, A::Nothing, 0, "", kSaverOn},
      {"/S C:\\t\\night.glx", M::Saver, A::StartDisplay}, {"/s", M::Saver, A::StartDisplay, 0, "", kNone, kNone, pad + ".scr"},
      {"/P   77 extra", M::Preview, A::CreatePreview, 77}, {"/p 42 " + pad, M::Preview, A::CreatePreview, 42},
      {"/p 13.5", M::Preview, A::CreatePreview, 14}, {"/p -2147483648", M::Preview, A::CreatePreview, INT32_MIN},
      {"/p", M::Preview, A::CreatePreview}, {"/p:99", M::Preview, A::CreatePreview},
      // Beyond 32 bits no window can be meant: 0, so the preview ends at once.
      {"/p 2147483648", M::Preview, A::CreatePreview}, {"/p 1e400", M::Preview, A::CreatePreview},
      {"/p " + nines, M::Preview, A::CreatePreview},
      {"/a 4660", M::Saver, A::ChangePassword, 4660}, {"/A:5", M::Saver, A::ChangePassword},
      // Only a slash at the very start makes a switch.
      {" /s", M::Saver, A::StartDisplay, 0, "", kSaverOn}, {"-c", M::Saver, A::StartDisplay, 0, "", kDialogOpen},
      {"/", M::Saver, A::StartDisplay},
      // Template paths are imported with or without quotes; one quote alone stays part of the text.
      {"C:\\My T\\n.glx", M::Saver, A::ImportTemplate, 0, "C:\\My T\\n.glx"},
      {"\"C:\\My T\\n.GlX\"", M::Saver, A::ImportTemplate, 0, "C:\\My T\\n.GlX"},
      {" C:\\t.glx", M::Saver, A::ImportTemplate, 0, " C:\\t.glx"}, {pad + ".glx", M::Saver, A::ImportTemplate, 0, pad + ".glx"},
      {"\"C:\\t.glx", M::Saver, A::ImportTemplate, 0, "\"C:\\t.glx"}, {"C:\\t.glx\"", M::Saver, A::StartDisplay},
      {"\"C:\\t.txt\"", M::Saver, A::StartDisplay}, {"glx", M::Saver, A::StartDisplay}, {"\"\"", M::Saver, A::StartDisplay},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.program.substr(0, 40) + " [" + row.args.substr(0, 60) + "]");
    LaunchQueries q;
    q.IsOrdinaryFile = [&](const std::string& p) { return row.files.count(p) > 0; };
    q.IsWindowPresent = [&](const std::string& c) { return row.windows.count(c) > 0; };
    const LaunchDecision d = DecideLaunch(row.program, row.args, q);
    EXPECT_EQ(std::make_tuple(d.Mode, d.Action, d.TemplatePath), std::make_tuple(row.mode, row.action, row.path));
    EXPECT_EQ(row.action == A::CreatePreview ? d.PreviewHostWindow : d.PasswordParent, row.number);
  }
}

TEST(CommandLine, ArgumentTextAndTwipsPerPixel) {
  const std::pair<const char*, const char*> args[] = {
      {"C:\\x.scr /s", "/s"}, {"\"C:\\Program Files\\x.scr\" /p 1234", "/p 1234"}, {"\"C:\\a b\\x.scr\"/c", "/c"},
      {"x.scr \t \"C:\\My T\\n.glx\"", "\"C:\\My T\\n.glx\""}, {"\"x.scr", ""}, {"", ""}};
  for (const auto& [line, expected] : args) EXPECT_EQ(ArgumentText(line), expected) << line;
  // Half-way values (192 and 576 dots per inch) round to even; 0 means the usual 96.
  const std::pair<int, int> twips[] = {{96, 15}, {120, 12}, {192, 8}, {576, 2}, {0, 15}};
  for (const auto& [dpi, expected] : twips) EXPECT_EQ(TwipsPerPixel(dpi), expected) << dpi;
}

}  // namespace
}  // namespace glintora
