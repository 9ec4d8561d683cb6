#include "windows/saver_input.h"

#include <gtest/gtest.h>

namespace glintora {
namespace {

TEST(SaverInput, FourthMoveWithinTenSecondsCloses) {
  SaverInput input(false);
  EXPECT_FALSE(input.OnMouseMove(1000.2));
  EXPECT_FALSE(input.OnMouseMove(1003.0));
  EXPECT_FALSE(input.OnMouseMove(1009.9));
  EXPECT_TRUE(input.OnMouseMove(1010.0));
}

TEST(SaverInput, ThreeMovesThenALateOneStartsOver) {
  SaverInput input(false);
  input.OnMouseMove(500.0);
  input.OnMouseMove(500.1);
  input.OnMouseMove(500.2);
  // Counted and discarded with the window: not the fourth.
  EXPECT_FALSE(input.OnMouseMove(510.5));
  EXPECT_EQ(input.MoveCount(), 0);
  EXPECT_EQ(input.MoveStamp(), 0);
  EXPECT_FALSE(input.OnMouseMove(511.0));
  EXPECT_FALSE(input.OnMouseMove(511.1));
  EXPECT_FALSE(input.OnMouseMove(511.2));
  EXPECT_TRUE(input.OnMouseMove(511.3));
}

TEST(SaverInput, StampRoundsHalfToEvenAndMidnightDoesNotDiscard) {
  SaverInput input(false);
  input.OnMouseMove(86398.5);
  EXPECT_EQ(input.MoveStamp(), 86398);
  input.OnMouseMove(86399.9);
  input.OnMouseMove(0.4);  // past midnight: negative difference keeps the window open
  EXPECT_TRUE(input.OnMouseMove(1.0));
}

TEST(SaverInput, IgnoredMovesNeverCloseButKeysAndButtonsDo) {
  SaverInput input(true);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(input.OnMouseMove(100.0 + i * 0.1));
  EXPECT_EQ(input.MoveCount(), 0);
  EXPECT_TRUE(input.OnKey());
  EXPECT_TRUE(input.OnButton());
  EXPECT_TRUE(IgnoresMouseMoves("1"));
  EXPECT_FALSE(IgnoresMouseMoves("1.0"));
  EXPECT_FALSE(IgnoresMouseMoves(" 1"));
  EXPECT_FALSE(IgnoresMouseMoves("0"));
  EXPECT_FALSE(IgnoresMouseMoves(nullptr));
}

}  // namespace
}  // namespace glintora
