// The show's sound: every event of a show becomes one or more synthesized voices (no recorded
// samples), mixed to 48 kHz stereo 16-bit blocks through a limiter that keeps any number of
// voices below full scale. Deterministic: the same seed and the same events at the same sample
// positions give the same samples. Portable; the platform only plays the blocks.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/show_events.h"
#include "settings/settings_record.h"

namespace glintora {

// The stored flag turns sound on only when it reads exactly "1".
inline bool SoundEffectsOn(const SettingsRecord& s) { return s.SoundFX_ON == "1"; }

class SoundMixer : public ShowEventSink {
 public:
  static constexpr std::int32_t kRate = 48000;
  static constexpr std::int32_t kChannels = 2;
  static constexpr std::int32_t kVoices = 512;
  // The farthest sound arrives no later than this after its frame.
  static constexpr double kMaxDelaySeconds = 1.0;

  explicit SoundMixer(std::uint64_t seed);
  // Render's output lags the clock by this many samples (the limiter's look-ahead): output sample
  // k is clock sample k - kLatency.
  static constexpr std::int32_t kLatency = 48;

  // Where an event's frame falls on the sample clock. Frame clock (a rendered sound track): frame
  // n starts at n * frameDelayMs milliseconds. Live: an event starts at the next sample rendered.
  // The frame delay also times the sounds that last as long as their phase.
  void UseFrameClock(std::int32_t frameDelayMs);
  void UseLiveClock(std::int32_t frameDelayMs);
  // Frame clock at a video's rate of num/den frames a second (30 fps has no whole-millisecond
  // delay): frame n starts at n * den / num seconds.
  void UseFrameRate(std::int32_t num, std::int32_t den);
  // The frame clock's sample where frame n starts.
  std::int64_t FrameStart(std::int64_t frame) const { return frame * kRate * rateDen_ / rateNum_; }

  void OnShowEvent(const ShowEvent& event) override;

  // The next frames samples (interleaved left, right) into out; advances the clock.
  void Render(std::int16_t* out, std::int32_t frames);

  // Silences every voice at once (the show stopped).
  void StopAll();

  std::int64_t Position() const { return position_; }
  std::int32_t ActiveVoices() const;

  // The delay of sound from a burst at depth z, in samples.
  static std::int64_t DistanceDelay(float z);

  enum class Sound : std::uint8_t { Off, Boom, Hiss, Whistle, Crackle, Rise, Pops };

 private:
  struct Voice {
    Sound type = Sound::Off;
    std::int64_t start = 0;    // sample of its first output
    std::int32_t length = 0;   // samples
    std::int32_t t = 0;        // samples played
    float left = 0, right = 0; // pan gains times loudness
    float cut = 0;             // one-pole low-pass coefficient
    float lp1 = 0, lp2 = 0;    // filter states
    float env = 0, decay = 1;  // amplitude envelope and its per-sample factor
    float phase = 0, freq = 0, glide = 1;  // oscillator: cycles, cycles per sample, factor per sample
    float thump = 0;           // boom: the low sine's level
    float rate = 0;            // crackle and pops: chance of a click per sample
    std::int32_t count = 0;    // pops left
    std::uint32_t rng = 1;
  };

  Voice& Allocate();
  void Start(Sound type, const ShowEvent& e, std::int64_t at, double seconds, double loudness,
             double param);
  // Voice v's samples from..to of the block (a voice starts within a block, plays to its end).
  void RenderVoice(Voice& v, float* mix, std::int32_t from, std::int32_t to);
  void Limit(const float* mix, std::int16_t* out, std::int32_t frames);

  std::array<Voice, kVoices> voices_{};
  std::vector<float> mix_;          // one block's float sum, sized once
  std::uint64_t seed_;
  std::uint64_t serial_ = 0;        // voices started, for their noise seeds
  std::int64_t position_ = 0;
  std::int32_t frameDelayMs_ = 40;
  std::int64_t rateNum_ = 1000, rateDen_ = 40;  // the frame clock's frames per second, num/den
  bool live_ = true;
  // The limiter: the last kLatency + 1 samples, the gain each needs and the gain chosen.
  std::array<std::array<float, 2>, kLatency + 1> ringX_{};
  std::array<float, kLatency + 1> ringNeed_{}, ringGain_{};
  std::int32_t ring_ = 0;
  std::int32_t loud_ = 0, lowered_ = 0;  // ring entries needing, and having, a gain below 1
  float gain_ = 1;
};

}  // namespace glintora
