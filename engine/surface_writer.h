// Pixel writes into a Framebuffer with its bookkeeping (bounds, touched rectangle, marked tiles,
// write count, log) held in the writer for the length of one burst's update. Framebuffer::Set has to reload
// and store its 32-bit fields around every pixel because a 32-bit pixel store may alias them; the
// writer keeps them in 64-bit fields, which a pixel store cannot alias, so the compiler keeps
// them in registers. Set stores exactly what Framebuffer::Set stores. On x86-64 the touched
// rectangle lives in two SSE registers (as doubles, exact for any 32-bit coordinate): the burst
// loops have general registers to spare for nothing, and a packed min and max grow it at once.
//
// While a writer is open nothing else may write to its framebuffer; Close (or the destructor)
// hands the touched rectangle, the marked-tile count and the write count back.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/framebuffer.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define GLINTORA_RECT_SSE 1
#else
#define GLINTORA_RECT_SSE 0
#endif

namespace glintora {

class SurfaceWriter {
 public:
  explicit SurfaceWriter(Framebuffer& fb)
      : fb_(&fb),
        pixels_(fb.Pixels),
        log_(fb.Log),
        width_(fb.Width),
        height_(fb.Height),
        stride_(fb.Stride),
        rgb_(fb.Rgb),
        columns_(fb.TileColumns),
        marks_(fb.TileMarks.data()),
        marked_(fb.MarkedTiles.data()),
        markedCount_(fb.MarkedCount),
#if GLINTORA_RECT_SSE
        low_(_mm_set_pd(fb.TouchedTop, fb.TouchedLeft)),
        high_(_mm_set_pd(std::int64_t{fb.TouchedBottom} - 1, std::int64_t{fb.TouchedRight} - 1)),
#else
        left_(fb.TouchedLeft),
        top_(fb.TouchedTop),
        lastX_(std::int64_t{fb.TouchedRight} - 1),
        lastY_(std::int64_t{fb.TouchedBottom} - 1),
#endif
        writes_(fb.Writes) {}
  ~SurfaceWriter() { Close(); }
  SurfaceWriter(const SurfaceWriter&) = delete;
  SurfaceWriter& operator=(const SurfaceWriter&) = delete;

  // Framebuffer::Set: counted, logged when the framebuffer logs, then stored.
  void Set(std::int64_t x, std::int64_t y, std::uint32_t colour) {
    ++writes_;
    if (log_) Record(log_, x, y, colour);
    Store(x, y, colour);
  }

  // Hands the bookkeeping back to the framebuffer; the writer must not be used afterwards.
  void Close() {
    if (!fb_) return;
#if GLINTORA_RECT_SSE
    fb_->TouchedLeft = static_cast<std::int32_t>(_mm_cvtsd_f64(low_));
    fb_->TouchedTop = static_cast<std::int32_t>(_mm_cvtsd_f64(_mm_unpackhi_pd(low_, low_)));
    fb_->TouchedRight = static_cast<std::int32_t>(_mm_cvtsd_f64(high_) + 1);
    fb_->TouchedBottom = static_cast<std::int32_t>(_mm_cvtsd_f64(_mm_unpackhi_pd(high_, high_)) + 1);
#else
    fb_->TouchedLeft = static_cast<std::int32_t>(left_);
    fb_->TouchedTop = static_cast<std::int32_t>(top_);
    fb_->TouchedRight = static_cast<std::int32_t>(lastX_ + 1);
    fb_->TouchedBottom = static_cast<std::int32_t>(lastY_ + 1);
#endif
    fb_->MarkedCount = static_cast<std::uint32_t>(markedCount_);
    fb_->Writes = writes_;
    fb_ = nullptr;
  }

 private:
  // Clipped to the bounds, growing the touched rectangle.
  void Store(std::int64_t x, std::int64_t y, std::uint32_t colour) {
    if (static_cast<std::uint64_t>(x) >= static_cast<std::uint64_t>(width_) ||
        static_cast<std::uint64_t>(y) >= static_cast<std::uint64_t>(height_))
      return;
    pixels_[y * stride_ + x] = rgb_ ? SwapRedBlue(colour) : colour;
    const std::int64_t tile = (y >> Framebuffer::kTileShift) * columns_ + (x >> Framebuffer::kTileShift);
    marked_[markedCount_] = static_cast<std::uint32_t>(tile);
    markedCount_ += marks_[tile] ^ 1u;
    marks_[tile] = 1;
#if GLINTORA_RECT_SSE
    const __m128d at = _mm_set_pd(static_cast<double>(y), static_cast<double>(x));
    low_ = _mm_min_pd(low_, at);
    high_ = _mm_max_pd(high_, at);
#else
    left_ = x < left_ ? x : left_;
    lastX_ = x > lastX_ ? x : lastX_;
    top_ = y < top_ ? y : top_;
    lastY_ = y > lastY_ ? y : lastY_;
#endif
  }

