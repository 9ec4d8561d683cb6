#include "display/window_placement.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace glintora {
namespace {

TEST(WindowSizeText, FourFiveDigitFieldsWrittenClampedAndReadLeniently) {
  const struct { double left, top, width, height; const char* text; } rows[] = {
      {1200, 900.5, 9600, 7200, "01200009000960007200"},  // 900.5 rounds to even
      // Dragged off the left and top edges, or wider than five digits of twips.
      {-450, -15, 100000, 123456.7, "00000000009999999999"},
      {300, 600, 100000, 7200, "00300006009999907200"},
      {std::nan(""), 1e300, -1e300, 0, "00000999990000000000"}};
  for (const auto& row : rows) EXPECT_EQ(FormatWindowSize(row.left, row.top, row.width, row.height), row.text);
  const struct { const char* text; int left, top, width, height; } read[] = {
      {"01200009000960007200", 1200, 900, 9600, 7200},
      {"  00015000300004506000  ", 15, 30, 45, 6000},  // blanks trimmed before cutting
      {"0123400567", 1234, 567, 0, 0},                 // missing fields stay 0
      {"abcde12 3400100xyzzy", 0, 12, 100, 0}};        // reading stops at the blank
  for (const auto& row : read) {
    SCOPED_TRACE(row.text);
    const auto g = ParseWindowSize(row.text);
    ASSERT_TRUE(g);
    EXPECT_EQ((std::array<int, 4>{g->Left, g->Top, g->Width, g->Height}),
              (std::array<int, 4>{row.left, row.top, row.width, row.height}));
  }
  EXPECT_FALSE(ParseWindowSize("") || ParseWindowSize("    "));
  EXPECT_EQ(WindowStateText(true) + WindowStateText(false), "20");
  for (int state : {0, 1, 2}) EXPECT_EQ(ParseWindowState(state), state);
  for (int state : {3, -1}) EXPECT_FALSE(ParseWindowState(state));
}

}  // namespace
}  // namespace glintora
