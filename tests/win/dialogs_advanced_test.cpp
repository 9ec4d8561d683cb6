// The advanced settings dialog, driven with messages; its message in scripts beyond the ANSI
// code page.
#include <vector>

#include "harness.h"
#include "platform/win32/dialogs/advanced_dialog.h"
#include "platform/win32/files/wide_text.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::Click;
using test::TextOf;

TEST(DialogAdvanced, DefaultsAndCancelWriteNothingHelpOpensItsTopicOkWritesTheValuesClamped) {
  test::DialogProgram program("DialogAdvanced");
  std::vector<DWORD> helpTopics;
  std::unique_ptr<AdvancedDialog> d;
  auto open = [&] {
    d = std::make_unique<AdvancedDialog>(program.Get(), std::vector<std::string>{"Courier New", "Arial", "Tahoma"},
                                         [&](HWND, const HelpRequest& r) { helpTopics.push_back(r.Topic); });
    EXPECT_TRUE(d->Open(nullptr));
    PumpPendingMessages();
  };
  auto box = [&](int index) { return d->Item(AdvancedIds::kBoxBase + index); };
  auto stored = [&] {
    std::vector<std::string> out;
    for (const char* key : {"Adv_TimeDelay", "Adv_FontName", "Adv_FontSize", "Adv_FontHueV", "LockMessage",
                            "FocalLength", "Adv_WinResize", "Adv_MouseMove"})
      out.push_back(program.Stored(kSectionAdvanced, key));
    return out;
  };
  for (auto [key, text] : {std::pair{"Adv_TimeDelay", "1500"}, {"Adv_FontName", "Tahoma"}, {"Adv_FontSize", "50"}})
    RegWriteText(program.StoreOf(), kSectionAdvanced, key, text);
  const auto before = stored();
  open();
  EXPECT_EQ(TextOf(d->Handle()), "Advanced Settings");
  EXPECT_EQ(TextOf(box(0)), "1500");  // shown as stored until it is clamped
  EXPECT_EQ(TextOf(d->Item(AdvancedIds::kFont)), "Tahoma");
  Click(d->Item(AdvancedIds::kDefaults));
  for (auto [index, text] : {std::pair{0, "40"}, {4, "24"}, {5, "180"}, {6, "1.0"}})
    EXPECT_EQ(TextOf(box(index)), text) << index;
  EXPECT_EQ(TextOf(d->Item(AdvancedIds::kFont)), "Arial");
  test::TypeInto(d->Item(AdvancedIds::kMessage), std::string(120, 'm'));
  EXPECT_EQ(TextOf(d->Item(AdvancedIds::kMessage)).size(), 100u) << "the box holds 100";
  Click(d->Item(AdvancedIds::kHelp));
  EXPECT_EQ(helpTopics, std::vector<DWORD>{500});
  Click(d->Item(AdvancedIds::kDismiss));
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(stored(), before);

  open();
  test::ChooseEntry(d->Item(AdvancedIds::kFont), 0);
  test::TypeInto(box(6), "12.5");
  test::TypeInto(box(5), "9x0");
  SetWindowTextW(d->Item(AdvancedIds::kMessage), Widen("  С Новым годом! 花火大会  ").c_str());
  Click(d->Item(AdvancedIds::kResize));
  EXPECT_EQ(TextOf(d->Item(AdvancedIds::kSound)), "Sound effects");
  Click(d->Item(AdvancedIds::kSound));
  test::TypeInto(box(4), "3");  // still being edited when OK is pressed
  Click(d->Item(AdvancedIds::kOk));
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(stored(), (std::vector<std::string>{"999", "Courier New", "10", "90", "С Новым годом! 花火大会", "10", "1", "0"}));
  EXPECT_EQ(program.Stored(kSectionSoundFX, "SoundFX_ON"), "1");
}

}  // namespace
}  // namespace glintora
