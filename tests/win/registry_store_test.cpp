#include "platform/win32/registry_store.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/system_values.h"
#include "scratch_key.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::RawValue;
using test::RestrictKey;
using test::ScratchKey;

constexpr const char* kBase = "SOFTWARE\\GlintoraFireworks";

// A machine root and a user root, both scratch keys, with the store's usual base path.
struct TwoRoots {
  ScratchKey machine{"Machine"};
  ScratchKey user{"User"};
  RegistryStore store{RegistryLocation{machine.Root(), user.Root(), kBase}};

  std::string Path(const std::string& section) { return std::string(kBase) + "\\" + section; }
  // Creates the section key under the machine root and denies writes to it.
  void LockMachineSection(const std::string& section) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(machine.Root(), Path(section).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_TRUE(RestrictKey(machine.Root(), Path(section), KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
  }
};

TEST(RegistryStore, WritesTextValuesAndReadsThemBack) {
  TwoRoots r;
  EXPECT_TRUE(r.store.Write("Fireworks", "FireWorks", "12"));
  EXPECT_TRUE(r.store.Write("General\\Main", "WindowState", "2"));
  EXPECT_TRUE(r.store.Write("Advanced", "LockMessage", ""));
  EXPECT_TRUE(RegWriteText(r.store, "Advanced", "Adv_FontName", "  Arial "));
  EXPECT_TRUE(RegWriteText(r.store, "Fireworks", "FireDamping", 0.97));

  // Machine-wide: the values land under the primary root, nothing under the user's.
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("Fireworks"), "FireWorks"), "12");
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("General\\Main"), "WindowState"), "2");
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("Advanced"), "Adv_FontName"), "Arial");
  EXPECT_EQ(RawValue(r.user.Root(), r.Path("Fireworks"), "FireWorks"), "<absent>");

  std::string text = "unchanged";
  EXPECT_TRUE(r.store.Read("Fireworks", "FireWorks", text));
  EXPECT_EQ(text, "12");
  EXPECT_TRUE(r.store.Read("Advanced", "LockMessage", text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(RegReadText(r.store, "Fireworks", "FireDamping", "x"), "0.97");
  EXPECT_FALSE(r.store.Read("Fireworks", "Never", text));
  EXPECT_FALSE(r.store.Read("NoSuchSection", "FireWorks", text));
  EXPECT_EQ(RegReadInt(r.store, "Fireworks", "Never", -1), -1);

  EXPECT_TRUE(r.store.Write("Fireworks", "FireWorks", "7"));
  EXPECT_EQ(RegReadInt(r.store, "Fireworks", "FireWorks", -1), 7);
}

TEST(RegistryStore, LongValuesAreReadWhole) {
  TwoRoots r;
  for (std::size_t length : {127u, 128u, 129u, 200u, 255u, 256u, 5000u}) {
    std::string value;
    for (std::size_t i = 0; i < length; ++i) value += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(r.store.Write("Advanced", "LockMessage", value)) << length;
    std::string text;
    ASSERT_TRUE(r.store.Read("Advanced", "LockMessage", text)) << length;
    EXPECT_EQ(text, value) << length;
  }
}

TEST(RegistryStore, RefusedMachineWriteGoesToTheUserAndReadsFindIt) {
  TwoRoots r;
  ASSERT_TRUE(r.store.Write("Fireworks", "FireSparks", "300"));  // before the lock
  r.LockMachineSection("Fireworks");

  // The locked key still reads: reads ask for read access only.
  std::string text;
  EXPECT_TRUE(r.store.Read("Fireworks", "FireSparks", text));
  EXPECT_EQ(text, "300");

  EXPECT_TRUE(r.store.Write("Fireworks", "FireWorks", "25"));
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("Fireworks"), "FireWorks"), "<absent>");
  EXPECT_EQ(RawValue(r.user.Root(), r.Path("Fireworks"), "FireWorks"), "25");
  EXPECT_TRUE(r.store.Read("Fireworks", "FireWorks", text));
  EXPECT_EQ(text, "25");

  // The user's copy now overrides the machine's.
  EXPECT_TRUE(r.store.Write("Fireworks", "FireSparks", "150"));
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("Fireworks"), "FireSparks"), "300");
  EXPECT_EQ(RegReadInt(r.store, "Fireworks", "FireSparks", -1), 150);

  // Other sections are unaffected: they still go machine-wide.
  EXPECT_TRUE(r.store.Write("General", "ColorRed", "80"));
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("General"), "ColorRed"), "80");
  EXPECT_EQ(RawValue(r.user.Root(), r.Path("General"), "ColorRed"), "<absent>");
}

