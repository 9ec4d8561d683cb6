// A 16-bit PCM WAV file written block by block; the header's sizes are filled in on Close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace glintora {

class WavWriter {
 public:
  // The header counts the data's bytes in 32 bits, and the whole file's less 8.
  static constexpr std::uint32_t kMaxDataBytes = 0xFFFFFFFFu - 36;

  WavWriter() = default;
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  bool Open(const std::string& path, std::int32_t rate, std::int32_t channels, std::string& error);
  // frames interleaved samples of every channel; false past kMaxDataBytes.
  bool Write(const std::int16_t* samples, std::int32_t frames, std::string& error);
  bool Close(std::string& error);  // true when nothing was open

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
  std::int32_t rate_ = 0, channels_ = 0;
  std::uint32_t dataBytes_ = 0;
};

}  // namespace glintora
