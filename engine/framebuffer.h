// The pixels a show draws into: owned by the host (a DIB section, an XImage, a vector), referenced
// by the engine, presented by the host once per frame. Colours are 0x00BBGGRR; a host whose
// memory holds 0x00RRGGBB (the usual X server layout) sets Rgb and the pixels are stored
// that way, so the host presents them without converting. Rows follow each other Stride pixels
// apart; writes outside the bounds are dropped.
//
// What a frame changed is kept two ways, both at the cost of the stores alone: the touched
// rectangle, and the 8x8-pixel tiles the stores fell in (a flag per tile plus the list of
// flagged tiles, so neither marking nor resetting ever walks the whole surface). Fill marks the
// whole surface at once.
#pragma once

#include <cstdint>
#include <vector>

namespace glintora {

struct PixelWrite {
  std::int32_t X;
  std::int32_t Y;
  std::uint32_t Colour;
};

// 0x00BBGGRR <-> 0x00RRGGBB.
inline std::uint32_t SwapRedBlue(std::uint32_t colour) {
  return ((colour & 0xffu) << 16) | (colour & 0xff00u) | ((colour >> 16) & 0xffu);
}

struct Framebuffer {
  static constexpr int kTileShift = 3;
  static constexpr int kTile = 1 << kTileShift;

  std::uint32_t* Pixels = nullptr;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t Stride = 0;  // pixels from one row to the next
  bool Rgb = false;  // memory holds 0x00RRGGBB

  // Touched this frame: [TouchedLeft, TouchedRight) x [TouchedTop, TouchedBottom); empty when
  // TouchedLeft >= TouchedRight.
  std::int32_t TouchedLeft = 0;
  std::int32_t TouchedTop = 0;
  std::int32_t TouchedRight = 0;
  std::int32_t TouchedBottom = 0;

  // Tiles written this frame: TileMarks[row * TileColumns + column] is 1 for each of the first
  // MarkedCount entries of MarkedTiles, 0 elsewhere. WholeMarked: a Fill changed every pixel.
  std::int32_t TileColumns = 0;
  std::int32_t TileRows = 0;
  std::vector<std::uint8_t> TileMarks;
  std::vector<std::uint32_t> MarkedTiles;
  std::uint32_t MarkedCount = 0;
  bool WholeMarked = false;

  std::uint64_t Writes = 0;              // every Set, stored or clipped
  std::vector<PixelWrite>* Log = nullptr;  // when set, every Set is recorded (benchmarks, tests)

  void Attach(std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::int32_t stride) {
    Pixels = pixels;
    Width = width < 0 ? 0 : width;
    Height = height < 0 ? 0 : height;
    Stride = stride;
    TileColumns = (Width + kTile - 1) >> kTileShift;
    TileRows = (Height + kTile - 1) >> kTileShift;
    const auto tiles = static_cast<std::size_t>(TileColumns) * static_cast<std::size_t>(TileRows);
    TileMarks.assign(tiles, 0);
    MarkedTiles.assign(tiles + 1, 0);  // one spare: writers store before they count
    MarkedCount = 0;
    WholeMarked = false;
    ResetTouched();
  }

  void Set(std::int64_t x, std::int64_t y, std::uint32_t colour) {
    ++Writes;
    if (Log) Log->push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), colour});
    if (static_cast<std::uint64_t>(x) >= static_cast<std::uint64_t>(Width) ||
        static_cast<std::uint64_t>(y) >= static_cast<std::uint64_t>(Height))
      return;
    const auto ix = static_cast<std::int32_t>(x);
    const auto iy = static_cast<std::int32_t>(y);
    Pixels[static_cast<std::size_t>(iy) * static_cast<std::size_t>(Stride) + ix] =
        Rgb ? SwapRedBlue(colour) : colour;
    TouchedLeft = ix < TouchedLeft ? ix : TouchedLeft;
    TouchedRight = ix >= TouchedRight ? ix + 1 : TouchedRight;
    TouchedTop = iy < TouchedTop ? iy : TouchedTop;
    TouchedBottom = iy >= TouchedBottom ? iy + 1 : TouchedBottom;
    // Stored before it is counted: no branch on whether the tile was marked (MarkedTiles has a
    // spare entry for the store past the last tile).
    const auto tile = static_cast<std::uint32_t>((iy >> kTileShift) * TileColumns + (ix >> kTileShift));
    MarkedTiles[MarkedCount] = tile;
    MarkedCount += TileMarks[tile] ^ 1u;
    TileMarks[tile] = 1;
  }

  void MarkTile(std::uint32_t tile) {
    if (TileMarks[tile]) return;
    TileMarks[tile] = 1;
    MarkedTiles[MarkedCount++] = tile;
  }

  // The colour at x, y as 0x00BBGGRR.
  std::uint32_t At(std::int32_t x, std::int32_t y) const {
    const std::uint32_t p = Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride) + x];
    return Rgb ? SwapRedBlue(p) : p;
  }

  bool AnyTouched() const { return TouchedLeft < TouchedRight && TouchedTop < TouchedBottom; }

  // Nothing touched: an empty rectangle that the first stored pixel turns into that pixel, and
  // no tile marked.
  void ResetTouched() {
    TouchedLeft = Width;
    TouchedTop = Height;
    TouchedRight = 0;
    TouchedBottom = 0;
    for (std::uint32_t i = 0; i < MarkedCount; ++i) TileMarks[MarkedTiles[i]] = 0;
    MarkedCount = 0;
    WholeMarked = false;
  }

  // Every pixel to colour; the whole surface counts as touched.
  void Fill(std::uint32_t colour) {
    const std::uint32_t stored = Rgb ? SwapRedBlue(colour) : colour;
    for (std::int32_t y = 0; y < Height; ++y) {
      std::uint32_t* row = Pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride);
      for (std::int32_t x = 0; x < Width; ++x) row[x] = stored;
    }
    TouchedLeft = 0;
    TouchedTop = 0;
    TouchedRight = Width;
    TouchedBottom = Height;
    WholeMarked = Width > 0 && Height > 0;
  }
};

}  // namespace glintora