TEST(RegistryStore, WriteFailsOnlyWhenBothRootsRefuse) {
  TwoRoots r;
  r.LockMachineSection("Fireworks");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(r.user.Root(), r.Path("Fireworks").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_TRUE(RestrictKey(r.user.Root(), r.Path("Fireworks"), KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
  EXPECT_FALSE(r.store.Write("Fireworks", "FireWorks", "25"));
  EXPECT_FALSE(RegWriteText(r.store, "Fireworks", "FireWorks", 25));
  std::string text;
  EXPECT_FALSE(r.store.Read("Fireworks", "FireWorks", text));

  RegistryStore noFallback{RegistryLocation{r.machine.Root(), nullptr, kBase}};
  EXPECT_FALSE(noFallback.Write("Fireworks", "FireWorks", "25"));
}

TEST(RegistryStore, MachineWriteRefreshesAStaleUserCopy) {
  TwoRoots r;
  r.LockMachineSection("Advanced");
  ASSERT_TRUE(r.store.Write("Advanced", "Adv_TimeDelay", "10"));  // lands with the user
  ASSERT_EQ(RawValue(r.user.Root(), r.Path("Advanced"), "Adv_TimeDelay"), "10");
  test::DeleteKeyTree(r.machine.Root(), r.Path("Advanced"));       // write access is back

  ASSERT_TRUE(r.store.Write("Advanced", "Adv_TimeDelay", "60"));
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("Advanced"), "Adv_TimeDelay"), "60");
  EXPECT_EQ(RegReadLong(r.store, "Advanced", "Adv_TimeDelay", -1), 60);
}

TEST(SystemValues, DwordsReadAsThreeDigitNumbersAndTextsAsStored) {
  ScratchKey desk("Desktop");
  HKEY root = desk.Root();
  auto setDword = [&](const char* name, DWORD value) {
    RegSetValueExA(root, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  };
  auto setText = [&](const char* name, const char* text) {
    RegSetValueExA(root, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
  };
  setDword("Zero", 0);
  setDword("One", 1);
  setDword("Big", 1234);
  setDword("Max", 0xFFFFFFFFu);
  setText("Text", "1");
  const std::string longText(300, 'q');
  setText("Long", longText.c_str());
  EXPECT_EQ(RegReadSystemValue(root, "", "Zero"), "000");
  EXPECT_EQ(RegReadSystemValue(root, "", "One"), "001");
  EXPECT_EQ(RegReadSystemValue(root, "", "Big"), "1234");
  EXPECT_EQ(RegReadSystemValue(root, "", "Max"), "4294967295");
  EXPECT_EQ(RegReadSystemValue(root, "", "Text"), "1");
  EXPECT_EQ(RegReadSystemValue(root, "", "Long"), longText);
  EXPECT_EQ(RegReadSystemValue(root, "", "Missing"), "");
  EXPECT_EQ(RegReadSystemValue(root, "NoSuchKey", "Zero"), "");
}

TEST(SystemValues, PasswordOptionIsOnForAnyNonZeroNumber) {
  ScratchKey desk("Desktop");
  HKEY root = desk.Root();
  EXPECT_FALSE(ScreenSaverPasswordOn(root, ""));  // missing
  const DWORD zero = 0, one = 1;
  RegSetValueExA(root, "ScreenSaveUsePassword", 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&zero), sizeof zero);
  EXPECT_FALSE(ScreenSaverPasswordOn(root, ""));
  RegSetValueExA(root, "ScreenSaveUsePassword", 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&one), sizeof one);
  EXPECT_TRUE(ScreenSaverPasswordOn(root, ""));
  for (const char* text : {"1", " 2x", "0", "abc"}) {
    RegSetValueExA(root, "ScreenSaveUsePassword", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
    EXPECT_EQ(ScreenSaverPasswordOn(root, ""), text[0] != '0' && text[0] != 'a') << text;
  }
}

}  // namespace
}  // namespace glintora
