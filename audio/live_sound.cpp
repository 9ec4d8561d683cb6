#include "audio/live_sound.h"

namespace glintora {

LiveSound::LiveSound(std::uint64_t seed, std::int32_t frameDelayMs) : mixer_(seed) {
  mixer_.UseLiveClock(frameDelayMs);
}

void LiveSound::OnShowEvent(const ShowEvent& event) {
  const std::uint32_t head = head_.load(std::memory_order_relaxed);
  if (head - tail_.load(std::memory_order_acquire) >= kQueue) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  ring_[head % kQueue] = event;
  head_.store(head + 1, std::memory_order_release);
}

void LiveSound::Pull(std::int16_t* out, std::int32_t frames) {
  const bool stop = silence_.exchange(false, std::memory_order_acq_rel);
  if (stop) mixer_.StopAll();
  const std::uint32_t head = head_.load(std::memory_order_acquire);
  std::uint32_t tail = tail_.load(std::memory_order_relaxed);
  for (; tail != head; ++tail)
    if (!stop) mixer_.OnShowEvent(ring_[tail % kQueue]);
  tail_.store(tail, std::memory_order_release);
  mixer_.Render(out, frames);
}

}  // namespace glintora
