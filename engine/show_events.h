// What a show tells a listener (the sound mixer): a rocket's launch, a burst of each kind, the
// split of a multi-burst or jet burst, a sparkler turning to twinkles. Each event is reported in
// the frame that first draws it. With no sink set nothing is recorded and nothing is allocated.
#pragma once

#include <cstdint>

namespace glintora {

enum class ShowEventType : std::uint8_t { None = 0, Launch, Burst, Split, Twinkle };

struct ShowEvent {
  ShowEventType Type = ShowEventType::None;
  std::int16_t Kind = 0;       // the burst kind (rings as 6); Launch 0, Split 1, Twinkle 999
  std::int32_t Slot = 0;
  std::uint32_t Frame = 0;     // 0 is the show's first frame
  float X = 0, Y = 0, Z = 0;   // world position; Z is the depth (1 at the focal distance)
  std::int32_t ScreenX = 0, ScreenY = 0;  // its projection, possibly off the surface
  float Pan = 0;               // -1 at the left edge, 1 at the right
  std::int32_t Size = 0;       // sparks; Split: sub-bursts; Twinkle: twinkling stars
  std::int32_t Frames = 0;     // how long it is expected to last, in frames
};

class ShowEventSink {
 public:
  virtual ~ShowEventSink() = default;
  virtual void OnShowEvent(const ShowEvent& event) = 0;
};

}  // namespace glintora
