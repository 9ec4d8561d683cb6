// Sections: the clock and the event's voices; the voices' synthesis; the limiter.
#include "audio/sound_mixer.h"

#include <algorithm>
#include <cmath>

namespace glintora {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::int32_t kBlock = 1024;         // frames mixed at a time
constexpr double kMetresPerUnit = 250;        // depth 1 is this far away
constexpr double kSpeedOfSound = 343;         // metres per second
constexpr float kMaster = 0.6f;
constexpr float kCeiling = 0.9f;              // the limiter's peak, below full scale
constexpr std::int32_t kSineSize = 4096;

const float* SineTable() {
  static const auto table = [] {
    std::array<float, kSineSize + 1> t{};
    for (std::int32_t k = 0; k <= kSineSize; ++k)
      t[k] = static_cast<float>(std::sin(2 * kPi * k / kSineSize));
    return t;
  }();
  return table.data();
}

inline float Sine(float cycles) {
  const float f = cycles - std::floor(cycles);
  return SineTable()[static_cast<std::int32_t>(f * kSineSize)];
}

inline std::uint64_t SplitMix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// White noise in [-1, 1).
inline float Noise(std::uint32_t& s) {
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  return static_cast<float>(static_cast<std::int32_t>(s)) * (1.0f / 2147483648.0f);
}

// A chance in [0, 1).
inline float Chance(std::uint32_t& s) { return Noise(s) * 0.5f + 0.5f; }

inline float LowPassCoefficient(double hz) {
  return static_cast<float>(1 - std::exp(-2 * kPi * hz / SoundMixer::kRate));
}

inline float PerSampleDecay(double seconds) {
  return static_cast<float>(std::exp(-1 / (seconds * SoundMixer::kRate)));
}

// Fades in over the first in samples and out over the last out samples of a length.
inline float Fade(std::int32_t t, std::int32_t length, float in, float out) {
  return std::min({1.0f, static_cast<float>(t) / in, static_cast<float>(length - t) / out});
}

const float kClickDecay = PerSampleDecay(0.0012);
const float kPopDecay = PerSampleDecay(0.012);
const float kThumpDecay = PerSampleDecay(0.12);
const float kThumpGlide = PerSampleDecay(0.6);  // the thump's pitch falls as it fades
const float kHissLow = LowPassCoefficient(1200);
const float kHissHigh = LowPassCoefficient(7000);
const float kPopLow = LowPassCoefficient(1800);

}  // namespace

// ---- the clock and the event's voices

SoundMixer::SoundMixer(std::uint64_t seed) : mix_(static_cast<std::size_t>(kBlock) * kChannels), seed_(seed) {
  ringNeed_.fill(1);
  ringGain_.fill(1);
}

void SoundMixer::UseFrameClock(std::int32_t frameDelayMs) {
  frameDelayMs_ = std::max(frameDelayMs, 0);
  rateNum_ = 1000;
  rateDen_ = frameDelayMs_;
  live_ = false;
}

void SoundMixer::UseFrameRate(std::int32_t num, std::int32_t den) {
  rateNum_ = std::max(num, 1);
  rateDen_ = std::max(den, 0);
  frameDelayMs_ = static_cast<std::int32_t>((1000 * rateDen_ + rateNum_ / 2) / rateNum_);
  live_ = false;
}

void SoundMixer::UseLiveClock(std::int32_t frameDelayMs) { frameDelayMs_ = std::max(frameDelayMs, 0); live_ = true; }

std::int64_t SoundMixer::DistanceDelay(float z) {
  const double metres = std::max(0.0, static_cast<double>(z)) * kMetresPerUnit;
  const double seconds = std::isfinite(metres) ? std::min(metres / kSpeedOfSound, kMaxDelaySeconds)
                                               : kMaxDelaySeconds;
  return static_cast<std::int64_t>(seconds * kRate);
}

std::int32_t SoundMixer::ActiveVoices() const {
  std::int32_t n = 0;
  for (const Voice& v : voices_) n += v.type != Sound::Off;
  return n;
}

void SoundMixer::StopAll() {
  for (Voice& v : voices_) v.type = Sound::Off;
  ringX_ = {};
}

SoundMixer::Voice& SoundMixer::Allocate() {
  Voice* best = &voices_[0];
  for (Voice& v : voices_) {
    if (v.type == Sound::Off) return v;
    // Full: the voice nearest its end gives way.
    if (v.length - v.t < best->length - best->t) best = &v;
  }
  return *best;
}

