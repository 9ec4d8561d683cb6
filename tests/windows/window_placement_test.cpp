#include "windows/window_placement.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glintora {
namespace {

TEST(WindowSizeText, FourFiveDigitFieldsRoundTrip) {
  const std::string text = FormatWindowSize(1200, 900.5, 9600, 7200);
  EXPECT_EQ(text, "01200009000960007200");  // 900.5 rounds to even
  const auto back = ParseWindowSize(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Left, 1200);
  EXPECT_EQ(back->Top, 900);
  EXPECT_EQ(back->Width, 9600);
  EXPECT_EQ(back->Height, 7200);
}

TEST(WindowSizeText, OffScreenAndOversizedValuesKeepTheLayout) {
  // A window dragged off the left and top edges, and one wider than five digits of twips.
  EXPECT_EQ(FormatWindowSize(-450, -15, 100000, 123456.7), "00000000009999999999");
  const std::string text = FormatWindowSize(300, 600, 100000, 7200);
  ASSERT_EQ(text.size(), 20u);
  const auto back = ParseWindowSize(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Left, 300);
  EXPECT_EQ(back->Top, 600);
  EXPECT_EQ(back->Width, 99999);
  EXPECT_EQ(back->Height, 7200);  // not shifted by the wide field before it
}

TEST(WindowSizeText, NonFiniteValuesWriteZero) {
  EXPECT_EQ(FormatWindowSize(std::nan(""), 1e300, -1e300, 0), "00000999990000000000");
}

TEST(WindowSizeText, ReadingIsLenient) {
  EXPECT_FALSE(ParseWindowSize(""));
  EXPECT_FALSE(ParseWindowSize("    "));

  // Blanks around the text are trimmed before the fields are cut.
  auto g = ParseWindowSize("  00015000300004506000  ");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Left, 15);
  EXPECT_EQ(g->Height, 6000);

  // A short text leaves its missing fields at 0; a field without a number reads 0.
  g = ParseWindowSize("0123400567");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Left, 1234);
  EXPECT_EQ(g->Top, 567);
  EXPECT_EQ(g->Width, 0);
  EXPECT_EQ(g->Height, 0);

  g = ParseWindowSize("abcde12 3400100xyzzy");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Left, 0);
  EXPECT_EQ(g->Top, 12);  // reading stops at the blank
  EXPECT_EQ(g->Width, 100);
  EXPECT_EQ(g->Height, 0);
}

TEST(WindowStateText, StoredStatesMap) {
  EXPECT_EQ(WindowStateText(true), "2");
  EXPECT_EQ(WindowStateText(false), "0");
  EXPECT_EQ(ParseWindowState(0), 0);
  EXPECT_EQ(ParseWindowState(1), 1);
  EXPECT_EQ(ParseWindowState(2), 2);
  EXPECT_FALSE(ParseWindowState(3));
  EXPECT_FALSE(ParseWindowState(-1));
}

}  // namespace
}  // namespace glintora
