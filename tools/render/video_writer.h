// Frames and the sound track out as one video file through FFmpeg's libraries: .webm as VP9 and
// Opus, .mp4 as H.264 and AAC. The pictures are 4:2:0, which needs even sides: an odd width or
// height gets one black column or row at the right or bottom edge.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/framebuffer.h"

namespace glintora {

class VideoWriter {
 public:
  VideoWriter();
  ~VideoWriter();
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  // False with a message when the name ends in neither .webm nor .mp4 or the libraries lack an
  // encoder the file needs.
  static bool Check(const std::string& name, bool withSound, std::string& error);
  // A video of the kind name asks for (Check), written to path; rateNum / rateDen frames a
  // second; with sound, a 48 kHz stereo track.
  bool Open(const std::string& name, const std::string& path, std::int32_t width, std::int32_t height,
            std::int32_t rateNum, std::int32_t rateDen, bool withSound, std::string& error);
  bool AddFrame(const Framebuffer& frame, std::string& error);
  // frames interleaved stereo samples, following those added before.
  bool AddSamples(const std::int16_t* samples, std::int32_t frames, std::string& error);
  // Flushes the encoders and finishes the file; true when nothing was open.
  bool Close(std::string& error);

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace glintora
