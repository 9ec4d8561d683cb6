// What the built program file carries besides code: the manifest, the icon and the version.

#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"

namespace glintora {
namespace {

TEST(ProgramFile, CarriesTheDpiManifestFourIconSizesAndTheVersion) {
  const std::string path = test::ScrPath();
  ASSERT_FALSE(path.empty()) << "set GLINTORA_SCR to the path of GlintoraFireworks.scr";
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  auto resource = [&](LPCSTR type) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), type);
    const char* data = found ? static_cast<const char*>(LockResource(LoadResource(module, found)))
                             : nullptr;
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
  };

  const std::string manifest = resource(RT_MANIFEST);
  EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);

  // The icon group: a 6-byte header (count at 4), then 14 bytes per size (width first).
  const std::string group = resource(RT_GROUP_ICON);
  std::vector<int> widths;
  for (std::size_t at = 6; at + 14 <= group.size(); at += 14) {
    const int width = static_cast<unsigned char>(group[at]);
    widths.push_back(width == 0 ? 256 : width);
  }
  ASSERT_EQ(group.size() >= 6 ? group[4] : 0, 4);
  std::sort(widths.begin(), widths.end());
  EXPECT_EQ(widths, (std::vector<int>{16, 32, 48, 256}));
  FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  char* text = nullptr;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, "Glintora Fireworks");
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
}

}  // namespace
}  // namespace glintora
