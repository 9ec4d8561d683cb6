#include "settings/templates.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/numbers.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "temp_dir.h"

namespace glintora {
namespace {

using testing::TempDir;

std::string Stored(MemoryStore& store, const std::string& section, const std::string& key) {
  return RegReadText(store, section, key, "<absent>");
}

TEST(ImportTemplateFile, AMissingFileStoresEveryDefaultAndBecomesCurrent) {
  TempDir dir;
  MemoryStore store;
  Templates t;
  ImportTemplateFile(store, t, dir.File("missing.glx"));
  EXPECT_EQ(t.CurrentTemplatePath, dir.File("missing.glx"));
  // Every key of the table except the template dialog's folder is written.
  EXPECT_EQ(store.Size(), AllSettings().size());
  for (const SettingDef& def : AllSettings()) {
    const std::string expected = def.type == SettingType::Text || def.type == SettingType::TextFlag
                                     ? def.defaultText
                                     : NumberText(LeadingNumber(def.defaultText));
    EXPECT_EQ(Stored(store, def.section, def.key), expected) << def.key;
  }
  EXPECT_EQ(Stored(store, "Advanced", "FocalLength"), "1");  // written as a number
  EXPECT_EQ(Stored(store, "Fireworks", "FirePersist"), "0.97");
  EXPECT_EQ(Stored(store, "Fireworks", "FireMultiMoment"), "1");
  EXPECT_EQ(Stored(store, "General", "AnimationType"), "0");

  // The stored defaults load as the defaults.
  SettingsRecord fromImport, fromEmpty;
  MemoryStore empty;
  LoadFireParams(store, fromImport);
  LoadFireParams(empty, fromEmpty);
  EXPECT_EQ(fromImport.FireLaunchRadius, fromEmpty.FireLaunchRadius);
  EXPECT_EQ(fromImport.FireSparks, fromEmpty.FireSparks);
}

TEST(ImportTemplateFile, NumbersAreNormalisedAndTextsCopiedAsTheyStand) {
  TempDir dir;
  MemoryStore store;
  Templates t;
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
  EXPECT_EQ(Stored(store, "Advanced", "FocalLength"), "2.5");
  EXPECT_EQ(Stored(store, "Advanced", "Adv_TimeDelay"), "25");
  EXPECT_EQ(Stored(store, "Advanced", "LockMessage"), "Happy new year");
  EXPECT_EQ(Stored(store, "Advanced", "Adv_FontSize"), "huge");  // a text, checked when loaded
  EXPECT_EQ(Stored(store, "Advanced", "Adv_FontName"), "Arial");
  EXPECT_EQ(Stored(store, "SoundFX", "SoundFX_ON"), "1");
  EXPECT_EQ(Stored(store, "General", "AnimationType"), "7");
  EXPECT_EQ(Stored(store, "General", "ColorRed"), "80");
  EXPECT_EQ(Stored(store, "General", "ColorGrn"), "100");
  EXPECT_EQ(Stored(store, "Fireworks", "FirePersist"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireSpeed"), "1.5");
  EXPECT_EQ(Stored(store, "Fireworks", "FireWorks"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireGravity"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireMultiMoment"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireBurstShell"), "1");
  EXPECT_EQ(Stored(store, "Admin", "Product"), "<absent>");  // never read back
}

TEST(TemplateKeyCopies, CopyTextsUnchangedBetweenStoreAndFile) {
  TempDir dir;
  MemoryStore store;
  Templates t{dir.File("copy.glx")};
  TempDir::Write(t.CurrentTemplatePath, "[Advanced]\nLockMessage=   hi there   \nFocalLength=1.0\n");
  EXPECT_TRUE(CopyProfileKeyToStore(store, t, "Advanced", "LockMessage", ""));
  EXPECT_EQ(Stored(store, "Advanced", "LockMessage"), "hi there");
  EXPECT_TRUE(CopyProfileKeyToStore(store, t, "Advanced", "FocalLength", "1.0"));
  EXPECT_EQ(Stored(store, "Advanced", "FocalLength"), "1.0");
  EXPECT_TRUE(CopyProfileKeyToStore(store, t, "Advanced", "Adv_FontName", "Arial"));
  EXPECT_EQ(Stored(store, "Advanced", "Adv_FontName"), "Arial");

  RegWriteText(store, "Advanced", "Adv_TimeDelay", "25");
  EXPECT_TRUE(CopyStoreKeyToProfile(store, t, "Advanced", "Adv_TimeDelay", "40"));
  EXPECT_TRUE(CopyStoreKeyToProfile(store, t, "SoundFX", "SoundFX_ON", "0"));
  EXPECT_EQ(TempDir::Read(t.CurrentTemplatePath),
            "[Advanced]\nLockMessage=   hi there   \nFocalLength=1.0\nAdv_TimeDelay=25\n"
            "[SoundFX]\nSoundFX_ON=0\n");
  // A failing store is reported to the caller, who goes on.
  store.SetWritesFail(true);
  EXPECT_FALSE(CopyProfileKeyToStore(store, t, "Advanced", "LockMessage", ""));
}

TEST(ImportTemplateFile, ArbitraryBytesImportWithoutHarm) {
  TempDir dir;
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) % 256);
  junk += "\n[Fireworks]\nFireWorks=\xff\x00\x01\n";
  const std::string file = dir.File("junk.glx");
  TempDir::Write(file, junk);
  MemoryStore store;
  Templates t;
  ImportTemplateFile(store, t, file);
  EXPECT_EQ(store.Size(), AllSettings().size());
  EXPECT_EQ(Stored(store, "Fireworks", "FireWorks"), "0");
  EXPECT_EQ(TempDir::Read(file), junk);  // reading never writes
}

}  // namespace
}  // namespace glintora
