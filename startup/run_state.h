// The process-wide run state: how the program was started and the three flags through which
// window handlers talk to a running show. One instance, owned by the program's entry.
#pragma once

#include <cstdint>
#include <string>

namespace glintora {

enum class RunMode : std::int16_t { Application = 0, Saver = 1, Preview = 2 };

struct RunState {
  RunMode Mode = RunMode::Saver;
  std::int64_t PreviewHostWindow = 0;  // the host window's handle after "/P"; 0 until then
  std::int16_t TwipsPerPixelX = 15;
  std::int16_t TwipsPerPixelY = 15;
  std::string HelpFileName = "Glintora Fireworks.hlp";

  bool StopRequested = false;    // the running show and its window's loop must end
  bool ShowInterrupted = false;  // only the running show ends (the dialog preview)
  bool QuitRequested = false;    // the properties dialog asks the application window to end
  bool FirstYieldDone = false;   // the preview's one brief yield has run
};

}  // namespace glintora
