#include "platform/win32/registry_store.h"

#include <sddl.h>

#include <string>
#include <utility>

#include "harness.h"
#include "platform/win32/system_values.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::ScratchKey;

constexpr const char* kBase = "SOFTWARE\\GlintoraFireworks";

// A text value read straight from the registry; "<absent>" when missing or not text.
std::string RawValue(HKEY root, const std::string& path, const std::string& name) {
  char buffer[64];
  DWORD size = sizeof buffer;
  return RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) ==
                 ERROR_SUCCESS ? buffer : "<absent>";
}

// A machine root and a user root, both scratch keys, with the store's usual base path.
struct TwoRoots {
  ScratchKey machine{"Machine"};
  ScratchKey user{"User"};
  RegistryStore store{RegistryLocation{machine.Root(), user.Root(), kBase}};

  std::string Path(const std::string& section) { return std::string(kBase) + "\\" + section; }
  // Denies everyone writes to the section key under root, creating it first.
  void Lock(HKEY root, const std::string& section) {
    HKEY key = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, Path(section).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &sd, nullptr));  // 0x6: set value, subkey
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
    LocalFree(sd);
    RegCloseKey(key);
  }
};

TEST(RegistryStore, WritesMachineWideAndReadsBackWhole) {
  TwoRoots r;
  EXPECT_TRUE(r.store.Write("Fireworks", "FireWorks", "12"));
  EXPECT_TRUE(r.store.Write("General\\Main", "WindowState", "2"));
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("Fireworks"), "FireWorks"), "12");
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("General\\Main"), "WindowState"), "2");
  EXPECT_EQ(RawValue(r.user.Root(), r.Path("Fireworks"), "FireWorks"), "<absent>");
  std::string text;
  EXPECT_FALSE(r.store.Read("Fireworks", "Never", text));
  EXPECT_FALSE(r.store.Read("NoSuchSection", "FireWorks", text));
  // Empty, and around the sizes where a first read's buffer may fall short.
  for (std::size_t length : {0u, 127u, 128u, 129u, 255u, 256u, 5000u}) {
    std::string value;
    for (std::size_t i = 0; i < length; ++i) value += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(r.store.Write("Advanced", "LockMessage", value)) << length;
    text = "unchanged";
    ASSERT_TRUE(r.store.Read("Advanced", "LockMessage", text)) << length;
    EXPECT_EQ(text, value) << length;
  }
}

TEST(RegistryStore, RefusedMachineWriteGoesToTheUserAndReadsFindIt) {
  TwoRoots r;
  ASSERT_TRUE(r.store.Write("Fireworks", "FireSparks", "300"));  // before the lock
  r.Lock(r.machine.Root(), "Fireworks");

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

  // With write access back, a machine write refreshes the stale user copy.
  RegDeleteTreeA(r.machine.Root(), r.Path("Fireworks").c_str());
  ASSERT_TRUE(r.store.Write("Fireworks", "FireWorks", "60"));
  EXPECT_EQ(RawValue(r.machine.Root(), r.Path("Fireworks"), "FireWorks"), "60");
  EXPECT_EQ(RegReadInt(r.store, "Fireworks", "FireWorks", -1), 60);

  // A write fails only when both roots refuse, or the machine's with no user root to fall to.
  r.Lock(r.machine.Root(), "Fireworks");
  r.Lock(r.user.Root(), "Fireworks");
  EXPECT_FALSE(r.store.Write("Fireworks", "FireLength", "25"));
  EXPECT_FALSE(r.store.Read("Fireworks", "FireLength", text));
  RegistryStore noFallback{RegistryLocation{r.machine.Root(), nullptr, kBase}};
  EXPECT_FALSE(noFallback.Write("Fireworks", "FireLength", "25"));
}

TEST(SystemValues, DwordsReadAsThreeDigitNumbersAndThePasswordOptionIsOnWhenNonZero) {
  ScratchKey desk("Desktop");
  auto dword = [&](const char* name, DWORD v) { RegSetKeyValueA(desk.Root(), nullptr, name, REG_DWORD, &v, 4); };
  auto text = [&](const char* name, const std::string& t) {
    RegSetKeyValueA(desk.Root(), nullptr, name, REG_SZ, t.c_str(), static_cast<DWORD>(t.size() + 1));
  };
  const std::string longText(300, 'q');
  dword("Zero", 0);
  dword("Big", 1234);
  dword("Max", 0xFFFFFFFFu);
  text("Long", longText);
  const std::pair<const char*, std::string> want[] = {
      {"Zero", "000"}, {"Big", "1234"}, {"Max", "4294967295"}, {"Long", longText}, {"Missing", ""}};
  for (const auto& [name, t] : want) EXPECT_EQ(RegReadSystemValue(desk.Root(), "", name), t) << name;
  EXPECT_EQ(RegReadSystemValue(desk.Root(), "NoSuchKey", "Zero"), "");

  EXPECT_FALSE(ScreenSaverPasswordOn(desk.Root(), ""));  // missing
  for (auto [number, on] : {std::pair{0u, false}, {1u, true}, {7u, true}}) {
    dword("ScreenSaveUsePassword", number);
    EXPECT_EQ(ScreenSaverPasswordOn(desk.Root(), ""), on) << number;
  }
  for (auto [t, on] : {std::pair{"1", true}, {" 2x", true}, {"0", false}, {"abc", false}}) {
    text("ScreenSaveUsePassword", t);
    EXPECT_EQ(ScreenSaverPasswordOn(desk.Root(), ""), on) << t;
  }
}

}  // namespace
}  // namespace glintora
