#include "platform/posix/alsa_sound.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <vector>

namespace glintora::posix {

namespace {

// A machine without a sound card is no error of the show's: ALSA's own messages stay unprinted.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

bool AlsaSound::Start(LiveSound& live) {
  Stop();
  snd_lib_error_set_handler(&QuietAlsa);
  // Non-blocking: a busy or missing device fails here instead of waiting.
  if (snd_pcm_open(&pcm_, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
    pcm_ = nullptr;
    return false;
  }
  if (snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                         SoundMixer::kChannels, SoundMixer::kRate, 1, kBufferMicros) < 0) {
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    return false;
  }
  live_ = &live;
  stop_ = false;
  running_ = true;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void AlsaSound::Run() {
  std::vector<std::int16_t> block(static_cast<std::size_t>(kPeriodFrames) * SoundMixer::kChannels);
  bool pending = false;  // block holds samples not yet taken by the device
  while (!stop_) {
    // Bounded waits only, so Stop is never kept waiting by a device that went quiet.
    const int ready = snd_pcm_wait(pcm_, 20);
    if (ready < 0 && snd_pcm_recover(pcm_, ready, 1) < 0) break;
    snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
    if (avail < 0) {
      if (snd_pcm_recover(pcm_, static_cast<int>(avail), 1) < 0) break;  // the device is gone
      continue;
    }
    while (!stop_ && avail >= kPeriodFrames) {
      if (!pending) live_->Pull(block.data(), kPeriodFrames);
      const snd_pcm_sframes_t wrote = snd_pcm_writei(pcm_, block.data(), kPeriodFrames);
      if (wrote == -EAGAIN) {
        pending = true;
        break;
      }
      if (wrote < 0) {
        pending = true;
        if (snd_pcm_recover(pcm_, static_cast<int>(wrote), 1) < 0) stop_ = true;
        break;
      }
      pending = false;
      avail -= wrote;
    }
  }
  running_ = false;
}

void AlsaSound::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (pcm_) {
    snd_pcm_drop(pcm_);  // what is queued is not played
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
  }
  running_ = false;
}

}  // namespace glintora::posix
