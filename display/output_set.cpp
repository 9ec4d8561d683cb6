#include "display/output_set.h"

#include <algorithm>
#include <cmath>

namespace glintora {

void OutputEntry::SetScale(std::int32_t scale) { Scale = std::clamp(scale, 1, kMaxScale); }

OutputChange OutputEntry::Done(bool covering) {
  Described = true;
  if (!covering) return OutputChange::None;
  if (MadeScale == 0) {
    MadeScale = Scale;
    return OutputChange::Make;
  }
  if (MadeScale != Scale) {
    MadeScale = Scale;
    return OutputChange::Remake;
  }
  return OutputChange::None;
}

bool OutputEntry::Make() {
  if (!Described || MadeScale != 0) return false;
  MadeScale = Scale;
  return true;
}

OutputEntry* HandOnSound(const std::vector<OutputEntry*>& entries) {
  OutputEntry* first = nullptr;
  for (OutputEntry* e : entries) {
    if (!e->HasSurface()) continue;
    if (e->Sound) return nullptr;
    if (!first) first = e;
  }
  if (first) first->Sound = true;
  return first;
}

PixelSize BufferSizeFor(std::int32_t width, std::int32_t height, std::int32_t scale120,
                        bool viewport) {
  std::int64_t w = std::clamp(width, 1, kMaxSurfaceSide), h = std::clamp(height, 1, kMaxSurfaceSide);
  // Shrinks both sides in proportion until their product fits.
  const auto fit = [](std::int64_t& a, std::int64_t& b) {
    if (a * b <= kMaxBufferPixels) return;
    const double r = std::sqrt(static_cast<double>(kMaxBufferPixels) / static_cast<double>(a * b));
    a = std::max<std::int64_t>(1, static_cast<std::int64_t>(a * r));
    b = std::max<std::int64_t>(1, static_cast<std::int64_t>(b * r));
  };
  if (viewport) {
    const std::int64_t f = std::clamp(scale120, 120, kMaxScale * 120);
    std::int64_t pw = std::max<std::int64_t>(1, (w * f + 60) / 120);
    std::int64_t ph = std::max<std::int64_t>(1, (h * f + 60) / 120);
    fit(pw, ph);
    return {static_cast<std::int32_t>(pw), static_cast<std::int32_t>(ph), 1};
  }
  std::int64_t s = std::clamp(scale120 / 120, 1, kMaxScale);
  while (s > 1 && w * s * h * s > kMaxBufferPixels) --s;
  fit(w, h);
  return {static_cast<std::int32_t>(w * s), static_cast<std::int32_t>(h * s),
          static_cast<std::int32_t>(s)};
}

}  // namespace glintora
