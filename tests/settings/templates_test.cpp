#include "settings/templates.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "test_util.h"

namespace glintora {
namespace {

using testing::ExpectStored;
using testing::TempDir;

TEST(ImportTemplateFile, AMissingFileStoresEveryDefaultAndBecomesCurrent) {
  TempDir dir;
  MemoryStore store;
  Templates t;
  ImportTemplateFile(store, t, dir.File("missing.glx"));
  EXPECT_EQ(t.CurrentTemplatePath, dir.File("missing.glx"));
  EXPECT_EQ(store.Size(), AllSettings().size());
  ExpectStored(store, {{"Advanced", "FocalLength", "1"},  // written as a number
                       {"Advanced", "Adv_FontName", "Arial"}, {"Fireworks", "FirePersist", "0.97"},
                       {"Fireworks", "FireMultiMoment", "1"}, {"General", "AnimationType", "0"}});
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
  ExpectStored(store, {{"Advanced", "FocalLength", "2.5"}, {"Advanced", "Adv_TimeDelay", "25"},
                       {"Advanced", "LockMessage", "Happy new year"},
                       {"Advanced", "Adv_FontSize", "huge"},  // a text, checked when loaded
                       {"SoundFX", "SoundFX_ON", "1"}, {"General", "AnimationType", "7"},
                       {"General", "ColorRed", "80"}, {"General", "ColorGrn", "100"},
                       {"Fireworks", "FirePersist", "0"}, {"Fireworks", "FireSpeed", "1.5"},
                       {"Fireworks", "FireWorks", "0"}, {"Fireworks", "FireGravity", "0"},
                       {"Fireworks", "FireMultiMoment", "0"}, {"Fireworks", "FireBurstShell", "1"},
                       {"Admin", "Product", "<absent>"}});  // never read back
}

TEST(TemplateKeyCopies, CopyTextsUnchangedBetweenStoreAndFile) {
  TempDir dir;
  MemoryStore store;
  Templates t{dir.File("copy.glx")};
  TempDir::Write(t.CurrentTemplatePath, "[Advanced]\nLockMessage=   hi there   \nFocalLength=1.0\n");
  EXPECT_TRUE(CopyProfileKeyToStore(store, t, "Advanced", "LockMessage", ""));
  EXPECT_TRUE(CopyProfileKeyToStore(store, t, "Advanced", "FocalLength", "1.0"));
  EXPECT_TRUE(CopyProfileKeyToStore(store, t, "Advanced", "Adv_FontName", "Arial"));
  ExpectStored(store, {{"Advanced", "LockMessage", "hi there"}, {"Advanced", "FocalLength", "1.0"},
                       {"Advanced", "Adv_FontName", "Arial"}});
  RegWriteText(store, "Advanced", "Adv_TimeDelay", "25");
  ProfileEdit edit(t);
  CopyStoreKeyToProfile(store, edit, "Advanced", "Adv_TimeDelay", "40");
  CopyStoreKeyToProfile(store, edit, "SoundFX", "SoundFX_ON", "0");
  EXPECT_TRUE(edit.Commit());
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
  ExpectStored(store, {{"Fireworks", "FireWorks", "0"}});
  EXPECT_EQ(TempDir::Read(file), junk);  // reading never writes
}

}  // namespace
}  // namespace glintora