  // Out of line: only tests, the benchmark and a host that presents sparse frames tile by tile
  // set a log.
  [[gnu::noinline]] static void Record(std::vector<PixelWrite>* log, std::int64_t x, std::int64_t y,
                                       std::uint32_t colour) {
    log->push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), colour});
  }

  Framebuffer* fb_;
  std::uint32_t* pixels_;
  std::vector<PixelWrite>* log_;
  std::int64_t width_, height_, stride_;
  bool rgb_;
  std::int64_t columns_;
  std::uint8_t* marks_;
  std::uint32_t* marked_;
  std::uint64_t markedCount_;
  // The touched rectangle, right and bottom inclusive.
#if GLINTORA_RECT_SSE
  __m128d low_, high_;  // (left, top), (right, bottom)
#else
  std::int64_t left_, top_, lastX_, lastY_;
#endif
  std::uint64_t writes_;
};

// The same writes, queued: Set only counts, logs, clips and queues; every kQueued writes (and at
// Close) a tight loop stores them in the order they were set, with the rectangle and the tile
// marks in registers. Suits loops whose writes land far apart (a trail's eraser far behind its
// head): a store that misses the cache no longer stalls the burst's work, and the stores overlap.
// Loops that write clusters of neighbouring pixels do better with SurfaceWriter.
class QueuedWriter {
 public:
  explicit QueuedWriter(Framebuffer& fb)
      : fb_(&fb),
        log_(fb.Log),
        width_(static_cast<std::uint64_t>(fb.Width)),
        height_(static_cast<std::uint64_t>(fb.Height)),
        writes_(fb.Writes) {}
  ~QueuedWriter() { Close(); }
  QueuedWriter(const QueuedWriter&) = delete;
  QueuedWriter& operator=(const QueuedWriter&) = delete;

  void Set(std::int64_t x, std::int64_t y, std::uint32_t colour) {
    ++writes_;
    if (log_) Record(log_, x, y, colour);
    if (static_cast<std::uint64_t>(x) >= width_ || static_cast<std::uint64_t>(y) >= height_) return;
    queued_[count_] = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), colour};
    if (++count_ == kQueued) Store();
  }

  void Close() {
    if (!fb_) return;
    Store();
    fb_->Writes = writes_;
    fb_ = nullptr;
  }

  static constexpr std::uint32_t kQueued = 256;

 private:
  // The queued writes, all inside the bounds, in order.
  [[gnu::noinline]] void Store() {
    Framebuffer& fb = *fb_;
    std::uint32_t* const pixels = fb.Pixels;
    const std::int64_t stride = fb.Stride;
    const std::int64_t columns = fb.TileColumns;
    std::uint8_t* const marks = fb.TileMarks.data();
    std::uint32_t* const marked = fb.MarkedTiles.data();
    std::uint32_t markedCount = fb.MarkedCount;
    std::int64_t left = fb.TouchedLeft, top = fb.TouchedTop;
    std::int64_t lastX = std::int64_t{fb.TouchedRight} - 1, lastY = std::int64_t{fb.TouchedBottom} - 1;
    const bool rgb = fb.Rgb;
    for (const PixelWrite* w = queued_; w != queued_ + count_; ++w) {
      const std::int64_t x = w->X, y = w->Y;
      pixels[y * stride + x] = rgb ? SwapRedBlue(w->Colour) : w->Colour;
      const std::int64_t tile = (y >> Framebuffer::kTileShift) * columns + (x >> Framebuffer::kTileShift);
      marked[markedCount] = static_cast<std::uint32_t>(tile);
      markedCount += marks[tile] ^ 1u;
      marks[tile] = 1;
      left = x < left ? x : left;
      lastX = x > lastX ? x : lastX;
      top = y < top ? y : top;
      lastY = y > lastY ? y : lastY;
    }
    count_ = 0;
    fb.TouchedLeft = static_cast<std::int32_t>(left);
    fb.TouchedTop = static_cast<std::int32_t>(top);
    fb.TouchedRight = static_cast<std::int32_t>(lastX + 1);
    fb.TouchedBottom = static_cast<std::int32_t>(lastY + 1);
    fb.MarkedCount = markedCount;
  }

  [[gnu::noinline]] static void Record(std::vector<PixelWrite>* log, std::int64_t x, std::int64_t y,
                                       std::uint32_t colour) {
    log->push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), colour});
  }

  Framebuffer* fb_;
  std::vector<PixelWrite>* log_;
  std::uint64_t width_, height_;
  std::uint64_t writes_;
  std::uint32_t count_ = 0;
  PixelWrite queued_[kQueued];
};

}  // namespace glintora
