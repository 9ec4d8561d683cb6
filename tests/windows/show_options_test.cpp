#include "windows/show_options.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

ParsedOptions Parse(std::vector<std::string> args, const char* env = nullptr) {
  return ParseShowOptions(args, env);
}

TEST(ShowOptions, EveryOptionIsRead) {
  const auto r = Parse({"-fullscreen", "-delay", "25", "--theme", "13", "-template", "a.glx",
                        "-seed", "4294967295", "-fps", "-verbose", "-FireWorks", "20"});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.target, ShowTarget::FullScreen);
  EXPECT_EQ(*r.options.delayMs, 25);
  EXPECT_EQ(*r.options.theme, 13);
  EXPECT_EQ(r.options.templatePath, "a.glx");
  EXPECT_EQ(*r.options.seed, 4294967295u);
  EXPECT_TRUE(r.options.fps);
  EXPECT_TRUE(r.options.verbose);
  ASSERT_EQ(r.options.settings.size(), 1u);
  EXPECT_EQ(r.options.settings[0].first, "FireWorks");
  EXPECT_EQ(r.options.settings[0].second, "20");
}

TEST(ShowOptions, WindowIdsAndTheDaemonsEnvironment) {
  auto r = Parse({"-window-id", "0x2a00007"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.options.target, ShowTarget::ForeignWindow);
  EXPECT_EQ(r.options.windowId, 0x2a00007u);
  EXPECT_EQ(Parse({"-window-id", "4194311"}).options.windowId, 4194311u);

  // -root or nothing: the daemon's window replaces the real root.
  r = Parse({"-root"}, "0x400001");
  EXPECT_EQ(r.options.target, ShowTarget::ForeignWindow);
  EXPECT_EQ(r.options.windowId, 0x400001u);
  EXPECT_EQ(Parse({}, "12").options.windowId, 12u);
  // An explicit choice wins over the environment.
  EXPECT_EQ(Parse({"-window-id", "7"}, "12").options.windowId, 7u);
  EXPECT_EQ(Parse({"-fullscreen"}, "12").options.target, ShowTarget::FullScreen);
  EXPECT_EQ(Parse({"-root"}, "").options.target, ShowTarget::Root);
  EXPECT_FALSE(Parse({"-root"}, "junk").ok);
}

TEST(ShowOptions, BadInputIsOneLineError) {
  const std::vector<std::vector<std::string>> bad = {
      {"-bogus"},           {"stray"},           {"-"},
      {"-delay"},           {"-delay", "abc"},   {"-delay", "-1"},
      {"-delay", "1000"},   {"-delay", "4x"},    {"-theme", "0"},
      {"-theme", "14"},     {"-theme", "1.5"},   {"-window-id", "0"},
      {"-window-id", "zz"}, {"-window-id", "-5"}, {"-window-id", "0x100000000"},
      {"-window-id"},       {"-seed", "-1"},     {"-seed", "4294967296"},
      {"-template"},        {"-template", ""},   {"-root", "-fullscreen"},
      {"-window-id", "5", "-window"},
  };
  for (const auto& args : bad) {
    const auto r = Parse(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_FALSE(r.ok) << joined;
    EXPECT_FALSE(r.error.empty()) << joined;
    EXPECT_EQ(r.error.find('\n'), std::string::npos) << joined;
  }
  EXPECT_TRUE(Parse({"-root", "-root"}).ok);
}

TEST(WindowId, AcceptsWhatXToolsPrint) {
  EXPECT_EQ(*ParseWindowId("0xffffffff"), 0xffffffffu);
  EXPECT_EQ(*ParseWindowId("0X1F"), 0x1fu);
  EXPECT_FALSE(ParseWindowId("12 "));
  EXPECT_FALSE(ParseWindowId(" 12"));
  EXPECT_FALSE(ParseWindowId(""));
}

}  // namespace
}  // namespace glintora
