// What a run loads: themes, templates, single settings and every command line the settings
// dialog builds reach the show (read from -verbose), the user's settings file is never written,
// and bad command lines end with exit code 2.
#include <iterator>
#include <sstream>

#include "tests/x11/x11_fixture.h"

namespace glintora::testing {
namespace {

using Options = X11Fixture;

std::string Text(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each command line either reaches the show, the first settings line printed with -verbose
// holding each pair, or ends with exit code 2 and one line on stderr (refused by the parser, by
// the range of a setting, as an unknown setting, as a missing file or one over 1 MB). No run
// writes the user's settings file.
TEST_F(Options, CommandLinesReachTheShowOrExitTwoAndTheUserFileIsNeverWritten) {
  WriteUserSettings("[Fireworks]\nFireWorks=30\nFireLength=9\n");
  const auto before = std::filesystem::last_write_time(SettingsFile());
  const std::string userText = Text(SettingsFile());
  const auto glx = config_ / "look.glx", big = config_ / "big.glx";
  std::ofstream(glx) << "[Admin]\r\nProduct=Glintora Fireworks\r\n[Fireworks]\r\nFireWorks=7\r\n"
                        "FireSparks=1234\r\n[Advanced]\r\nAdv_TimeDelay=33\r\n";
  std::ofstream(big) << "[Fireworks]\nFireWorks=7\n" << std::string(1 << 20, ';');
  struct Row {
    std::vector<std::string> args, pairs;  // no pairs: refused
  };
  std::vector<Row> rows = {
      {{}, {"FireWorks=30", "FireLength=9", "Adv_TimeDelay=40"}},
      // A theme touches no colour.
      {{"-theme", "3"}, {"FireWorks=8", "FireBurstPct=100", "FireMultiPct=0", "ColorRed=100"}},
      // The most specific option wins: a key over the theme, -delay over the stored delay.
      {{"-theme", "3", "-FireWorks", "20", "-delay", "17", "-colorred", "40"},
       {"FireWorks=20", "FireBurstPct=100", "Adv_TimeDelay=17", "ColorRed=40"}},
      // A template is a whole look: what it lacks is the default, not the user's value.
      {{"-template", glx.string()}, {"FireWorks=7", "FireSparks=1234", "Adv_TimeDelay=33", "FireLength=5"}},
      {{"-bogus"}, {}}, {{"-delay", "fast"}, {}}, {{"-FireWorks", "100"}, {}}, {{"-FireSymmetry", "x"}, {}},
      {{"-NoSuchKey", "1"}, {}}, {{"-template", (config_ / "missing.glx").string()}, {}},
      {{"-template", big.string()}, {}}};
  // xscreensaver builds the command line from glintora.xml: every switch it can produce, with every
  // number at the low end, the high end or the default of its range, must be one the program accepts.
  const std::string xml = Text(std::string(GLINTORA_SOURCE_DIR) + "/platform/x11/glintora.xml");
  auto attr = [](const std::string& element, const std::string& name) {
    const std::size_t at = element.find(" " + name + "=\"");
    if (at == std::string::npos) return std::string();
    const std::size_t from = at + name.size() + 3;
    return element.substr(from, element.find('"', from) - from);
  };
  const char* bounds[] = {"low", "high", "default"};
  std::string lines[3];
  int numbers = 0, switches = 0;
  for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
    const std::string e = xml.substr(at, xml.find('>', at) - at), tag = e.substr(1, e.find(' ') - 1);
    if (tag != "command" && tag != "option" && tag != "boolean" && tag != "number") continue;
    numbers += tag == "number", switches += !attr(e, "arg-set").empty();
    for (int k = 0; k < 3; ++k) {
      std::string arg = attr(e, "arg") + attr(e, "arg-set");
      if (arg.find('%') != std::string::npos) arg.replace(arg.find('%'), 1, attr(e, bounds[k]));
      lines[k] += " " + arg;
    }
  }
  ASSERT_TRUE(numbers >= 20 && switches >= 14) << numbers << " numbers, " << switches << " switches";
  for (const std::string& line : lines) {
    std::istringstream words(line);
    rows.push_back({{std::istream_iterator<std::string>(words), {}}, {"settings:"}});
  }
  for (const auto& row : rows) {
    std::vector<std::string> args = row.args;
    if (!row.pairs.empty()) args.insert(args.begin(), "-verbose");
    SCOPED_TRACE(args.back());
    ChildProcess child = Run(args);
    if (row.pairs.empty()) {
      EXPECT_EQ(child.WaitExit(), 2);
      EXPECT_EQ(child.Err().find('\n'), child.Err().size() - 1) << child.Err();
      EXPECT_EQ(child.Out(), "");
      continue;
    }
    EXPECT_TRUE(child.WaitForOutput("\n")) << child.Err();
    const std::string out = child.Out(), line = " " + out.substr(0, out.find('\n')) + " ";
    for (const std::string& pair : row.pairs)
      EXPECT_NE(line.find(" " + pair + " "), std::string::npos) << pair << " not in" << line;
  }
  EXPECT_EQ(Text(SettingsFile()), userText);
  EXPECT_EQ(std::filesystem::last_write_time(SettingsFile()), before);
}

}  // namespace
}  // namespace glintora::testing
