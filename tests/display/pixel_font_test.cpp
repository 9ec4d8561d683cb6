// The built-in font: cells of 6x8 font pixels, glyphs drawn as squares of the scale, anything
// without a glyph (other scripts, broken UTF-8) as a hollow box, nothing written outside the image.
#include "display/pixel_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glintora {
namespace {

constexpr std::uint32_t kInk = 0xFF00FF00u;

// The image as rows of '#' (ink) and '.' (untouched), each row ended by '|'.
std::string Rows(const std::vector<std::uint32_t>& pixels, int width, int stride) {
  std::string rows;
  for (std::size_t at = 0; at < pixels.size(); at += static_cast<std::size_t>(stride), rows += '|') {
    for (int x = 0; x < width; ++x) rows += pixels[at + static_cast<std::size_t>(x)] == kInk ? '#' : '.';
  }
  return rows;
}

TEST(PixelFont, CellsPerCharacterNotPerByte) {
  const std::pair<std::string, int> rows[] = {
      {"", 0}, {"Hi there", 8}, {"caf\xC2\xA9", 4},  // a two-byte character of the lowest lead
      {"\xE6\x97\xA5\xE6\x9C\xAC", 2},               // two three-byte characters
      {"\xF0\x9F\x8E\x86!", 2},                       // four bytes, then ASCII
      {"\xFF\xC3(", 3},                                // a stray byte, a lead without its continuation
      {"\xE6\x97", 2},                                 // cut short at the end
      {"\xC0\xAF\xED\xA0\x80", 5}};                    // overlong '/' and a surrogate: byte by byte
  for (const auto& [text, cells] : rows) {
    EXPECT_EQ(MeasurePixelText(text, 3).Width, cells * 18) << text;
    EXPECT_EQ(MeasurePixelText(text, 3).Height, 24) << text;
  }
}

TEST(PixelFont, FontSizeGivesCapitalsOfASansSerifsHeight) {
  // Capitals (7 font pixels) of about 0.72 em, an em being points * 4/3 pixels.
  for (auto [points, scale] : {std::pair{1, 1}, {10, 1}, {24, 3}, {36, 5}, {80, 11}}) {
    EXPECT_EQ(PixelFontScale(points), scale) << points;
  }
}

TEST(PixelFont, GlyphsPlaceholdersScaleAndClipping) {
  // "H" and a character without a glyph at scale 1, one pixel in from the corner, in rows 11 pixels
  // wide: the box's right side and the rest of each row of 16 stay untouched.
  const int width = 11, height = 9, stride = 16;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stride) * height, 0u);
  DrawPixelText(pixels.data(), width, height, stride, 1, 1, "H\xE2\x82\xAC", 1, kInk);
  EXPECT_EQ(Rows(pixels, stride, stride), "................|.#...#.####.....|.#...#.#........|.#...#.#........|"
                                          ".#####.#........|.#...#.#........|.#...#.#........|.#...#.####.....|"
                                          "................|");

  // At scale 2, cut by the left and top edges: "I" at (-3, -8) keeps its stem's foot.
  std::vector<std::uint32_t> small(6 * 6, 0u);
  DrawPixelText(small.data(), 6, 6, 6, -3, -8, "I", 2, kInk);
  EXPECT_EQ(Rows(small, 6, 6), ".##...|.##...|.##...|.##...|#####.|#####.|");
  // Wholly outside: nothing drawn, nothing read or written out of bounds.
  std::vector<std::uint32_t> none(6 * 6, 0u);
  DrawPixelText(none.data(), 6, 6, 6, -100, 50, "\xFFHello", 4, kInk);
  DrawPixelText(none.data(), 6, 6, 6, 7, 0, "Hello", 4, kInk);
  EXPECT_EQ(none, std::vector<std::uint32_t>(6 * 6, 0u));
}

}  // namespace
}  // namespace glintora
