#include "display/idle_cycle.h"

namespace glintora {

bool IdleCycle::OnIdled() {
  if (state_ == State::Saving) return false;
  state_ = State::Saving;
  return true;
}

}  // namespace glintora
