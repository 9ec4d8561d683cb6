#include "settings/profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "settings/ini_store.h"
#include "settings/ini_text.h"
#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/templates.h"
#include "test_util.h"

namespace glintora {
namespace {

using testing::ExpectStored;
using testing::TempDir;

TEST(IniLookup, FindsKeysCaseInsensitivelyInTheFirstMatchingSection) {
  const std::string ini =
      "; a comment\r\n[Admin]\r\nProduct = Glintora Fireworks \r\n"
      "[ fireworks ]\r\nFireWorks=12\r\nfirepersist=  0.97\r\nnoequals\r\nFireWorks=99\r\n"
      "[Fireworks]\r\nFireSpeed=7\r\n"
      "[Advanced]\r\nLockMessage=\"  two blanks  \"\r\nQuoted='x'y'\r\nMixed=\"x'\r\nEmpty=\r\n"
      "Q0=\"\"\r\nS0=''\r\nQ1= \"x\" \r\nS1='y'\r\nLone=\"\r\n";
  const struct { std::string ini; const char *section, *key; std::optional<std::string> value; } rows[] = {
      {ini, "admin", "PRODUCT", "Glintora Fireworks"}, {ini, "Fireworks", "FirePersist", "0.97"},
      {ini, "Fireworks", "FireWorks", "12"},          // the first one wins
      {ini, "Fireworks", "FireSpeed", std::nullopt},  // a second section is ignored
      {ini, "Fireworks", "noequals", std::nullopt}, {ini, "Advanced", "LockMessage", "  two blanks  "},
      {ini, "Advanced", "Quoted", "x'y"}, {ini, "Advanced", "Mixed", "\"x'"}, {ini, "Advanced", "Empty", ""},
      {ini, "Advanced", "Q0", ""}, {ini, "Advanced", "S0", ""}, {ini, "Advanced", "Q1", "x"},
      {ini, "Advanced", "S1", "y"}, {ini, "Advanced", "Lone", "\""},
      {ini, "Missing", "Empty", std::nullopt}, {"", "A", "b", std::nullopt},
      {"\xEF\xBB\xBF[A]\nb=1", "A", "b", "1"}, {"[A]\rb=1\r", "A", "b", "1"},  // LF, lone CR (CR LF above)
      {"[A\nb=1", "A", "b", std::nullopt},  // an unclosed header opens no section
  };
  for (const auto& row : rows) EXPECT_EQ(IniLookup(row.ini, row.section, row.key), row.value) << row.key;
}

TEST(IniUpdate, ChangesOneLineKeepsEveryOtherByteAndFollowsTheLineEnding) {
  const std::string head = "; keep me\r\n[General]\r\n  ColorRed = 100   ; not a comment\r\n";
  const std::string ini = head + "ColorGrn=100\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n";
  const struct { std::string ini; const char *section, *key, *value, *newline; std::string expected; } rows[] = {
      {ini, "general", "colorgrn", "50", "\r\n", head + "colorgrn=50\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n"},
      // A new key goes after the section's last line, before the blank line that ends it.
      {ini, "General", "ColorBlu", "7", "\r\n",
       head + "ColorGrn=100\r\nColorBlu=7\r\n\r\n[Fireworks]\r\nFireWorks=12\r\n"},
      {ini, "SoundFX", "SoundFX_ON", "0", "\r\n", ini + "[SoundFX]\r\nSoundFX_ON=0\r\n"},
      {"[A]\nx=1", "A", "y", "2", "\r\n", "[A]\nx=1\ny=2\n"}, {"", "B", "y", "2", "\n", "[B]\ny=2\n"},
      {"[A]\nx=1", "B", "y", "2", "\r\n", "[A]\nx=1\n[B]\ny=2\n"}, {"[A]", "A", "y", "2", "\n", "[A]\ny=2\n"},
      {"", "B", "y", "2", "\r\n", "[B]\r\ny=2\r\n"}, {"[A]\r\r", "A", "y", "2", "\r\n", "[A]\ry=2\r\r"},
      {"[A]\nx=1\r", "A", "y", "2", "\r\n", "[A]\nx=1\ry=2\n"},
      // An unclosed header is no section: the key goes under a new, closed one.
      {"[f\r", "f", "f\x01", " \xe6/", "\r\n", "[f\r[f]\rf\x01=\" \xe6/\"\r"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(IniUpdate(row.ini, row.section, row.key, row.value, row.newline), row.expected) << row.key;
}

TEST(IniUpdate, ValuesRoundTripAndBadNamesAreRefused) {
  for (const std::string& value : std::initializer_list<std::string>{
           "plain", "  blanks  ", "\"quoted\"", "'q'", "a=b", "[x]", "", "\"", "semi;colon",
           std::string("nul\0byte", 8)}) {
    const auto updated = IniUpdate("[A]\nk=old\n", "A", "k", value);
    ASSERT_TRUE(updated);
    EXPECT_EQ(IniLookup(*updated, "A", "k"), value);
  }
  // A line break cannot start a new section behind the caller's back.
  const auto injected = IniUpdate("", "A", "k", "x\r\n[Admin]\r\nProduct=evil");
  EXPECT_EQ(IniLookup(*injected, "Admin", "Product"), std::nullopt);
  EXPECT_EQ(IniLookup(*injected, "A", "k"), "x  [Admin]  Product=evil");
  for (auto [section, key] : {std::pair{"", "k"}, {"A", ""}, {"A]", "k"}, {"A", "k=v"},
                              {"A\n", "k"}, {"A", "[k"}, {"A", ";k"}, {"A", "#k"}}) {
    EXPECT_FALSE(IniUpdate("", section, key, "v")) << section << "/" << key;
  }
}

TEST(Profile, ReadsGiveDefaultsAndWritesChangeOneLineOrNothing) {
  TempDir dir;
  Templates t;
  EXPECT_EQ(ProfileReadText(t, "Fireworks", "FirePersist", "0.97"), "0.97");  // no current file
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "c"));
  t.CurrentTemplatePath = dir.File("t.glx");
  const std::string head = "; my favourite\r\n[Fireworks]\r\nFireWorks=12abc\r\n";
  TempDir::Write(t.CurrentTemplatePath, head + "FireSpeed=fast\r\n");
  EXPECT_EQ(ProfileReadNumber(t, "Fireworks", "FireWorks", "1"), 12);
  EXPECT_EQ(ProfileReadNumber(t, "Fireworks", "FireSpeed", "6"), 0);
  EXPECT_EQ(ProfileReadNumber(t, "Fireworks", "FireLength", "5"), 5);
  EXPECT_EQ(ProfileReadText(t, "A", "b", "d", dir.File("none.glx")), "d");
  EXPECT_EQ(ProfileReadText(t, "A", "b", "d", dir.Path().string()), "d");  // a folder is no file
  EXPECT_TRUE(ProfileWriteText(t, "Fireworks", "FireSpeed", 12.5) &&
              ProfileWriteText(t, "Fireworks", "FirePersist", 0.97f) && ProfileWriteText(t, "General", "ColorRed", 100));
  const std::string written = head + "FireSpeed=12.5\r\nFirePersist=0.97\r\n[General]\r\nColorRed=100\r\n";
  EXPECT_FALSE(ProfileWriteText(t, "A", "b=", "2"));
  EXPECT_FALSE(ProfileWriteText(t, "A", "b", "2", dir.File("no-such-folder/t.glx")));
  EXPECT_EQ(TempDir::Read(t.CurrentTemplatePath), written);
  EXPECT_EQ(dir.Entries(), 1u);  // nothing is left beside the file
  const std::string message(1000, 'z');
  ASSERT_TRUE(ProfileWriteText(t, "Advanced", "LockMessage", message));
  EXPECT_EQ(ProfileReadText(t, "Advanced", "LockMessage", ""), message);
}

TEST(ImportTemplateFile, AMissingFileGivesEveryDefaultAFileItsValues) {
  TempDir dir;
  MemoryStore store;
  Templates t;
  ImportTemplateFile(store, t, dir.File("missing.glx"));
  EXPECT_EQ(t.CurrentTemplatePath, dir.File("missing.glx"));
  EXPECT_EQ(store.Size(), AllSettings().size());
  ExpectStored(store, {{"Advanced", "FocalLength", "1"},  // written as a number
                       {"Advanced", "Adv_FontName", "Arial"}, {"Fireworks", "FirePersist", "0.97"},
                       {"Fireworks", "FireMultiMoment", "1"}, {"General", "AnimationType", "0"}});
  // A file's numbers are normalised, its texts copied as they stand.
  store.Write("General", "ColorGrn", "5");  // a key the file lacks goes back to its default
  const std::string file = dir.File("look.glx");
  TempDir::Write(file,
                 "[Admin]\r\nProduct=Glintora Fireworks\r\nVersion=1.0\r\n"
                 "[Advanced]\r\nFocalLength=2.50\r\nAdv_TimeDelay=25ms\r\n"
                 "LockMessage=  Happy new year  \r\nAdv_FontSize=huge\r\n"
                 "[SoundFX]\r\nSoundFX_ON=1\r\n"
                 "[General]\r\nAnimationType=7\r\nColorRed=80\r\n"
                 "[Fireworks]\r\nFirePersist=letters\r\nFireSpeed=1.50\r\nFireWorks=1e999\r\n"
                 "FireGravity=-0.0\r\nFireMultiMoment=0\r\n");
  ImportTemplateFile(store, t, file);
  // Adv_FontSize is a text here, checked when loaded; [Admin] is never read back.
  ExpectStored(store, {{"Advanced", "FocalLength", "2.5"}, {"Advanced", "Adv_TimeDelay", "25"},
                       {"Advanced", "LockMessage", "Happy new year"}, {"Advanced", "Adv_FontSize", "huge"},
                       {"SoundFX", "SoundFX_ON", "1"}, {"General", "AnimationType", "7"},
                       {"General", "ColorRed", "80"}, {"General", "ColorGrn", "100"}, {"Fireworks", "FireWorks", "0"},
                       {"Fireworks", "FirePersist", "0"}, {"Fireworks", "FireSpeed", "1.5"},
                       {"Fireworks", "FireGravity", "0"}, {"Fireworks", "FireMultiMoment", "0"},
                       {"Admin", "Product", "<absent>"}});
  // A failing store is reported to the caller, who goes on.
  store.SetWritesFail(true);
  EXPECT_FALSE(CopyProfileKeyToStore(store, t, "Advanced", "LockMessage", ""));
}

// A load reads its file once, however many keys it takes; a file over 1 MB is not read at all
// and gives the defaults, like a file that cannot be read.
TEST(LargeFiles, ALoadReadsTheFileOnceAndOneOver1MBGivesTheDefaults) {
  TempDir dir;
  testing::FailingFiles files(testing::FailingFiles::Step::None);
  const std::string path = dir.File("settings.ini");
  const std::string text = "[Fireworks]\nFireWorks=20\n[Advanced]\nFocalLength=2\n; ";
  for (const std::size_t size : {std::size_t{100}, std::size_t{1} << 20, (std::size_t{1} << 20) + 1}) {
    const bool taken = size <= std::size_t{1} << 20;
    TempDir::Write(path, text + std::string(size - text.size(), 'x'));
    files.reads = 0;
    IniStore ini(path, files);
    SettingsRecord record;
    LoadAdvancedParams(ini, record, 640, 480, false, 15, 15);
    LoadFireParams(ini, record);
    EXPECT_EQ(std::make_tuple(record.FireWorks, record.FocalLength, files.reads),
              std::make_tuple(taken ? 20 : 12, taken ? 2.0f : 1.0f, 1)) << size;
    ini.Reload();  // the next show reads it again
    EXPECT_EQ(RegReadInt(ini, "Fireworks", "FireWorks", 12), taken ? 20 : 12);
    EXPECT_EQ(files.reads, 2);

    MemoryStore store;
    Templates t{"", &files};
    EXPECT_EQ(ImportTemplateFile(store, t, path), taken) << size;
    ExpectStored(store, {{"Fireworks", "FireWorks", taken ? "20" : "12"}});
    EXPECT_EQ(files.reads, 3);
  }
}

}  // namespace
}  // namespace glintora
