// Plays a LiveSound through ALSA's default device on a thread of its own. Never in the show's
// way: no device, a device that goes away or a full buffer leave the show running silently, and
// Stop returns within a few milliseconds, dropping what is queued (no tail).
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "audio/live_sound.h"

typedef struct _snd_pcm snd_pcm_t;

namespace glintora::posix {

class AlsaSound {
 public:
  // The device's buffer: 40 ms in periods of 10 ms, so a sound is heard at most a buffer and a
  // period after its frame (plus the mixer's look-ahead).
  static constexpr std::uint32_t kBufferMicros = 40000;
  static constexpr std::int32_t kPeriodFrames = 480;

  AlsaSound() = default;
  ~AlsaSound() { Stop(); }
  AlsaSound(const AlsaSound&) = delete;
  AlsaSound& operator=(const AlsaSound&) = delete;

  // False, and nothing plays, when no device opens.
  bool Start(LiveSound& live);
  void Stop();
  bool Playing() const { return running_.load(); }

 private:
  void Run();

  snd_pcm_t* pcm_ = nullptr;
  LiveSound* live_ = nullptr;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
};

}  // namespace glintora::posix
