#include "windows/saver_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glintora {
namespace {

// Each row: the moves' times of day in seconds, and which of them close the saver ('x').
TEST(SaverInput, FourthMoveWithinTenSecondsCloses) {
  const struct {
    bool ignoreMoves;
    std::vector<double> times;
    const char* closes;
  } rows[] = {
      {false, {1000.2, 1003.0, 1009.9, 1010.0}, "...x"},
      // The late fourth is counted and discarded with the window; counting starts over.
      {false, {500.0, 500.1, 500.2, 510.5, 511.0, 511.1, 511.2, 511.3}, ".......x"},
      // Past midnight the difference is negative and keeps the window open.
      {false, {86398.5, 86399.9, 0.4, 1.0}, "...x"},
      {true, {100.0, 100.1, 100.2, 100.3, 100.4, 100.5}, "......"},
  };
  for (const auto& row : rows) {
    SaverInput input(row.ignoreMoves);
    std::string closes;
    for (double t : row.times) closes += input.OnMouseMove(t) ? 'x' : '.';
    EXPECT_EQ(closes, row.closes) << row.times[0];
  }
}

TEST(SaverInput, StampRoundsHalfToEvenAndKeysAndButtonsClose) {
  SaverInput input(false);
  input.OnMouseMove(86398.5);
  EXPECT_EQ(input.MoveStamp(), 86398);
  EXPECT_TRUE(input.OnKey());
  EXPECT_TRUE(input.OnButton());
  EXPECT_TRUE(IgnoresMouseMoves("1"));
  for (const char* text : {"1.0", " 1", "0", static_cast<const char*>(nullptr)}) {
    EXPECT_FALSE(IgnoresMouseMoves(text)) << (text ? text : "null");
  }
}

}  // namespace
}  // namespace glintora
