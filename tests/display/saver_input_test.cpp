#include "display/saver_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glintora {
namespace {

// Each row: the stored Adv_MouseMove, the moves' times of day in seconds, and which of them
// close the saver ('x').
TEST(SaverInput, FourthMoveWithinTenSecondsClosesUnlessMovesAreIgnored) {
  const struct { const char* mouseMove; std::vector<double> times; const char* closes; } rows[] = {
      {"0", {1000.2, 1003.0, 1009.9, 1010.0}, "...x"},
      // The late fourth is counted and discarded with the window; counting starts over.
      {"0", {500.0, 500.1, 500.2, 510.5, 511.0, 511.1, 511.2, 511.3}, ".......x"},
      // The window opens at 86398 (half to even), so 86408.6 is late.
      {"0", {86398.5, 86398.6, 86398.7, 86408.6}, "...."},
      // Past midnight the difference is negative and keeps the window open.
      {"0", {86398.5, 86399.9, 0.4, 1.0}, "...x"},
      {"1", {100.0, 100.1, 100.2, 100.3, 100.4, 100.5}, "......"},
      // Only exactly "1" ignores moves.
      {"1.0", {1, 2, 3, 4}, "...x"}, {" 1", {1, 2, 3, 4}, "...x"}, {nullptr, {1, 2, 3, 4}, "...x"}};
  for (const auto& row : rows) {
    SaverInput input(IgnoresMouseMoves(row.mouseMove));
    std::string closes;
    for (double t : row.times) closes += input.OnMouseMove(t) ? 'x' : '.';
    EXPECT_EQ(closes, row.closes) << (row.mouseMove ? row.mouseMove : "null") << " " << row.times[0];
  }
}

}  // namespace
}  // namespace glintora
