// The per-frame updates of every burst kind but the rocket, and the split of a multi-burst's or a
// jet burst's leaders into one standard burst.
#pragma once

#include <cstdint>

#include "engine/show_state.h"

namespace glintora {

void UpdateStandard(ShowState& st, std::int32_t i);
void UpdateScintillator(ShowState& st, std::int32_t i);
void UpdateMultiBurst(ShowState& st, std::int32_t i);
void UpdateSpray(ShowState& st, std::int32_t i);  // JetBurst and Twister
void UpdateSparkler(ShowState& st, std::int32_t i);
void UpdateDecayingStar(ShowState& st, std::int32_t i);
void UpdateTwinkle(ShowState& st, std::int32_t i);
void SplitLeaders(ShowState& st, std::int32_t i, bool collectAlive);

// Kind 1 and a new firework in slot i.
void FinishSlot(ShowState& st, std::int32_t i);

}  // namespace glintora
