#include "audio/sound_track.h"

#include <algorithm>

namespace glintora {

SoundTrack::SoundTrack(std::uint64_t seed, std::int32_t frameDelayMs, bool soundOn)
    : mixer_(seed), on_(soundOn) {
  mixer_.UseFrameClock(frameDelayMs);
}

bool SoundTrack::Open(const std::string& path, std::string& error) {
  wavOpen_ = wav_.Open(path, SoundMixer::kRate, SoundMixer::kChannels, error);
  return wavOpen_;
}

// The file's sample k is the mixer's clock sample k: its first kLatency outputs are dropped, and
// a frame's samples are written once the clock has passed them by the look-ahead.
bool SoundTrack::WriteUntil(std::int64_t sample, std::string& error) {
  while (mixer_.Position() < sample) {
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(sample - mixer_.Position(), 4800));
    block_.resize(static_cast<std::size_t>(n) * SoundMixer::kChannels);
    const std::int64_t from = mixer_.Position() - SoundMixer::kLatency;  // of the first output
    mixer_.Render(block_.data(), n);
    const auto skip = static_cast<std::int32_t>(std::clamp<std::int64_t>(-from, 0, n));
    const std::int16_t* out = block_.data() + static_cast<std::ptrdiff_t>(skip) * SoundMixer::kChannels;
    if ((wavOpen_ && !wav_.Write(out, n - skip, error)) || (tap_ && !tap_(out, n - skip, error)))
      return false;
    written_ += n - skip;
  }
  return true;
}

bool SoundTrack::EndFrame(std::string& error) { return WriteUntil(mixer_.FrameStart(++frames_), error); }

bool SoundTrack::Finish(std::string& error) {
  for (int second = 0; second < kRingOutSeconds && on_ && mixer_.ActiveVoices() > 0; ++second)
    if (!WriteUntil(mixer_.Position() + SoundMixer::kRate, error)) return false;
  return WriteUntil(mixer_.Position() + SoundMixer::kLatency, error) && wav_.Close(error);
}

}  // namespace glintora
