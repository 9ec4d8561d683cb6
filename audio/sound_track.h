// A show's sound track written to a WAV file as the show is stepped: frame n starts at sample
// n * frameDelayMs * 48, so the sound keeps time with the frames exactly (the mixer's look-ahead
// is taken out). When sound is off the
// file is silence of the show's length.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "audio/sound_mixer.h"
#include "audio/wav_file.h"

namespace glintora {

class SoundTrack {
 public:
  SoundTrack(std::uint64_t seed, std::int32_t frameDelayMs, bool soundOn);

  static constexpr std::int32_t kRingOutSeconds = 10;
  // The most sample frames a track writes when its last frame ends at sample end.
  static constexpr std::int64_t MostSamples(std::int64_t end) {
    return end + std::int64_t{kRingOutSeconds} * SoundMixer::kRate + SoundMixer::kLatency;
  }

  // The samples go to the WAV file when one is open, and to the tap when one is set.
  using Tap = std::function<bool(const std::int16_t* samples, std::int32_t frames, std::string& error)>;
  bool Open(const std::string& path, std::string& error);
  void SetTap(Tap tap) { tap_ = std::move(tap); }
  // A video's frame rate instead of the frame delay (see SoundMixer::UseFrameRate).
  void UseFrameRate(std::int32_t num, std::int32_t den) { mixer_.UseFrameRate(num, den); }
  // Sample frames written so far.
  std::int64_t Written() const { return written_; }
  // What the engine reports to (null when sound is off).
  ShowEventSink* Sink() { return on_ ? &mixer_ : nullptr; }
  SoundMixer& Mixer() { return mixer_; }
  // After a frame's update: the samples up to the next frame's start.
  bool EndFrame(std::string& error);
  // The sounds still ringing after the last frame (at most kRingOutSeconds), then the header.
  bool Finish(std::string& error);

 private:
  bool WriteUntil(std::int64_t sample, std::string& error);

  SoundMixer mixer_;
  WavWriter wav_;
  Tap tap_;
  bool on_;
  bool wavOpen_ = false;
  std::int64_t frames_ = 0;
  std::int64_t written_ = 0;
  std::vector<std::int16_t> block_;
};

}  // namespace glintora
