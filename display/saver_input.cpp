#include "display/saver_input.h"

#include <cmath>
#include <cstring>

namespace glintora {

bool SaverInput::OnMouseMove(double secondsOfDay) {
  if (ignoreMoves_) return false;
  ++moveCount_;
  if (moveStamp_ != 0 && secondsOfDay - moveStamp_ > 10.0) {
    // A late move is counted and discarded with its window, so it never closes the saver: three
    // stray moves and one an hour later are not a burst. The next move opens a new window.
    moveStamp_ = 0;
    moveCount_ = 0;
    return false;
  }
  if (moveStamp_ == 0) moveStamp_ = static_cast<std::int32_t>(std::nearbyint(secondsOfDay));
  return moveCount_ == 4;
}

bool IgnoresMouseMoves(const char* advMouseMove) {
  return advMouseMove != nullptr && std::strcmp(advMouseMove, "1") == 0;
}

}  // namespace glintora
