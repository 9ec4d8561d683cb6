#include "audio/wav_file.h"

#include <array>
#include <vector>

namespace glintora {

namespace {

// The 44-byte header of a PCM file, little-endian.
std::array<unsigned char, 44> Header(std::int32_t rate, std::int32_t channels, std::uint32_t dataBytes) {
  std::array<unsigned char, 44> b{};
  std::size_t at = 0;
  const auto tag = [&](const char* t) {
    for (int k = 0; k < 4; ++k) b[at++] = static_cast<unsigned char>(t[k]);
  };
  const auto put = [&](std::uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) b[at++] = static_cast<unsigned char>(v >> (8 * k));
  };
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(static_cast<std::uint32_t>(channels), 2);
  put(static_cast<std::uint32_t>(rate), 4);
  put(static_cast<std::uint32_t>(rate * channels * 2), 4);
  put(static_cast<std::uint32_t>(channels * 2), 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  return b;
}

}  // namespace

WavWriter::~WavWriter() {
  std::string ignored;
  Close(ignored);
}

bool WavWriter::Open(const std::string& path, std::int32_t rate, std::int32_t channels,
                     std::string& error) {
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error = "cannot write '" + path + "'";
    return false;
  }
  path_ = path;
  rate_ = rate;
  channels_ = channels;
  dataBytes_ = 0;
  const auto header = Header(rate, channels, 0);
  if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
    error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

bool WavWriter::Write(const std::int16_t* samples, std::int32_t frames, std::string& error) {
  if (!file_) return false;
  const std::size_t count = static_cast<std::size_t>(frames) * channels_;
  if (count * 2 > kMaxDataBytes - dataBytes_) {
    error = "'" + path_ + "' would pass the 4 GiB a WAV file holds";
    return false;
  }
  std::vector<unsigned char> bytes(count * 2);
  for (std::size_t k = 0; k < count; ++k) {  // little-endian whatever the machine
    const auto v = static_cast<std::uint16_t>(samples[k]);
    bytes[2 * k] = static_cast<unsigned char>(v);
    bytes[2 * k + 1] = static_cast<unsigned char>(v >> 8);
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    error = "cannot write '" + path_ + "'";
    return false;
  }
  dataBytes_ += static_cast<std::uint32_t>(bytes.size());
  return true;
}

bool WavWriter::Close(std::string& error) {
  if (!file_) return true;
  const auto header = Header(rate_, channels_, dataBytes_);
  const bool ok = std::fseek(file_, 0, SEEK_SET) == 0 &&
                  std::fwrite(header.data(), 1, header.size(), file_) == header.size();
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!ok || !closed) {
    error = "cannot write '" + path_ + "'";
    return false;
  }
  return true;
}

}  // namespace glintora
