// What each of a surface's buffers lacks. A host that hands buffers to a compositor and reuses
// them once released keeps, per buffer, the tiles the show changed since that buffer was last
// brought up to date, plus one more set for what changed since the last commit (the damage it
// reports). Each set is a tile-marked Framebuffer without pixels: a buffer's rectangles are its
// exact tiles (DirtyTiles::Bands, the fewest bytes to copy), the damage a few larger ones
// (DamageRects). Portable.
#pragma once

#include <vector>

#include "engine/framebuffer.h"
#include "display/damage_rects.h"
#include "display/dirty_tiles.h"

namespace glintora {

class BufferDamage {
 public:
  // sets marks for a width x height surface, each starting whole (a new buffer holds nothing).
  void Reset(int width, int height, int sets);
  // A frame was drawn: its tiles (or the whole surface) join every set.
  void AddFrame(const Framebuffer& frame);
  // The tiles set i lacks; the set is empty afterwards. Valid until the next call.
  const std::vector<TileRun>& Take(int set);
  // The same as a compositor's damage: at most maxRects rectangles covering them.
  const std::vector<TileRun>& TakeDamage(int set, int maxRects = DamageRects::kMaxRects);
  // Set i lacks nothing (its buffer was just drawn into).
  void Clear(int set) { sets_[static_cast<std::size_t>(set)].ResetTouched(); }

 private:
  std::vector<Framebuffer> sets_;
  DirtyTiles tiles_;
  DamageRects shape_;
};

}  // namespace glintora
