// A show's sound track written to a WAV file as the show is stepped: frame n starts at sample
// n * frameDelayMs * 48, so the sound keeps time with the frames exactly (the mixer's look-ahead
// is taken out). When sound is off the
// file is silence of the show's length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_mixer.h"
#include "audio/wav_file.h"

namespace glintora {

class SoundTrack {
 public:
  SoundTrack(std::uint64_t seed, std::int32_t frameDelayMs, bool soundOn);

  bool Open(const std::string& path, std::string& error);
  // What the engine reports to (null when sound is off).
  ShowEventSink* Sink() { return on_ ? &mixer_ : nullptr; }
  SoundMixer& Mixer() { return mixer_; }
  // After a frame's update: the samples up to the next frame's start.
  bool EndFrame(std::string& error);
  // The sounds still ringing after the last frame (at most ten seconds), then the header.
  bool Finish(std::string& error);

 private:
  bool WriteUntil(std::int64_t sample, std::string& error);

  SoundMixer mixer_;
  WavWriter wav_;
  bool on_;
  std::int64_t samplesPerFrame_;
  std::int64_t frames_ = 0;
  std::vector<std::int16_t> block_;
};

}  // namespace glintora
