// The full-screen saver's input rule: any key or button ends it at once; mouse movement ends it
// only in a burst (the fourth move within about ten seconds of the first), so that a table being
// bumped or a stray event does not wake the screen. Portable: the caller supplies the time.
#pragma once

#include <cstdint>

namespace glintora {

class SaverInput {
 public:
  // ignoreMoves: the stored Adv_MouseMove reads exactly "1".
  explicit SaverInput(bool ignoreMoves) : ignoreMoves_(ignoreMoves) {}

  // Each returns true when the saver must close.
  bool OnKey() const { return true; }
  bool OnButton() const { return true; }
  // secondsOfDay: local time of day in seconds, with its fraction (0 up to 86400).
  bool OnMouseMove(double secondsOfDay);

  std::int32_t MoveCount() const { return moveCount_; }
  std::int32_t MoveStamp() const { return moveStamp_; }

 private:
  bool ignoreMoves_;
  std::int32_t moveCount_ = 0;
  std::int32_t moveStamp_ = 0;  // second of the day the counting window opened; 0 = none open
};

// True when an Adv_MouseMove text means "ignore mouse moves": exactly "1", nothing else.
bool IgnoresMouseMoves(const char* advMouseMove);

}  // namespace glintora
