// Sections: listeners; making the surface; configure and resize; the show; buffers and commits.
#include "platform/wayland/wayland_surface.h"

#include <libdecor.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "audio/sound_mixer.h"
#include "engine/trig_tables.h"
#include "platform/posix/clocks.h"
#include "platform/wayland/wayland_display.h"
#include "settings/loaders.h"
#include "display/output_set.h"
#include "display/pixel_font.h"
#include "display/settings_report.h"
#include "fractional-scale-v1-client.h"
#include "platform/wayland/layer_shell.h"
#include "viewporter-client.h"
#include "xdg-decoration-unstable-v1-client.h"
#include "xdg-shell-client.h"

namespace glintora::wayland {

namespace {

constexpr std::int32_t kOwnWidth = 960;
constexpr std::int32_t kOwnHeight = 600;
constexpr const char* kTitle = "Glintora Fireworks";
constexpr const char* kAppId = "glintora";  // the desktop entry's name

constexpr int kFpsChars = 20;

ShowSurface& Self(void* data) { return *static_cast<ShowSurface*>(data); }

// ---- listeners ----------------------------------------------------------------------------

const wl_surface_listener kSurface = {
    [](void* data, wl_surface*, wl_output* output) { Self(data).OnEnter(output); },
    [](void* data, wl_surface*, wl_output* output) { Self(data).OnLeave(output); },
};

const wl_callback_listener kFrame = {
    [](void* data, wl_callback*, std::uint32_t) { Self(data).OnFrameDone(); },
};

const wl_buffer_listener kBuffer = {
    [](void* data, wl_buffer* buffer) { Self(data).OnRelease(buffer); },
};

const zwlr_layer_surface_v1_listener kLayer = {
    [](void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t w, std::uint32_t h) {
      Self(data).OnLayerConfigure(serial, w, h);
    },
    [](void* data, zwlr_layer_surface_v1*) { Self(data).OnClose(); },
};

const wp_fractional_scale_v1_listener kFractional = {
    [](void* data, wp_fractional_scale_v1*, std::uint32_t scale120) {
      Self(data).OnPreferredScale(scale120);
    },
};

const xdg_surface_listener kXdgSurface = {
    [](void* data, xdg_surface*, std::uint32_t serial) { Self(data).OnXdgConfigure(serial); },
};

const xdg_toplevel_listener kToplevel = {
    [](void* data, xdg_toplevel*, std::int32_t w, std::int32_t h, wl_array*) {
      Self(data).OnToplevelConfigure(w, h);
    },
    [](void* data, xdg_toplevel*) { Self(data).OnClose(); },
    [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},  // configure_bounds
    [](void*, xdg_toplevel*, wl_array*) {},                    // wm_capabilities
};

libdecor_frame_interface kDecorFrame = {
    [](libdecor_frame* frame, libdecor_configuration* configuration, void* data) {
      Self(data).OnDecorConfigure(frame, configuration);
    },
    [](libdecor_frame*, void* data) { Self(data).OnClose(); },
    [](libdecor_frame*, void* data) { wl_surface_commit(Self(data).Surface()); },
    [](libdecor_frame*, const char*, void*) {},
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

}  // namespace

// ---- making the surface -------------------------------------------------------------------

ShowSurface::ShowSurface(WaylandDisplay& display, libdecor* decor, Store& store, RunState& run,
                         const SurfaceSetup& setup)
    : display_(display), decor_(decor), store_(store), run_(run), setup_(setup) {
  surface_ = wl_compositor_create_surface(display_.Compositor());
  wl_surface_add_listener(surface_, &kSurface, this);
  if (setup_.Output) outputScale_ = display_.ScaleOf(setup_.Output);
  switch (setup_.Role) {
    case SurfaceRole::Overlay:
    case SurfaceRole::Bottom:
    case SurfaceRole::Background: {
      const bool overlay = setup_.Role == SurfaceRole::Overlay;
      layer_ = zwlr_layer_shell_v1_get_layer_surface(
          display_.LayerShell(), surface_, setup_.Output,
          overlay                                 ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY
          : setup_.Role == SurfaceRole::Bottom ? ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM
                                                  : ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND,
          "glintora");
      zwlr_layer_surface_v1_add_listener(layer_, &kLayer, this);
      zwlr_layer_surface_v1_set_anchor(layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
      zwlr_layer_surface_v1_set_size(layer_, 0, 0);
      // Over panels too, not beside them.
      zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
      zwlr_layer_surface_v1_set_keyboard_interactivity(
          layer_, overlay ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                          : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
      if (!overlay) {
        // A wallpaper takes no input: clicks reach the desktop.
        wl_region* none = wl_compositor_create_region(display_.Compositor());
        wl_surface_set_input_region(surface_, none);
        wl_region_destroy(none);
      }
      break;
    }
    case SurfaceRole::Window:
    case SurfaceRole::FullScreen:
    case SurfaceRole::SaverWindow:
      pendingWidth_ = kOwnWidth;
      pendingHeight_ = kOwnHeight;
      if (decor_ && setup_.Role != SurfaceRole::SaverWindow) {
        frame_ = libdecor_decorate(decor_, surface_, &kDecorFrame, this);
        libdecor_frame_set_title(frame_, kTitle);
        libdecor_frame_set_app_id(frame_, kAppId);
        // Full screen is asked in the first configure: only then has the frame its toplevel.
        libdecor_frame_map(frame_);
      } else {
        xdgSurface_ = xdg_wm_base_get_xdg_surface(display_.WmBase(), surface_);
        xdg_surface_add_listener(xdgSurface_, &kXdgSurface, this);
        toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
        xdg_toplevel_add_listener(toplevel_, &kToplevel, this);
        xdg_toplevel_set_title(toplevel_, kTitle);
        xdg_toplevel_set_app_id(toplevel_, kAppId);
        // A saver's window has no frame to ask for: it is full screen from its first configure.
        if (display_.Decorations() && setup_.Role != SurfaceRole::SaverWindow) {
          decoration_ = zxdg_decoration_manager_v1_get_toplevel_decoration(display_.Decorations(),
                                                                           toplevel_);
          zxdg_toplevel_decoration_v1_set_mode(decoration_,
                                               ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
        }
        if (setup_.Role != SurfaceRole::Window) xdg_toplevel_set_fullscreen(toplevel_, setup_.Output);
      }
      break;
  }
  if (display_.FractionalScale() && display_.Viewporter()) {
    viewport_ = wp_viewporter_get_viewport(display_.Viewporter(), surface_);
    fractional_ = wp_fractional_scale_manager_v1_get_fractional_scale(display_.FractionalScale(), surface_);
    wp_fractional_scale_v1_add_listener(fractional_, &kFractional, this);
  }
  // The first commit carries no buffer: the compositor answers with a configure.
  if (!frame_) wl_surface_commit(surface_);
}

ShowSurface::~ShowSurface() {
  sound_.Stop();
  show_.reset();
  if (frameCallback_) wl_callback_destroy(frameCallback_);
  DropOverlay(fps_);
  DropOverlay(message_);
  if (layer_) zwlr_layer_surface_v1_destroy(layer_);
  if (decoration_) zxdg_toplevel_decoration_v1_destroy(decoration_);
  if (toplevel_) xdg_toplevel_destroy(toplevel_);
  if (xdgSurface_) xdg_surface_destroy(xdgSurface_);
  if (frame_) libdecor_frame_unref(frame_);
  if (fractional_) wp_fractional_scale_v1_destroy(fractional_);
  if (viewport_) wp_viewport_destroy(viewport_);
  DropBuffers();
  wl_surface_destroy(surface_);
}

// ---- configure and resize -----------------------------------------------------------------

void ShowSurface::OnLayerConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
  zwlr_layer_surface_v1_ack_configure(layer_, serial);
  outputScale_ = display_.ScaleOf(setup_.Output);
  // Beyond the int range only from a hostile compositor: the bounds take it from there.
  Resize(static_cast<std::int32_t>(std::min<std::uint32_t>(width, INT32_MAX)),
         static_cast<std::int32_t>(std::min<std::uint32_t>(height, INT32_MAX)));
}

void ShowSurface::OnToplevelConfigure(std::int32_t width, std::int32_t height) {
  // 0 x 0: the size is ours to choose; keep the current one.
  if (width > 0 && height > 0) {
    pendingWidth_ = width;
    pendingHeight_ = height;
  }
}

void ShowSurface::OnXdgConfigure(std::uint32_t serial) {
  xdg_surface_ack_configure(xdgSurface_, serial);
  Resize(pendingWidth_, pendingHeight_);
}

void ShowSurface::OnDecorConfigure(libdecor_frame* frame, libdecor_configuration* configuration) {
  if (setup_.Role == SurfaceRole::FullScreen && !fullScreenAsked_) {
    fullScreenAsked_ = true;
    libdecor_frame_set_fullscreen(frame, nullptr);
  }
  int width = 0, height = 0;
  if (!libdecor_configuration_get_content_size(configuration, frame, &width, &height) ||
      width <= 0 || height <= 0) {
    width = logicalWidth_ > 0 ? logicalWidth_ : kOwnWidth;
    height = logicalHeight_ > 0 ? logicalHeight_ : kOwnHeight;
  }
  libdecor_state* state = libdecor_state_new(width, height);
  libdecor_frame_commit(frame, state, configuration);
  libdecor_state_free(state);
  Resize(width, height);
}

void ShowSurface::OnEnter(wl_output* output) {
  if (std::find(entered_.begin(), entered_.end(), output) == entered_.end()) entered_.push_back(output);
  RefreshWindowScale();
}

void ShowSurface::OnLeave(wl_output* output) {
  entered_.erase(std::remove(entered_.begin(), entered_.end(), output), entered_.end());
  RefreshWindowScale();
}

void ShowSurface::OnPreferredScale(std::uint32_t scale120) {
  scale120_ = scale120;
  if (configured_) Resize(logicalWidth_, logicalHeight_);
}

// A window is drawn at the largest scale of the outputs it is on; a saver's or wallpaper's
// surface at its output's.
void ShowSurface::RefreshWindowScale() {
  std::int32_t scale = 1;
  if (setup_.Output) {
    scale = display_.ScaleOf(setup_.Output);
  } else {
    for (wl_output* o : entered_) scale = std::max(scale, display_.ScaleOf(o));
  }
  outputScale_ = scale;
  if (configured_) Resize(logicalWidth_, logicalHeight_);
}

void ShowSurface::Resize(std::int32_t logicalWidth, std::int32_t logicalHeight) {
  if (logicalWidth <= 0 || logicalHeight <= 0) return;
  // Through a viewport at the compositor's fractional scale once it has said it.
  const bool fractional = viewport_ && scale120_ > 0;
  const PixelSize px = BufferSizeFor(logicalWidth, logicalHeight,
                                     fractional ? static_cast<std::int32_t>(std::min<std::uint32_t>(scale120_, INT32_MAX))
                                                : outputScale_ * 120,
                                     fractional);
  if (configured_ && logicalWidth == logicalWidth_ && logicalHeight == logicalHeight_ &&
      px.Scale == scale_ && px.Width == framebuffer_.Width && px.Height == framebuffer_.Height)
    return;
  configured_ = true;
  logicalWidth_ = logicalWidth;
  logicalHeight_ = logicalHeight;
  scale_ = px.Scale;
  // A new size is a new show: the old one and its buffers go.
  show_.reset();
  DropBuffers();
  framebuffer_.Attach(nullptr, px.Width, px.Height, px.Width);
  framebuffer_.Rgb = true;  // XRGB8888 in memory
  damage_.Reset(px.Width, px.Height, 1 + kMaxBuffers);
  wl_surface_set_buffer_scale(surface_, px.Scale);
  if (viewport_) {
    if (fractional) wp_viewport_set_destination(viewport_, logicalWidth, logicalHeight);
    else wp_viewport_set_destination(viewport_, -1, -1);
  }
  if (setup_.Verbose) {
    std::fprintf(stderr, "glintora: %s scale %g size %dx%d\n", setup_.Label.c_str(),
                 fractional ? scale120_ / 120.0 : px.Scale, px.Width, px.Height);
  }
  if (frameCallback_) {
    wl_callback_destroy(frameCallback_);
    frameCallback_ = nullptr;
  }
  // The compositor expects a buffer for this configure now.
  Step();
}

// ---- the show -----------------------------------------------------------------------------

std::uint32_t ShowSurface::TickCount() {
  return static_cast<std::uint32_t>(posix::MonotonicMicros() / 1000u);
}

void ShowSurface::StartShow() {
  if (!engine_) {
    engine_ = std::make_unique<EngineRecord>();
    BuildTrigTables(engine_->Trig);
    engine_->Host = this;
    engine_->Rng.Seed(setup_.Seed);
  }
  engine_->Surface = &framebuffer_;
  store_.Reload();  // each show sees the settings file as it is when the show starts
  LoadAdvancedParams(store_, settings_, framebuffer_.Width, framebuffer_.Height, false,
                     run_.TwipsPerPixelX, run_.TwipsPerPixelY);
  LoadFireParams(store_, settings_);
  if (setup_.Verbose) {
    std::printf("%s\n", SettingsReport(settings_).c_str());
    std::fflush(stdout);
  }
  StartSound();
  if (live_) live_->Silence();  // a new show (a resize) starts afresh
  ClampFireParams(settings_);
  ClearSurface(*engine_, settings_);
  show_ = std::make_unique<ShowSession>(*engine_, settings_, run_);
}

void ShowSurface::StartSound() {
  if (setup_.Sound && !live_ && SoundEffectsOn(settings_)) {
    live_ = std::make_unique<LiveSound>(setup_.Seed, settings_.Adv_TimeDelay);
    if (!sound_.Start(*live_)) live_.reset();
  }
  engine_->Events = live_.get();
}

void ShowSurface::GiveSound() {
  setup_.Sound = true;
  if (show_) StartSound();
}

std::int32_t ShowSurface::MsUntilDue(std::uint32_t now) const {
  if (!configured_ || closed_ || frameCallback_) return -1;
  if (current_ && current_->Busy &&
      std::all_of(std::begin(buffers_), std::end(buffers_), [](const Buffer& b) { return b.Handle && b.Busy; }))
    return -1;  // every buffer is the compositor's: a release wakes the loop
  if (!show_) return 0;
  const auto elapsed = static_cast<std::int32_t>(now - engine_->TimerStart);
  return std::max(0, settings_.Adv_TimeDelay - std::max(elapsed, 0));
}

void ShowSurface::Step() {
  Buffer* target = DrawTarget();
  if (!target && !current_) {
    // Not even one buffer (no shared memory): nothing can be shown.
    std::fprintf(stderr, "glintora: %s: cannot make a shared-memory buffer\n", setup_.Label.c_str());
    closed_ = failed_ = true;
  }
  if (!target) return;
  if (!show_) {
    StartShow();
    engine_->TimerStart = TickCount();
  } else {
    show_->DrawFrame();
  }
  damage_.Clear(1 + static_cast<int>(target - buffers_));  // it holds what was just drawn
  Commit(*target);
  if (setup_.Fps) {
    const std::uint64_t now = posix::MonotonicMicros();
    stats_.OnFrame(now);
    if (now - lastFpsUs_ >= 1000000u) {
      lastFpsUs_ = now;
      DrawFpsLabel();
    }
  }
}

void ShowSurface::Present(const Framebuffer& surface) {
  if (&surface == &framebuffer_) damage_.AddFrame(surface);
}

// ---- buffers and commits ------------------------------------------------------------------

ShowSurface::Buffer* ShowSurface::DrawTarget() {
  Buffer* target = current_ && !current_->Busy ? current_ : nullptr;
  for (Buffer& b : buffers_)
    if (!target && b.Handle && !b.Busy) target = &b;
  // One more buffer only while every one the pool has is still the compositor's.
  for (Buffer& b : buffers_)
    if (!target && !b.Handle) target = NewBuffer(b, framebuffer_.Width, framebuffer_.Height);
  if (!target || target == current_) return target;
  // The new target lacks the frames drawn since it was last current: copy them from the latest.
  const int index = static_cast<int>(target - buffers_);
  const std::vector<TileRun>& lacking = damage_.Take(1 + index);
  if (current_) {
    const auto width = static_cast<std::size_t>(framebuffer_.Width);
    for (const TileRun& r : lacking) {
      const std::size_t bytes = static_cast<std::size_t>(r.Right - r.Left) * 4;
      for (int y = r.Top; y < r.Bottom; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * width + r.Left;
        std::memcpy(target->Pixels + at, current_->Pixels + at, bytes);
      }
    }
  }
  current_ = target;
  framebuffer_.Pixels = target->Pixels;
  return target;
}

ShowSurface::Buffer* ShowSurface::NewBuffer(Buffer& b, std::int32_t width, std::int32_t height,
                                            std::uint32_t format) {
  const int stride = width * 4;
  const std::size_t bytes = static_cast<std::size_t>(stride) * height;
  const int fd = memfd_create("glintora", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  void* data = ftruncate(fd, static_cast<off_t>(bytes)) == 0
                   ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                   : MAP_FAILED;
  if (data == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  wl_shm_pool* pool = wl_shm_create_pool(display_.Shm(), fd, static_cast<std::int32_t>(bytes));
  b.Handle = wl_shm_pool_create_buffer(pool, 0, width, height, stride, format);
  wl_shm_pool_destroy(pool);
  close(fd);
  wl_buffer_add_listener(b.Handle, &kBuffer, this);
  b.Pixels = static_cast<std::uint32_t*>(data);
  b.Bytes = bytes;
  b.Busy = false;
  return &b;
}

void ShowSurface::DropBuffers() {
  for (Buffer& b : buffers_) {
    if (!b.Handle) continue;
    wl_buffer_destroy(b.Handle);
    munmap(b.Pixels, b.Bytes);
    b = Buffer{};
  }
  current_ = nullptr;
  framebuffer_.Pixels = nullptr;
}

void ShowSurface::Commit(Buffer& b) {
  for (const TileRun& r : damage_.TakeDamage(0))
    wl_surface_damage_buffer(surface_, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  wl_surface_attach(surface_, b.Handle, 0, 0);
  b.Busy = true;
  everShown_ = true;
  frameCallback_ = wl_surface_frame(surface_);
  wl_callback_add_listener(frameCallback_, &kFrame, this);
  wl_surface_commit(surface_);
}

ShowSurface::Buffer* ShowSurface::OverlayBuffer(Overlay& overlay, std::int32_t width,
                                                std::int32_t height, std::uint32_t format) {
  if (!display_.Subcompositor()) return nullptr;
  if (!overlay.Surface) {
    overlay.Surface = wl_compositor_create_surface(display_.Compositor());
    overlay.Sub = wl_subcompositor_get_subsurface(display_.Subcompositor(), overlay.Surface, surface_);
    wl_subsurface_set_desync(overlay.Sub);
    // Clicks and moves reach the show's surface under it.
    wl_region* none = wl_compositor_create_region(display_.Compositor());
    wl_surface_set_input_region(overlay.Surface, none);
    wl_region_destroy(none);
  }
  for (Buffer& candidate : overlay.Buffers) {
    if (candidate.Handle && candidate.Bytes != static_cast<std::size_t>(width) * height * 4) {
      if (candidate.Busy) continue;
      wl_buffer_destroy(candidate.Handle);
      munmap(candidate.Pixels, candidate.Bytes);
      candidate = Buffer{};
    }
    if (!candidate.Handle) NewBuffer(candidate, width, height, format);
    if (candidate.Handle && !candidate.Busy) return &candidate;
  }
  return nullptr;
}

void ShowSurface::CommitOverlay(Overlay& overlay, Buffer& b, std::int32_t x, std::int32_t y) {
  // The position takes effect with the show's next commit, the buffer at once (desynchronised).
  wl_subsurface_set_position(overlay.Sub, x, y);
  wl_surface_set_buffer_scale(overlay.Surface, scale_);
  wl_surface_attach(overlay.Surface, b.Handle, 0, 0);
  wl_surface_damage_buffer(overlay.Surface, 0, 0, INT32_MAX, INT32_MAX);
  b.Busy = true;
  wl_surface_commit(overlay.Surface);
}

void ShowSurface::DropOverlay(Overlay& overlay) {
  for (Buffer& b : overlay.Buffers)
    if (b.Handle) wl_buffer_destroy(b.Handle), munmap(b.Pixels, b.Bytes);
  if (overlay.Sub) wl_subsurface_destroy(overlay.Sub);
  if (overlay.Surface) wl_surface_destroy(overlay.Surface);
  overlay = Overlay{};
}

void ShowSurface::DrawFpsLabel() {
  // White on black, font pixels of 2x2 logical pixels, with a margin of one font pixel.
  const int k = 2 * scale_;
  const TextExtent cells = MeasurePixelText(std::string(kFpsChars, ' '), k);
  const int width = cells.Width + k, height = cells.Height + k;
  Buffer* b = OverlayBuffer(fps_, width, height, WL_SHM_FORMAT_XRGB8888);
  if (!b) return;  // both still shown: the next second's figures
  std::fill(b->Pixels, b->Pixels + static_cast<std::size_t>(width) * height, 0u);
  DrawPixelText(b->Pixels, width, height, width, k, k, stats_.Text().substr(0, kFpsChars), k,
                0x00FFFFFFu);
  CommitOverlay(fps_, *b, 4, logicalHeight_ - height / scale_ - 4);
}

void ShowSurface::ShowMessage(const MessageStyle& message) {
  if (message.Text.empty() || !configured_) return;
  // As wide as the text but no wider than the surface: a longer line loses both ends, as
  // centred text does. The buffer's size is a whole number of logical pixels.
  const int k = PixelFontScale(message.FontSize) * scale_;
  const TextExtent text = MeasurePixelText(message.Text, k);
  const int width = std::max(std::min(text.Width / scale_, logicalWidth_), 1) * scale_;
  Buffer* b = OverlayBuffer(message_, width, text.Height, WL_SHM_FORMAT_ARGB8888);
  if (!b) return;  // the compositor holds both: the next refresh draws it
  // Transparent around the glyphs; the cell's gap column is split between the two sides.
  std::fill(b->Pixels, b->Pixels + static_cast<std::size_t>(width) * text.Height, 0u);
  DrawPixelText(b->Pixels, width, text.Height, width, (width - text.Width + k) / 2, 0,
                message.Text, k, 0xFF000000u | SwapRedBlue(message.Colour));
  CommitOverlay(message_, *b, (logicalWidth_ - width / scale_) / 2, 4);
}

void ShowSurface::OnFrameDone() {
  if (frameCallback_) wl_callback_destroy(frameCallback_);
  frameCallback_ = nullptr;
}

void ShowSurface::OnRelease(wl_buffer* buffer) {
  for (Buffer& b : buffers_)
    if (b.Handle == buffer) b.Busy = false;
  for (Overlay* o : {&fps_, &message_})
    for (Buffer& b : o->Buffers)
      if (b.Handle == buffer) b.Busy = false;
}

}  // namespace glintora::wayland
