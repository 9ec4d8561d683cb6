// The figures of the -fps overlay: frames per second and the share of the time spent working
// (drawing and presenting) rather than waiting for the frame delay, over about one second.
#pragma once

#include <cstdint>
#include <string>

namespace glintora {

class FrameStats {
 public:
  // A frame was presented at nowUs (any monotonic microsecond clock).
  void OnFrame(std::uint64_t nowUs);
  // usIdle microseconds were spent blocked waiting for an event or the deadline.
  void AddIdle(std::uint64_t usIdle) { idleUs_ += usIdle; }

  // The figures of the last completed period; 0 until one has completed.
  double FramesPerSecond() const { return fps_; }
  double BusyPercent() const { return busy_; }
  // "25.0 fps  12% busy"
  std::string Text() const;

 private:
  std::uint64_t periodStart_ = 0;
  bool started_ = false;
  std::uint32_t frames_ = 0;
  std::uint64_t idleUs_ = 0;
  double fps_ = 0;
  double busy_ = 0;
};

}  // namespace glintora
