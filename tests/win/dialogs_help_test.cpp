// The help page answers every topic the dialogs ask for, and the address that opens it.
#include "dialogs/props_fields.h"
#include "harness.h"
#include "platform/win32/dialogs/help_viewer.h"

namespace glintora {
namespace {

TEST(DialogHelp, ThePageHasAnAnchorForEveryTopicTheDialogsUse) {
  const std::string text = test::ReadBytes(GLINTORA_SOURCE_DIR "/resources/help/glintora-help.html");
  ASSERT_FALSE(text.empty()) << "help page missing";

  std::vector<HelpRequest> asked{{"", kHelpContents, 0}, {"", kHelpFinder, 0}};
  auto topic = [&](int n) { asked.push_back({"Glintora Fireworks.hlp", kHelpContext, static_cast<DWORD>(n)}); };
  for (int n : {1080, 1081, 620, 630, 295, 610, 500}) topic(n);  // lists, buttons, menu
  for (const FireFieldInfo& f : FireFields()) topic(f.help);
  for (const CheckInfo& c : FireChecks()) topic(c.help);
  for (const ColorFieldInfo& c : ColorFields()) topic(c.help);
  for (const HelpRequest& request : asked) {
    const std::string anchor = HelpAnchor(request);
    EXPECT_NE(text.find("id=\"" + anchor + "\""), std::string::npos) << anchor;
  }
}

TEST(DialogHelp, FileAddressesEscapeThePathAndKeepTheAnchor) {
  EXPECT_EQ(FileAddress("C:\\Program Files\\Glintora\\glintora-help.html", "topic-1010"),
            "file:///C:/Program%20Files/Glintora/glintora-help.html#topic-1010");
  EXPECT_EQ(FileAddress("D:\\a#b\\h.html", ""), "file:///D:/a%23b/h.html");
  EXPECT_EQ(HelpAnchor({"", kHelpQuit, 0}), "");
}

}  // namespace
}  // namespace glintora
