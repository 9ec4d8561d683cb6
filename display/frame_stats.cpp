#include "display/frame_stats.h"

#include <algorithm>
#include <cstdio>

namespace glintora {

void FrameStats::OnFrame(std::uint64_t nowUs) {
  if (!started_) {
    started_ = true;
    periodStart_ = nowUs;
    frames_ = 0;
    idleUs_ = 0;
    return;
  }
  ++frames_;
  const std::uint64_t elapsed = nowUs - periodStart_;
  if (elapsed < 1000000) return;
  fps_ = frames_ * 1e6 / static_cast<double>(elapsed);
  const double idle = static_cast<double>(std::min(idleUs_, elapsed));
  busy_ = 100.0 * (1.0 - idle / static_cast<double>(elapsed));
  periodStart_ = nowUs;
  frames_ = 0;
  idleUs_ = 0;
}

std::string FrameStats::Text() const {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f fps  %.0f%% busy", fps_, busy_);
  return text;
}

}  // namespace glintora
