#include "settings/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "settings/ini_text.h"
#include "test_util.h"

namespace glintora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(IniLookup, FindsKeysCaseInsensitivelyInTheFirstMatchingSection) {
  const std::string ini =
      "; a comment\r\n[Admin]\r\nProduct = Glintora Fireworks \r\n"
      "[ fireworks ]\r\nFireWorks=12\r\nfirepersist=  0.97\r\nnoequals\r\nFireWorks=99\r\n"
      "[Fireworks]\r\nFireSpeed=7\r\n"
      "[Advanced]\r\nLockMessage=\"  two blanks  \"\r\nQuoted='x'y'\r\nEmpty=\r\n";
  const struct {
    std::string ini;
    const char *section, *key;
    std::optional<std::string> value;
  } rows[] = {
      {ini, "admin", "PRODUCT", "Glintora Fireworks"},
      {ini, "Fireworks", "FireWorks", "12"},  // the first one wins
      {ini, "Fireworks", "FirePersist", "0.97"},
      {ini, "Fireworks", "FireSpeed", std::nullopt},  // a second section is ignored
      {ini, "Fireworks", "noequals", std::nullopt},
      {ini, "Advanced", "LockMessage", "  two blanks  "},
      {ini, "Advanced", "Quoted", "x'y"},
      {ini, "Advanced", "Empty", ""},
      {ini, "Missing", "Empty", std::nullopt},
      {"", "A", "b", std::nullopt},
      {"\xEF\xBB\xBF[A]\nb=1", "A", "b", "1"},
      {"[A]\rb=1\r", "A", "b", "1"},  // a lone CR ends a line
      {"[A\nb=1", "A", "b", std::nullopt},  // an unclosed header opens no section
  };
  for (const auto& row : rows) EXPECT_EQ(IniLookup(row.ini, row.section, row.key), row.value) << row.key;
}

