#include "tools/render/image_writers.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>

namespace glintora {

namespace {

// libpng reports errors by longjmp: this part creates no C++ object that a jump could skip.
bool EncodePng(png_structp png, png_infop info, std::FILE* file, const Framebuffer& frame,
               png_byte* row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(frame.Width),
               static_cast<png_uint_32>(frame.Height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::int32_t y = 0; y < frame.Height; ++y) {
    for (std::int32_t x = 0; x < frame.Width; ++x) {
      const std::uint32_t c = frame.At(x, y);  // 0x00BBGGRR
      row[3 * x] = static_cast<png_byte>(c & 255);
      row[3 * x + 1] = static_cast<png_byte>((c >> 8) & 255);
      row[3 * x + 2] = static_cast<png_byte>((c >> 16) & 255);
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool WritePng(const std::string& path, const Framebuffer& frame, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(file);
    error = "libpng: out of memory";
    return false;
  }
  std::vector<png_byte> row(static_cast<std::size_t>(frame.Width) * 3);
  const bool written = EncodePng(png, info, file, frame, row.data());
  png_destroy_write_struct(&png, &info);
  // The last bytes reach the file only here: a full disk shows on the close.
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) error = "cannot write " + path;
  return written && closed;
}

GifWriter::~GifWriter() {
  std::string ignored;
  Close(ignored);
}

bool GifWriter::Open(const std::string& path, std::int32_t width, std::int32_t height,
                     std::string& error) {
  int code = 0;
  gif_ = EGifOpenFileName(path.c_str(), false, &code);
  if (!gif_) {
    error = "cannot write " + path + ": " + GifErrorString(code);
    return false;
  }
  width_ = width;
  height_ = height;
  EGifSetGifVersion(gif_, true);
  if (EGifPutScreenDesc(gif_, width, height, 8, 0, nullptr) == GIF_ERROR) {
    error = std::string("giflib: ") + GifErrorString(gif_->Error);
    return false;
  }
  // Loop for ever.
  const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  const GifByteType loop[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(gif_, sizeof app, app) == GIF_ERROR ||
      EGifPutExtensionBlock(gif_, sizeof loop, loop) == GIF_ERROR ||
      EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
    error = std::string("giflib: ") + GifErrorString(gif_->Error);
    return false;
  }
  const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  r_.resize(n);
  g_.resize(n);
  b_.resize(n);
  index_.resize(n);
  return true;
}

bool GifWriter::Add(const Framebuffer& frame, std::int32_t delayMs, std::string& error) {
  if (!gif_) return false;
  std::size_t k = 0;
  for (std::int32_t y = 0; y < height_; ++y)
    for (std::int32_t x = 0; x < width_; ++x, ++k) {
      const std::uint32_t c = frame.At(x, y);
      r_[k] = static_cast<std::uint8_t>(c & 255);
      g_[k] = static_cast<std::uint8_t>((c >> 8) & 255);
      b_[k] = static_cast<std::uint8_t>((c >> 16) & 255);
    }
  int colours = 256;
  GifColorType palette[256] = {};
  if (GifQuantizeBuffer(static_cast<unsigned>(width_), static_cast<unsigned>(height_), &colours, r_.data(),
                        g_.data(), b_.data(), index_.data(), palette) == GIF_ERROR) {
    error = "giflib: colour quantisation failed";
    return false;
  }
  ColorMapObject* map = GifMakeMapObject(256, palette);
  GraphicsControlBlock gcb{};
  gcb.DisposalMode = DISPOSE_DO_NOT;
  gcb.DelayTime = static_cast<int>(std::clamp<std::int64_t>((std::int64_t{delayMs} + 5) / 10, 2, 65535));
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType ext[4];
  EGifGCBToExtension(&gcb, ext);
  bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, ext) != GIF_ERROR &&
            EGifPutImageDesc(gif_, 0, 0, width_, height_, false, map) != GIF_ERROR;
  for (std::int32_t y = 0; ok && y < height_; ++y)
    ok = EGifPutLine(gif_, index_.data() + static_cast<std::size_t>(y) * width_, width_) != GIF_ERROR;
  GifFreeMapObject(map);
  if (!ok) error = std::string("giflib: ") + GifErrorString(gif_->Error);
  return ok;
}

bool GifWriter::Close(std::string& error) {
  if (!gif_) return true;
  int code = 0;
  const bool ok = EGifCloseFile(gif_, &code) != GIF_ERROR;
  gif_ = nullptr;
  if (!ok) error = std::string("giflib: ") + GifErrorString(code);
  return ok;
}

}  // namespace glintora
