// The help page answers every topic the dialogs ask for, and the address that opens it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dialogs/props_fields.h"
#include "platform/win32/dialogs/help_viewer.h"

namespace glintora {
namespace {

TEST(DialogHelp, ThePageHasAnAnchorForEveryTopicTheDialogsUse) {
  std::ifstream in(std::string(GLINTORA_SOURCE_DIR) + "/resources/help/glintora-help.html");
  ASSERT_TRUE(in) << "help page missing";
  std::stringstream page;
  page << in.rdbuf();
  const std::string text = page.str();

  std::vector<int> topics = {1080, 1081, 620, 630, 295, 610, 500};  // lists, buttons, menu
  for (const FireFieldInfo& f : FireFields()) topics.push_back(f.help);
  for (const CheckInfo& c : FireChecks()) topics.push_back(c.help);
  for (const ColorFieldInfo& c : ColorFields()) topics.push_back(c.help);
  for (int topic : topics) {
    const std::string anchor = HelpAnchor({"Glintora Fireworks.hlp", kHelpContext,
                                           static_cast<DWORD>(topic)});
    EXPECT_NE(text.find("id=\"" + anchor + "\""), std::string::npos) << anchor;
  }
  for (UINT command : {kHelpContents, kHelpFinder}) {
    const std::string anchor = HelpAnchor({"", command, 0});
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