void SoundMixer::Start(Sound type, const ShowEvent& e, std::int64_t at, double seconds,
                       double loudness, double param) {
  Voice& v = Allocate();
  v = Voice{};
  v.type = type;
  v.start = at;
  v.length = static_cast<std::int32_t>(std::clamp(seconds, 0.02, 10.0) * kRate);
  const double angle = (std::clamp(static_cast<double>(e.Pan), -1.0, 1.0) + 1) * kPi / 4;
  v.left = static_cast<float>(std::cos(angle) * loudness);
  v.right = static_cast<float>(std::sin(angle) * loudness);
  v.rng = static_cast<std::uint32_t>(SplitMix(seed_ ^ SplitMix(++serial_))) | 1u;
  v.env = 1;
  switch (type) {
    case Sound::Boom:  // param: the low-pass corner in Hz (duller when far)
      v.cut = LowPassCoefficient(param);
      v.decay = PerSampleDecay(seconds / 4);
      v.freq = 70.0f / kRate;
      v.thump = 1;
      break;
    case Sound::Whistle:
    case Sound::Rise:  // param: how many times the pitch rises over the voice
      v.freq = static_cast<float>((type == Sound::Rise ? 600.0 : 1400.0) / kRate);
      v.glide = static_cast<float>(std::pow(param, 1.0 / v.length));
      break;
    case Sound::Crackle:  // param: clicks per second
      v.rate = static_cast<float>(param / kRate);
      v.env = 0;
      break;
    case Sound::Pops:  // param: pops, spread over the voice
      v.count = static_cast<std::int32_t>(param);
      v.env = 0;
      break;
    default:
      break;
  }
}

void SoundMixer::OnShowEvent(const ShowEvent& e) {
  const std::int64_t frameStart =
      live_ ? position_ : FrameStart(e.Frame);
  const std::int64_t at = std::max(frameStart + DistanceDelay(e.Z), position_);
  const double z = std::clamp(static_cast<double>(e.Z), 0.3, 4.0);
  const double near = 1 / (z * z);
  const double big = std::clamp(std::sqrt(e.Size / 1200.0), 0.3, 2.0);  // the spark count's weight
  const double frame = std::max(frameDelayMs_, 10) / 1000.0;
  const double lasts = std::clamp(e.Frames * frame, 0.1, 8.0);
  const double dull = std::clamp(2600 / (z * z), 300.0, 6000.0);
  auto boom = [&](double share) { Start(Sound::Boom, e, at, 1.2 + 0.8 * big, share * big * near, dull); };
  switch (e.Type) {
    case ShowEventType::Launch: {
      std::uint32_t pick = static_cast<std::uint32_t>(SplitMix(seed_ + serial_)) | 1u;
      Start(Chance(pick) < 0.5f ? Sound::Whistle : Sound::Hiss, e, at, lasts, 0.2 * near, 1.7);
      break;
    }
    case ShowEventType::Burst:
      switch (e.Kind) {
        case 2:  // scintillator
          boom(0.7);
          Start(Sound::Crackle, e, at, lasts, 0.35 * near, 60 + 140 * big);
          break;
        case 3: boom(0.6); break;  // multi-burst: the split pops follow
        case 4:                    // jet burst: a roaring spray
          boom(0.4);
          Start(Sound::Hiss, e, at, lasts, 0.3 * near, 1);
          break;
        case 5:  // sparkler
          Start(Sound::Crackle, e, at, lasts, 0.3 * near, 300 + 300 * big);
          Start(Sound::Hiss, e, at, lasts, 0.08 * near, 1);
          break;
        case 7:  // twister
          boom(0.4);
          Start(Sound::Rise, e, at, lasts, 0.15 * near, 4);
          break;
        case 8: boom(0.8); break;  // decaying star
        default: boom(1); break;   // standard and ring
      }
      break;
    case ShowEventType::Split:
      Start(Sound::Pops, e, at, 0.35, 0.5 * near, std::min(e.Size, 24));
      break;
    case ShowEventType::Twinkle:
      Start(Sound::Crackle, e, at, lasts, 0.3 * near, 10 + 8 * std::sqrt(std::max(e.Size, 0)));
      break;
    default:
      break;
  }
}

// ---- the voices' synthesis

