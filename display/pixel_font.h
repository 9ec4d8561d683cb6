// One line of UTF-8 text in a built-in 5x7 pixel font, each font pixel drawn as a square of
// `scale` pixels: the Wayland program's on-screen message and -fps figures, which use no font
// library. Printable ASCII has glyphs; every other character (and every byte that is not valid
// UTF-8) draws as a hollow box.
#pragma once

#include <cstdint>
#include <string>

namespace glintora {

struct TextExtent {
  int Width = 0;
  int Height = 0;
};

// The square size whose capitals are about as tall as a common sans serif's at `points`
// (96 dots per inch); at least 1.
int PixelFontScale(int points);

// Every character takes a cell of 6x8 font pixels (the glyph, a gap column and a gap row).
TextExtent MeasurePixelText(const std::string& utf8, int scale);

// Draws the text's cells with their top left corner at (x, y) into a width x height image of
// `stride` pixels a row; only glyph pixels are written, and only inside the image.
void DrawPixelText(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                   const std::string& utf8, int scale, std::uint32_t colour);

}  // namespace glintora
