// The engine record: what lives as long as the process and every show shares. The window that
// runs a show sets Host and Surface (its drawing surface) and seeds Rng before StartShow.
#pragma once

#include <cstdint>

#include "engine/frame_host.h"
#include "engine/framebuffer.h"
#include "engine/random.h"
#include "engine/show_events.h"
#include "engine/trig_tables.h"

namespace glintora {

struct EngineRecord {
  FrameHost* Host = nullptr;        // the window or picture box drawn on; null when none
  Framebuffer* Surface = nullptr;   // where every pixel goes (the host's framebuffer)
  TrigTables Trig;                  // BuildTrigTables(Trig) once at program start
  Random Rng;                       // seeded by the window before its show loop
  std::uint32_t TimerStart = 0;     // tick count at the start of the current frame
  std::uint32_t MessageTick = 0;    // tick of the last message refresh
  MessageStyle Message;             // reused by every refresh, so a refresh allocates nothing
  ShowEventSink* Events = nullptr;  // hears launches, bursts, splits and twinkles; null: none
};

}  // namespace glintora