void SoundMixer::RenderVoice(Voice& v, float* mix, std::int32_t from, std::int32_t to) {
  const std::int32_t n = std::min(to - from, v.length - v.t);
  float* out = mix + static_cast<std::ptrdiff_t>(from) * kChannels;
  const float l = v.left, r = v.right;
  const std::int32_t len = v.length;
  std::uint32_t rng = v.rng;
  std::int32_t t = v.t;
  switch (v.type) {
    case Sound::Boom:
      for (std::int32_t k = 0; k < n; ++k, ++t) {
        v.lp1 += v.cut * (Noise(rng) - v.lp1);
        v.lp2 += v.cut * (v.lp1 - v.lp2);
        const float s = (v.lp2 * 2.5f + Sine(v.phase) * v.thump) * v.env * std::min(1.0f, t / 144.0f);
        v.phase += v.freq;
        v.freq *= kThumpGlide;
        v.thump *= kThumpDecay;
        v.env *= v.decay;
        out[2 * k] += s * l;
        out[2 * k + 1] += s * r;
      }
      break;
    case Sound::Hiss:
    case Sound::Whistle:
    case Sound::Rise: {
      const float hiss = v.type == Sound::Hiss ? 1.0f : 0.25f;
      const float tone = v.type == Sound::Hiss ? 0.0f : 0.6f;
      for (std::int32_t k = 0; k < n; ++k, ++t) {
        v.lp1 += kHissHigh * (Noise(rng) - v.lp1);
        v.lp2 += kHissLow * (v.lp1 - v.lp2);
        const float s = ((v.lp1 - v.lp2) * hiss * 2 + Sine(v.phase) * tone) * Fade(t, len, 2400, 7200);
        v.phase += v.freq;
        v.freq *= v.glide;
        out[2 * k] += s * l;
        out[2 * k + 1] += s * r;
      }
      break;
    }
    case Sound::Crackle:
      for (std::int32_t k = 0; k < n; ++k, ++t) {
        if (Chance(rng) < v.rate) v.env = 0.5f + 0.5f * Chance(rng);
        const float x = Noise(rng);
        const float s = (x - v.lp1) * v.env * Fade(t, len, 480, len * 0.3f);
        v.lp1 = x;
        v.env *= kClickDecay;
        out[2 * k] += s * l;
        out[2 * k + 1] += s * r;
      }
      break;
    case Sound::Pops:
      for (std::int32_t k = 0; k < n; ++k, ++t) {
        // Pops fall at random over the voice, all but the first ten milliseconds of its end.
        if (v.count > 0 && Chance(rng) * (len - t - 480) < v.count) {
          v.env = 0.6f + 0.4f * Chance(rng);
          --v.count;
        }
        v.lp1 += kPopLow * (Noise(rng) - v.lp1);
        const float s = v.lp1 * 3 * v.env;
        v.env *= kPopDecay;
        out[2 * k] += s * l;
        out[2 * k + 1] += s * r;
      }
      break;
    default:
      break;
  }
  v.rng = rng;
  v.t = t;
  if (v.t >= v.length) v.type = Sound::Off;
}

void SoundMixer::Render(std::int16_t* out, std::int32_t frames) {
  while (frames > 0) {
    const std::int32_t n = std::min(frames, kBlock);
    std::fill(mix_.begin(), mix_.begin() + static_cast<std::ptrdiff_t>(n) * kChannels, 0.0f);
    const std::int64_t end = position_ + n;
    for (Voice& v : voices_) {
      if (v.type == Sound::Off || v.start >= end) continue;
      const std::int32_t from = v.start > position_ ? static_cast<std::int32_t>(v.start - position_) : 0;
      RenderVoice(v, mix_.data(), from, n);
    }
    Limit(mix_.data(), out, n);
    position_ = end;
    out += static_cast<std::ptrdiff_t>(n) * kChannels;
    frames -= n;
  }
}

// ---- the limiter: looks kLatency samples ahead, so the gain has fallen smoothly by the time a
// peak arrives (no sample passes the ceiling, no flat tops), and recovers slowly after it.

void SoundMixer::Limit(const float* mix, std::int16_t* out, std::int32_t frames) {
  static const float release = 1 - PerSampleDecay(0.15);
  constexpr std::int32_t L = kLatency;
  for (std::int32_t k = 0; k < frames; ++k) {
    float a = mix[2 * k] * kMaster, b = mix[2 * k + 1] * kMaster;
    if (!std::isfinite(a)) a = 0;
    if (!std::isfinite(b)) b = 0;
    const float peak = std::max(std::fabs(a), std::fabs(b));
    const std::int32_t at = ring_;
    ringX_[at] = {a, b};
    const float needed = peak > kCeiling ? kCeiling / peak : 1.0f;
    loud_ += (needed < 1) - (ringNeed_[at] < 1);
    ringNeed_[at] = needed;
    // The least gain any sample in the window needs; released slowly, dropped at once.
    float need = 1;
    if (loud_ > 0)
      for (float v : ringNeed_) need = std::min(need, v);
    gain_ = std::min(need, gain_ + (1 - gain_) * release);
    if (gain_ > 0.99999f) gain_ = 1;
    lowered_ += (gain_ < 1) - (ringGain_[at] < 1);
    ringGain_[at] = gain_;
    ring_ = (ring_ + 1) % (L + 1);
    // The oldest sample leaves with the mean gain of the window that followed it: every gain in
    // that window is at most what the oldest sample needs.
    float sum = L + 1;
    if (lowered_ > 0) {
      sum = 0;
      for (float v : ringGain_) sum += v;
    }
    const auto& x = ringX_[ring_];
    const float g = sum / (L + 1);
    out[2 * k] = static_cast<std::int16_t>(std::lrint(std::clamp(x[0] * g, -kCeiling, kCeiling) * 32767));
    out[2 * k + 1] = static_cast<std::int16_t>(std::lrint(std::clamp(x[1] * g, -kCeiling, kCeiling) * 32767));
  }
}

}  // namespace glintora
