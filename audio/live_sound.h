// Sound played as the show runs: the show's thread hands events over through a fixed ring (it
// never waits and never allocates; a full ring drops the event), and the platform's audio thread
// pulls blocks, which mixes the events in on the live clock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "audio/sound_mixer.h"

namespace glintora {

class LiveSound : public ShowEventSink {
 public:
  static constexpr std::int32_t kQueue = 256;

  LiveSound(std::uint64_t seed, std::int32_t frameDelayMs);

  // The show's thread.
  void OnShowEvent(const ShowEvent& event) override;
  // Sound stops at once: what is mixed from now on is silence until new events arrive.
  void Silence() { silence_.store(true, std::memory_order_release); }

  // The audio thread: the next frames samples, interleaved stereo.
  void Pull(std::int16_t* out, std::int32_t frames);

  std::int64_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  SoundMixer mixer_;
  std::array<ShowEvent, kQueue> ring_{};
  std::atomic<std::uint32_t> head_{0}, tail_{0};  // written by the show, by the audio thread
  std::atomic<bool> silence_{false};
  std::atomic<std::int64_t> dropped_{0};
};

}  // namespace glintora
