#include "display/buffer_damage.h"

namespace glintora {

void BufferDamage::Reset(int width, int height, int sets) {
  sets_.assign(static_cast<std::size_t>(sets), Framebuffer{});
  for (Framebuffer& s : sets_) {
    s.Attach(nullptr, width, height, width);
    s.WholeMarked = width > 0 && height > 0;
  }
}

void BufferDamage::AddFrame(const Framebuffer& frame) {
  for (Framebuffer& s : sets_) {
    if (s.WholeMarked) continue;
    if (DirtyTiles::Whole(frame) || frame.TileColumns != s.TileColumns ||
        frame.TileRows != s.TileRows) {
      s.WholeMarked = true;
      continue;
    }
    for (std::uint32_t i = 0; i < frame.MarkedCount; ++i) s.MarkTile(frame.MarkedTiles[i]);
  }
}

const std::vector<TileRun>& BufferDamage::Take(int set) {
  Framebuffer& s = sets_[static_cast<std::size_t>(set)];
  const std::vector<TileRun>& rects = tiles_.Bands(s);
  s.ResetTouched();
  return rects;
}

const std::vector<TileRun>& BufferDamage::TakeDamage(int set, int maxRects) {
  Framebuffer& s = sets_[static_cast<std::size_t>(set)];
  const std::vector<TileRun>& rects = shape_.Shape(s, maxRects);
  s.ResetTouched();
  return rects;
}

}  // namespace glintora
