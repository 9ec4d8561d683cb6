#include "settings/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/ini_text.h"
#include "temp_dir.h"

namespace glintora {
namespace {

using testing::TempDir;

TEST(IniLookup, FindsKeysCaseInsensitivelyInTheFirstMatchingSection) {
  const std::string ini =
      "; a comment\r\n"
      "[Admin]\r\n"
      "Product = Glintora Fireworks \r\n"
      "[ fireworks ]\r\n"
      "FireWorks=12\r\n"
      "firepersist=  0.97\r\n"
      "noequals\r\n"
      "FireWorks=99\r\n"
      "[Fireworks]\r\n"
      "FireSpeed=7\r\n"
      "[Advanced]\r\n"
      "LockMessage=\"  two blanks  \"\r\n"
      "Quoted='x'y'\r\n"
      "Empty=\r\n";
  EXPECT_EQ(IniLookup(ini, "admin", "PRODUCT"), "Glintora Fireworks");
  EXPECT_EQ(IniLookup(ini, "Fireworks", "FireWorks"), "12");  // first one wins
  EXPECT_EQ(IniLookup(ini, "Fireworks", "FirePersist"), "0.97");
  EXPECT_EQ(IniLookup(ini, "Fireworks", "FireSpeed"), std::nullopt);  // second section ignored
  EXPECT_EQ(IniLookup(ini, "Fireworks", "noequals"), std::nullopt);
  EXPECT_EQ(IniLookup(ini, "Advanced", "LockMessage"), "  two blanks  ");
  EXPECT_EQ(IniLookup(ini, "Advanced", "Quoted"), "x'y");
  EXPECT_EQ(IniLookup(ini, "Advanced", "Empty"), "");
  EXPECT_EQ(IniLookup(ini, "Missing", "Empty"), std::nullopt);
  EXPECT_EQ(IniLookup("", "A", "b"), std::nullopt);
  EXPECT_EQ(IniLookup("\xEF\xBB\xBF[A]\nb=1", "A", "b"), "1");
  EXPECT_EQ(IniLookup("[A]\rb=1", "A", "b"), std::nullopt);  // a lone CR does not end a line
}

TEST(IniUpdate, ChangesOneLineAndKeepsEveryOtherByte) {
  const std::string ini =
      "; keep me\r\n"
      "[General]\r\n"
      "  ColorRed = 100   ; not a comment, part of nothing we change\r\n"
      "ColorGrn=100\r\n"
      "\r\n"
      "[Fireworks]\r\n"
      "FireWorks=12\r\n";
  EXPECT_EQ(*IniUpdate(ini, "general", "colorgrn", "50"),
            "; keep me\r\n[General]\r\n  ColorRed = 100   ; not a comment, part of nothing we "
            "change\r\ncolorgrn=50\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n");
  // A new key goes after the section's last line, before the blank line that ends it.
  EXPECT_EQ(*IniUpdate(ini, "General", "ColorBlu", "7"),
            "; keep me\r\n[General]\r\n  ColorRed = 100   ; not a comment, part of nothing we "
            "change\r\nColorGrn=100\r\nColorBlu=7\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n");
  EXPECT_EQ(*IniUpdate(ini, "SoundFX", "SoundFX_ON", "0"), ini + "[SoundFX]\r\nSoundFX_ON=0\r\n");
}

TEST(IniUpdate, FollowsTheFilesLineEndingAndMissingFinalBreak) {
  EXPECT_EQ(*IniUpdate("[A]\nx=1", "A", "y", "2"), "[A]\nx=1\ny=2\n");
  EXPECT_EQ(*IniUpdate("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
  EXPECT_EQ(*IniUpdate("", "B", "y", "2"), "[B]\r\ny=2\r\n");
  EXPECT_EQ(*IniUpdate("", "B", "y", "2", "\n"), "[B]\ny=2\n");
  EXPECT_EQ(*IniUpdate("[A]", "A", "y", "2", "\n"), "[A]\ny=2\n");
  EXPECT_EQ(*IniUpdate("[A]\r\r", "A", "y", "2"), "[A]\r\r\r\ny=2\r\n");
}

TEST(IniUpdate, ValuesRoundTripAndBadNamesAreRefused) {
  for (const std::string& value : std::initializer_list<std::string>{"plain", "  blanks  ", "\"quoted\"", "'q'", "a=b", "[x]", "",
                                  "\"", "semi;colon", std::string("nul\0byte", 8)}) {
    const auto updated = IniUpdate("[A]\nk=old\n", "A", "k", value);
    ASSERT_TRUE(updated);
    EXPECT_EQ(IniLookup(*updated, "A", "k"), value);
  }
  // A line break cannot start a new section behind the caller's back.
  const auto injected = IniUpdate("", "A", "k", "x\r\n[Admin]\r\nProduct=evil");
  EXPECT_EQ(IniLookup(*injected, "Admin", "Product"), std::nullopt);
  EXPECT_EQ(IniLookup(*injected, "A", "k"), "x  [Admin]  Product=evil");
  for (auto [section, key] : std::initializer_list<std::pair<const char*, const char*>>{{"", "k"}, {"A", ""}, {"A]", "k"}, {"A", "k=v"},
                              {"A\n", "k"}, {"A", "[k"}, {"A", ";k"}}) {
    EXPECT_FALSE(IniUpdate("", section, key, "v")) << section << "/" << key;
  }
}

TEST(Profile, MissingFileSectionOrKeyGivesTheDefault) {
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
  // A folder is not a file.
  EXPECT_EQ(ProfileReadText(t, "A", "b", "d", dir.Path().string()), "d");
}

TEST(Profile, WritesInPlaceKeepingCommentsAndCrlf) {
  TempDir dir;
  Templates t{dir.File("t.glx")};
  TempDir::Write(t.CurrentTemplatePath,
                 "; my favourite\r\n[Admin]\r\nProduct=Glintora Fireworks\r\n\r\n"
                 "[Fireworks]\r\n; fast ones\r\nFireSpeed=6\r\n");
  EXPECT_TRUE(ProfileWriteText(t, "Fireworks", "FireSpeed", 12.5));
  EXPECT_TRUE(ProfileWriteText(t, "Fireworks", "FirePersist", 0.97f));
  EXPECT_TRUE(ProfileWriteText(t, "General", "ColorRed", 100));
  EXPECT_EQ(TempDir::Read(t.CurrentTemplatePath),
            "; my favourite\r\n[Admin]\r\nProduct=Glintora Fireworks\r\n\r\n"
            "[Fireworks]\r\n; fast ones\r\nFireSpeed=12.5\r\nFirePersist=0.97\r\n"
            "[General]\r\nColorRed=100\r\n");
  // Nothing is left beside the file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(Profile, LongValuesAreWrittenAndReadWhole) {
  TempDir dir;
  Templates t{dir.File("long.glx")};
  const std::string message(1000, 'z');
  ASSERT_TRUE(ProfileWriteText(t, "Advanced", "LockMessage", message));
  EXPECT_EQ(ProfileReadText(t, "Advanced", "LockMessage", ""), message);
}

TEST(Profile, AFailedWriteLeavesTheFileAsItWas) {
  TempDir dir;
  Templates t{dir.File("no-such-folder/t.glx")};
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "c"));
  EXPECT_FALSE(std::filesystem::exists(t.CurrentTemplatePath));
  EXPECT_FALSE(ProfileWriteText(Templates{}, "A", "b", "c"));  // no file at all

  const std::string file = dir.File("keep.glx");
  TempDir::Write(file, "[A]\nb=1\n");
  EXPECT_FALSE(ProfileWriteText(t, "A", "b=", "2", file));
  EXPECT_EQ(TempDir::Read(file), "[A]\nb=1\n");
  // A read-only file stays as it was.
  std::filesystem::permissions(file, std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "2", file));
  EXPECT_EQ(TempDir::Read(file), "[A]\nb=1\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  // A folder where the file should be is not replaced.
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "2", dir.Path().string()));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

}  // namespace
}  // namespace glintora
