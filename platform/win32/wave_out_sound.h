// Plays a LiveSound through the system's wave output on a thread of its own. Never in the show's
// way: no device, a device that goes away or a full buffer leave the show running silently, and
// Stop returns within a few milliseconds, dropping what is queued (no tail after the show).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "audio/live_sound.h"
#include "engine/engine_record.h"

namespace glintora {

class WaveOutSound {
 public:
  // Four blocks of 10 ms: a sound is heard at most 40 ms after its frame is mixed.
  static constexpr std::int32_t kBlocks = 4;
  static constexpr std::int32_t kBlockFrames = 480;

  WaveOutSound() = default;
  ~WaveOutSound() { Stop(); }
  WaveOutSound(const WaveOutSound&) = delete;
  WaveOutSound& operator=(const WaveOutSound&) = delete;

  // False, and nothing plays, when no device opens.
  bool Start(LiveSound& live);
  void Stop();

 private:
  void Run();

  HWAVEOUT device_ = nullptr;
  HANDLE done_ = nullptr;  // signalled by the device whenever a block has been played
  LiveSound* live_ = nullptr;
  std::array<WAVEHDR, kBlocks> headers_{};
  std::vector<std::int16_t> samples_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

// Sound effects for one display window's shows, when the stored flag asks for them: the engine
// reports its events while the object lives. Silent, and costing nothing, otherwise. Shows nest
// (a preview inside a window's frame wait): each takes its own sink and gives the outer one back.
class ShowSound {
 public:
  ShowSound(EngineRecord& engine, bool on, std::int32_t frameDelayMs);
  ~ShowSound();
  ShowSound(const ShowSound&) = delete;
  ShowSound& operator=(const ShowSound&) = delete;

 private:
  EngineRecord& engine_;
  ShowEventSink* previous_;  // the outer show's, given back at the end
  LiveSound live_;
  WaveOutSound device_;
};

}  // namespace glintora
