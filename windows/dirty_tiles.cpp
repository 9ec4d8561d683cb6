#include "windows/dirty_tiles.h"

#include <algorithm>

namespace glintora {

bool DirtyTiles::Collect(const Framebuffer& surface, const std::vector<PixelWrite>& writes) {
  runs_.clear();
  if (writes.empty() || !surface.AnyTouched()) return false;
  const std::uint64_t area = std::uint64_t(surface.TouchedRight - surface.TouchedLeft) *
                             std::uint64_t(surface.TouchedBottom - surface.TouchedTop);
  if (!Sparse(writes.size(), area)) return false;
  const int columns = (surface.Width + kTile - 1) / kTile;
  const int rows = (surface.Height + kTile - 1) / kTile;
  tiles_.assign(static_cast<std::size_t>(columns) * rows, 0);
  // The stored writes' bounds must be the touched rectangle, else something unlogged (a clear)
  // touched the frame too.
  int left = surface.Width, top = surface.Height, right = 0, bottom = 0;
  for (const PixelWrite& w : writes) {
    if (static_cast<std::uint32_t>(w.X) >= static_cast<std::uint32_t>(surface.Width) ||
        static_cast<std::uint32_t>(w.Y) >= static_cast<std::uint32_t>(surface.Height))
      continue;
    tiles_[static_cast<std::size_t>(w.Y / kTile) * columns + w.X / kTile] = 1;
    left = std::min(left, static_cast<int>(w.X));
    right = std::max(right, static_cast<int>(w.X) + 1);
    top = std::min(top, static_cast<int>(w.Y));
    bottom = std::max(bottom, static_cast<int>(w.Y) + 1);
  }
  if (left != surface.TouchedLeft || top != surface.TouchedTop || right != surface.TouchedRight ||
      bottom != surface.TouchedBottom)
    return false;
  for (int r = 0; r < rows; ++r) {
    const std::uint8_t* row = tiles_.data() + static_cast<std::size_t>(r) * columns;
    for (int c = 0; c < columns;) {
      if (!row[c]) {
        ++c;
        continue;
      }
      const int first = c;
      while (c < columns && row[c]) ++c;
      if (static_cast<int>(runs_.size()) == kMaxRuns) {
        runs_.clear();
        return false;
      }
      const int y = r * kTile;
      runs_.push_back({first * kTile, y, std::min(c * kTile, static_cast<int>(surface.Width)),
                       std::min(y + kTile, static_cast<int>(surface.Height))});
    }
  }
  return true;
}

}  // namespace glintora