TEST(IniUpdate, ChangesOneLineKeepsEveryOtherByteAndFollowsTheLineEnding) {
  const std::string head = "; keep me\r\n[General]\r\n  ColorRed = 100   ; not a comment\r\n";
  const std::string ini = head + "ColorGrn=100\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n";
  const struct {
    std::string ini;
    const char *section, *key, *value, *newline;
    std::string expected;
  } rows[] = {
      {ini, "general", "colorgrn", "50", "\r\n", head + "colorgrn=50\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n"},
      // A new key goes after the section's last line, before the blank line that ends it.
      {ini, "General", "ColorBlu", "7", "\r\n",
       head + "ColorGrn=100\r\nColorBlu=7\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n"},
      {ini, "SoundFX", "SoundFX_ON", "0", "\r\n", ini + "[SoundFX]\r\nSoundFX_ON=0\r\n"},
      {"[A]\nx=1", "A", "y", "2", "\r\n", "[A]\nx=1\ny=2\n"},
      {"[A]\nx=1", "B", "y", "2", "\r\n", "[A]\nx=1\n[B]\ny=2\n"},
      {"", "B", "y", "2", "\r\n", "[B]\r\ny=2\r\n"},
      {"", "B", "y", "2", "\n", "[B]\ny=2\n"},
      {"[A]", "A", "y", "2", "\n", "[A]\ny=2\n"},
      {"[A]\r\r", "A", "y", "2", "\r\n", "[A]\ry=2\r\r"},
      {"[A]\nx=1\r", "A", "y", "2", "\r\n", "[A]\nx=1\ry=2\n"},
      // An unclosed header is no section: the key goes under a new, closed one.
      {"[f\r", "f", "f\x01", " \xe6/", "\r\n", "[f\r[f]\rf\x01=\" \xe6/\"\r"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(IniUpdate(row.ini, row.section, row.key, row.value, row.newline), row.expected) << row.key;
  }
}

TEST(IniUpdate, ValuesRoundTripAndBadNamesAreRefused) {
  for (const std::string& value : std::initializer_list<std::string>{
           "plain", "  blanks  ", "\"quoted\"", "'q'", "a=b", "[x]", "", "\"", "semi;colon",
           std::string("nul\0byte", 8)}) {
    const auto updated = IniUpdate("[A]\nk=old\n", "A", "k", value);
    ASSERT_TRUE(updated);
    EXPECT_EQ(IniLookup(*updated, "A", "k"), value);
  }
  // Whatever the file holds, a written value reads back and writing it again changes nothing.
  for (const char* ini : {"[f\r", "[A\n", "[A]\rk=1\r\r\n", "\r\n[A]\rk=\"1\r", "[ a ]x\n"}) {
    const auto once = IniUpdate(ini, "A", "k", " v");
    ASSERT_TRUE(once) << ini;
    EXPECT_EQ(IniLookup(*once, "A", "k"), " v") << ini;
    EXPECT_EQ(IniUpdate(*once, "A", "k", " v"), once) << ini;
  }
  // A line break cannot start a new section behind the caller's back.
  const auto injected = IniUpdate("", "A", "k", "x\r\n[Admin]\r\nProduct=evil");
  EXPECT_EQ(IniLookup(*injected, "Admin", "Product"), std::nullopt);
  EXPECT_EQ(IniLookup(*injected, "A", "k"), "x  [Admin]  Product=evil");
  for (auto [section, key] : {std::pair{"", "k"}, {"A", ""}, {"A]", "k"}, {"A", "k=v"},
                              {"A\n", "k"}, {"A", "[k"}, {"A", ";k"}}) {
    EXPECT_FALSE(IniUpdate("", section, key, "v")) << section << "/" << key;
  }
}

TEST(Profile, ReadsGiveTheDefaultForAMissingFileSectionOrKey) {
  TempDir dir;
  Templates t;
  EXPECT_EQ(ProfileReadText(t, "Fireworks", "FirePersist", "0.97"), "0.97");  // no current file
  EXPECT_EQ(ProfileReadNumber(t, "Fireworks", "FirePersist", "0.97", dir.File("none.glx")), 0.97);
  TempDir::Write(dir.File("a.glx"), "[Fireworks]\r\nFireWorks=12abc\r\nFireSpeed=fast\r\n");
  t.CurrentTemplatePath = dir.File("a.glx");
  EXPECT_EQ(ProfileReadNumber(t, "Fireworks", "FireWorks", "1"), 12);
  EXPECT_EQ(ProfileReadNumber(t, "Fireworks", "FireSpeed", "6"), 0);
  EXPECT_EQ(ProfileReadText(t, "Fireworks", "FireLength", "5"), "5");
  EXPECT_EQ(ProfileReadText(t, "Other", "FireWorks", "x"), "x");
  EXPECT_EQ(ProfileReadText(t, "A", "b", "d", dir.Path().string()), "d");  // a folder is no file
}

TEST(Profile, WritesInPlaceKeepingCommentsAndCrlfAndLongValues) {
  TempDir dir;
  Templates t{dir.File("t.glx")};
  const std::string head = "; my favourite\r\n[Admin]\r\nProduct=Glintora Fireworks\r\n\r\n"
                           "[Fireworks]\r\n; fast ones\r\n";
  TempDir::Write(t.CurrentTemplatePath, head + "FireSpeed=6\r\n");
  EXPECT_TRUE(ProfileWriteText(t, "Fireworks", "FireSpeed", 12.5));
  EXPECT_TRUE(ProfileWriteText(t, "Fireworks", "FirePersist", 0.97f));
  EXPECT_TRUE(ProfileWriteText(t, "General", "ColorRed", 100));
  EXPECT_EQ(TempDir::Read(t.CurrentTemplatePath),
            head + "FireSpeed=12.5\r\nFirePersist=0.97\r\n[General]\r\nColorRed=100\r\n");
  EXPECT_EQ(dir.Entries(), 1u);  // nothing is left beside the file
  const std::string message(1000, 'z');
  ASSERT_TRUE(ProfileWriteText(t, "Advanced", "LockMessage", message));
  EXPECT_EQ(ProfileReadText(t, "Advanced", "LockMessage", ""), message);
}

TEST(Profile, AFailedWriteLeavesTheFileAsItWas) {
  TempDir dir;
  Templates t{dir.File("no-such-folder/t.glx")};
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "c"));
  EXPECT_FALSE(fs::exists(t.CurrentTemplatePath));
  EXPECT_FALSE(ProfileWriteText(Templates{}, "A", "b", "c"));  // no file at all
  const std::string file = dir.File("keep.glx");
  TempDir::Write(file, "[A]\nb=1\n");
  EXPECT_FALSE(ProfileWriteText(t, "A", "b=", "2", file));
  EXPECT_EQ(TempDir::Read(file), "[A]\nb=1\n");
  const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(file, writable, fs::perm_options::remove);
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "2", file));
  EXPECT_EQ(TempDir::Read(file), "[A]\nb=1\n");
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  // A folder where the file should be is not replaced.
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "2", dir.Path().string()));
  EXPECT_TRUE(fs::is_directory(dir.Path()));
}

}  // namespace
}  // namespace glintora
