// The renderer's progress line, e.g. "frame 120 of 750 (16%), 0:42 left".
#pragma once

#include <cstdint>
#include <string>

namespace glintora {

// done of total frames after elapsedSeconds; the time left is the pace so far times the frames
// left ("?" before the first frame).
std::string ProgressText(std::int64_t done, std::int64_t total, double elapsedSeconds);

}  // namespace glintora
