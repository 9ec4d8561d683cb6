#include "tools/render/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace glintora {

namespace {

// m:ss, or h:mm:ss from an hour on.
std::string Clock(double seconds) {
  const auto s = static_cast<long long>(std::ceil(std::max(seconds, 0.0)));
  char text[32];
  if (s >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  return text;
}

}  // namespace

std::string ProgressText(std::int64_t done, std::int64_t total, double elapsedSeconds) {
  total = std::max<std::int64_t>(total, 1);
  done = std::clamp<std::int64_t>(done, 0, total);
  const std::string left =
      done == 0 ? "?" : Clock(elapsedSeconds * static_cast<double>(total - done) / static_cast<double>(done));
  return "frame " + std::to_string(done) + " of " + std::to_string(total) + " (" +
         std::to_string(done * 100 / total) + "%), " + left + " left";
}

}  // namespace glintora
