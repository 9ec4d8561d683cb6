// What a run loads: themes, templates and single settings reach the show (read from -verbose),
// the user's settings file is never written, and bad command lines end with exit code 2.
#include <sstream>

#include "tests/x11/x11_fixture.h"

namespace glintora::testing {
namespace {

class Options : public X11Fixture {
 protected:
  // Runs with -verbose and the arguments; the first settings line printed must hold each pair.
  void ExpectLoaded(std::vector<std::string> args, const std::vector<std::string>& pairs) {
    args.insert(args.begin(), "-verbose");
    ChildProcess child = Run(args);
    EXPECT_TRUE(child.WaitForOutput("\n", kPatience)) << child.Err();
    const std::string out = child.Out();
    const std::string line = " " + out.substr(0, out.find('\n')) + " ";
    for (const std::string& pair : pairs)
      EXPECT_NE(line.find(" " + pair + " "), std::string::npos) << pair << " not in" << line;
  }
  static std::string Text(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(Options, DefaultsThemeAndSingleSettingsReachTheShow) {
  ExpectLoaded({}, {"FireWorks=12", "FireSparks=1200", "Adv_TimeDelay=40"});
  // A theme touches no colour.
  ExpectLoaded({"-theme", "3"},
               {"FireWorks=8", "FireBurstPct=100", "FireMultiPct=0", "ColorRed=100"});
  // The most specific option wins: a key over the theme, -delay over the stored delay.
  ExpectLoaded({"-theme", "3", "-FireWorks", "20", "-delay", "17", "-colorred", "40"},
               {"FireWorks=20", "FireBurstPct=100", "Adv_TimeDelay=17", "ColorRed=40"});
}

TEST_F(Options, TemplateIsLoadedForTheRunWithoutTouchingTheUserSettings) {
  WriteUserSettings("[Fireworks]\nFireWorks=30\nFireLength=9\n");
  const auto before = std::filesystem::last_write_time(SettingsFile());
  const std::string userText = Text(SettingsFile());

  ExpectLoaded({}, {"FireWorks=30", "FireLength=9"});

  const auto glx = config_ / "look.glx";
  std::ofstream(glx) << "[Admin]\r\nProduct=Glintora Fireworks\r\n[Fireworks]\r\nFireWorks=7\r\n"
                        "FireSparks=1234\r\n[Advanced]\r\nAdv_TimeDelay=33\r\n";
  // A template is a whole look: what it lacks is the default, not the user's value.
  ExpectLoaded({"-template", glx.string()},
               {"FireWorks=7", "FireSparks=1234", "Adv_TimeDelay=33", "FireLength=5"});

  EXPECT_EQ(Text(SettingsFile()), userText);
  EXPECT_EQ(std::filesystem::last_write_time(SettingsFile()), before);
}

// xscreensaver builds the command line from glintora.xml: every switch it can produce, at either
// end of every range, must be one the program accepts.
TEST_F(Options, EveryCommandLineTheSettingsDialogCanBuildIsAccepted) {
  const std::string xml = Text(std::string(GLINTORA_SOURCE_DIR) + "/platform/x11/glintora.xml");
  ASSERT_FALSE(xml.empty()) << "glintora.xml not found";

  auto split = [](const std::string& arg, const std::string& value) {
    std::vector<std::string> words;
    std::istringstream is(arg);
    for (std::string w; is >> w;) words.push_back(w == "%" ? value : w);
    return words;
  };
  // Every element named tag, as its text up to '>'.
  auto elements = [&xml](const std::string& tag) {
    std::vector<std::string> out;
    for (std::size_t at = xml.find("<" + tag); at != std::string::npos;
         at = xml.find("<" + tag, at + 1))
      out.push_back(xml.substr(at, xml.find('>', at) - at));
    return out;
  };
  auto attr = [](const std::string& element, const std::string& name) {
    const std::string key = " " + name + "=\"";
    std::size_t at = element.find(key);
    if (at == std::string::npos) return std::string();
    at += key.size();
    return element.substr(at, element.find('"', at) - at);
  };

  std::vector<std::string> fixed;
  for (const auto& e : elements("command"))
    for (auto& w : split(attr(e, "arg"), "")) fixed.push_back(w);
  std::vector<std::vector<std::string>> switches;
  for (const std::string tag : {"option", "boolean"})
    for (const auto& e : elements(tag))
      if (!attr(e, "arg-set").empty()) switches.push_back(split(attr(e, "arg-set"), ""));
  std::vector<std::vector<std::string>> ranges[3];
  int numbers = 0;
  for (const auto& e : elements("number")) {
    ++numbers;
    const char* bounds[3] = {"low", "high", "default"};
    for (int k = 0; k < 3; ++k) ranges[k].push_back(split(attr(e, "arg"), attr(e, bounds[k])));
  }
  ASSERT_GE(numbers, 20);
  ASSERT_GE(switches.size(), 14u);
  ASSERT_FALSE(fixed.empty());

  for (int k = 0; k < 3; ++k) {
    std::vector<std::string> args = fixed;
    args.push_back("-verbose");
    for (const auto& s : switches) args.insert(args.end(), s.begin(), s.end());
    for (const auto& r : ranges[k]) args.insert(args.end(), r.begin(), r.end());
    ChildProcess child = Run(args);
    EXPECT_TRUE(child.WaitForOutput("settings:", kPatience))
        << (k == 0 ? "lows" : k == 1 ? "highs" : "defaults") << ": " << child.Err();
  }
}

TEST_F(Options, BadCommandLinesExitTwoWithOneLine) {
  const std::vector<std::vector<std::string>> bad = {
      {"-bogus"},
      {"-delay", "fast"},
      {"-theme", "14"},
      {"-window-id", "nowindow"},
      {"-seed"},
      {"-FireWorks", "100"},
      {"-FireSymmetry", "x"},
      {"-NoSuchKey", "1"},
      {"-template", (config_ / "missing.glx").string()},
  };
  for (const auto& args : bad) {
    ChildProcess child = Run(args);
    int code = -1;
    ASSERT_TRUE(child.WaitExit(kPatience, code)) << args[0];
    EXPECT_EQ(code, 2) << args[0];
    const std::string err = child.Err();
    EXPECT_FALSE(err.empty()) << args[0];
    EXPECT_EQ(err.find('\n'), err.size() - 1) << args[0] << ": " << err;
    EXPECT_TRUE(child.Out().empty()) << args[0];
  }
  EXPECT_FALSE(std::filesystem::exists(SettingsFile())) << "a failed run wrote settings";
}

}  // namespace
}  // namespace glintora::testing
