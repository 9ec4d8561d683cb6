// The advanced settings dialog, driven with messages.
#include <gtest/gtest.h>

#include <vector>

#include "harness.h"
#include "platform/win32/dialogs/advanced_dialog.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"

namespace glintora {
namespace {

using test::Click;
using test::TextOf;

const char* const kAdvancedKeys[8] = {"Adv_TimeDelay", "Adv_FontName",  "Adv_FontSize",
                                      "Adv_FontHueV",  "LockMessage",   "FocalLength",
                                      "Adv_WinResize", "Adv_MouseMove"};

class DialogAdvanced : public ::testing::Test {
 protected:
  DialogAdvanced() : program_("DialogAdvanced") {}
  std::unique_ptr<AdvancedDialog> Open() {
    auto dialog = std::make_unique<AdvancedDialog>(
        program_.Get(), std::vector<std::string>{"Courier New", "Arial", "Tahoma"},
        [this](HWND, const HelpRequest& r) { helpTopics_.push_back(r.Topic); });
    EXPECT_TRUE(dialog->Open(nullptr));
    PumpPendingMessages();
    return dialog;
  }
  std::vector<std::string> Stored() {
    std::vector<std::string> out;
    for (const char* key : kAdvancedKeys) out.push_back(program_.Stored(kSectionAdvanced, key));
    return out;
  }
  HWND Box(AdvancedDialog& d, int index) { return d.Item(AdvancedIds::kBoxBase + index); }

  test::DialogProgram program_;
  std::vector<DWORD> helpTopics_;
};

TEST_F(DialogAdvanced, DefaultsAndCancelWriteNothingHelpOpensItsTopicOkWritesTheValuesClamped) {
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "Adv_TimeDelay", "1500");
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "Adv_FontName", "Tahoma");
  RegWriteText(program_.StoreOf(), kSectionAdvanced, "Adv_FontSize", "50");
  const auto before = Stored();
  auto first = Open();
  EXPECT_EQ(TextOf(first->Handle()), "Advanced Settings");
  EXPECT_EQ(TextOf(Box(*first, 0)), "1500");  // shown as stored until it is clamped
  EXPECT_EQ(TextOf(first->Item(AdvancedIds::kFont)), "Tahoma");
  Click(first->Item(AdvancedIds::kDefaults));
  for (auto [box, text] : {std::pair{0, "40"}, {4, "24"}, {5, "180"}, {6, "1.0"}})
    EXPECT_EQ(TextOf(Box(*first, box)), text) << box;
  EXPECT_EQ(TextOf(first->Item(AdvancedIds::kFont)), "Arial");
  test::TypeInto(first->Item(AdvancedIds::kMessage), std::string(120, 'm'));
  EXPECT_EQ(TextOf(first->Item(AdvancedIds::kMessage)).size(), 100u) << "the box holds 100";
  Click(first->Item(AdvancedIds::kHelp));
  EXPECT_EQ(helpTopics_, std::vector<DWORD>{500});
  Click(first->Item(AdvancedIds::kDismiss));
  EXPECT_FALSE(first->IsOpen());
  EXPECT_EQ(Stored(), before);

  auto dialog = Open();
  test::ChooseEntry(dialog->Item(AdvancedIds::kFont), 0);
  test::TypeInto(Box(*dialog, 6), "12.5");
  test::TypeInto(Box(*dialog, 5), "9x0");
  SetWindowTextA(dialog->Item(AdvancedIds::kMessage), "  Happy New Year  ");
  Click(dialog->Item(AdvancedIds::kResize));
  EXPECT_EQ(TextOf(dialog->Item(AdvancedIds::kSound)), "Sound effects");
  Click(dialog->Item(AdvancedIds::kSound));
  test::TypeInto(Box(*dialog, 4), "3");  // still being edited when OK is pressed
  Click(dialog->Item(AdvancedIds::kOk));
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_EQ(Stored(), (std::vector<std::string>{"999", "Courier New", "10", "90",
                                                 "Happy New Year", "10", "1", "0"}));
  EXPECT_EQ(program_.Stored(kSectionSoundFX, "SoundFX_ON"), "1");
}

}  // namespace
}  // namespace glintora
