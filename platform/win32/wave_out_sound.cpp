#include "platform/win32/wave_out_sound.h"

#include "audio/sound_mixer.h"

namespace glintora {

bool WaveOutSound::Start(LiveSound& live) {
  Stop();
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = SoundMixer::kChannels;
  format.nSamplesPerSec = SoundMixer::kRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!done_) return false;
  if (waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done_), 0,
                  CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    CloseHandle(done_);
    done_ = nullptr;
    return false;
  }
  live_ = &live;
  samples_.assign(static_cast<std::size_t>(kBlocks) * kBlockFrames * SoundMixer::kChannels, 0);
  for (std::int32_t i = 0; i < kBlocks; ++i) {
    WAVEHDR& h = headers_[i];
    h = WAVEHDR{};
    h.lpData = reinterpret_cast<LPSTR>(samples_.data() + static_cast<std::size_t>(i) * kBlockFrames * SoundMixer::kChannels);
    h.dwBufferLength = static_cast<DWORD>(kBlockFrames * SoundMixer::kChannels * sizeof(std::int16_t));
    waveOutPrepareHeader(device_, &h, sizeof h);
    h.dwFlags |= WHDR_DONE;  // free to fill
  }
  stop_ = false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void WaveOutSound::Run() {
  while (!stop_) {
    for (WAVEHDR& h : headers_) {
      if (stop_ || !(h.dwFlags & WHDR_DONE)) continue;
      live_->Pull(reinterpret_cast<std::int16_t*>(h.lpData), kBlockFrames);
      h.dwFlags &= ~WHDR_DONE;
      if (waveOutWrite(device_, &h, sizeof h) != MMSYSERR_NOERROR) {
        stop_ = true;  // the device went away: the show goes on in silence
        break;
      }
    }
    // Bounded, so Stop is never kept waiting by a device that went quiet.
    WaitForSingleObject(done_, 20);
  }
}

void WaveOutSound::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (device_) {
    waveOutReset(device_);  // what is queued is not played
    for (WAVEHDR& h : headers_) waveOutUnprepareHeader(device_, &h, sizeof h);
    waveOutClose(device_);
    device_ = nullptr;
  }
  if (done_) {
    CloseHandle(done_);
    done_ = nullptr;
  }
}

ShowSound::ShowSound(EngineRecord& engine, bool on, std::int32_t frameDelayMs)
    : engine_(engine), previous_(engine.Events), live_(GetTickCount(), frameDelayMs) {
  // A show nested in another's frame wait (the properties' preview over the application
  // window) must not keep the outer show's sound.
  engine_.Events = on && device_.Start(live_) ? &live_ : nullptr;
}

ShowSound::~ShowSound() {
  engine_.Events = previous_;
  live_.Silence();
  device_.Stop();
}

}  // namespace glintora
