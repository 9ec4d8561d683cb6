#include "display/idle_cycle.h"

namespace glintora {

bool IdleCycle::OnIdled() {
  const bool fresh = resumed_;
  resumed_ = false;
  if (state_ == State::Saving || !fresh) return false;
  state_ = State::Saving;
  return true;
}

}  // namespace glintora
