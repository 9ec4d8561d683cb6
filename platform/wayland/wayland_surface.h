// One surface with its own show: a window (decorated by the compositor through xdg-decoration,
// else by libdecor), a full-screen window, a layer-shell surface over (saver) or under
// (wallpaper) one output, or an undecorated full-screen window on one output (the saver where
// there is no layer shell). Where the compositor offers fractional scales it is drawn at its
// output's physical pixels and shown through a viewport at its logical size. Implements the engine's FrameHost for its ShowSession: the engine draws
// straight into a wl_shm buffer, the last one drawn while the compositor has released it, else
// another brought up to date by copying the tiles it lacks from the last; the damage is a few
// rectangles over the frame's changed tiles. A frame is drawn only once the previous
// one's frame callback came and Adv_TimeDelay has passed since it began, so a surface nobody sees
// draws nothing and its show waits where it was.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wayland-client.h>

#include "audio/live_sound.h"
#include "engine/engine_record.h"
#include "engine/frame_host.h"
#include "engine/framebuffer.h"
#include "engine/show.h"
#include "platform/posix/alsa_sound.h"
#include "settings/settings_record.h"
#include "settings/store.h"
#include "startup/run_state.h"
#include "display/buffer_damage.h"
#include "display/frame_stats.h"

struct libdecor;
struct libdecor_frame;
struct libdecor_configuration;
struct xdg_surface;
struct xdg_toplevel;
struct zxdg_toplevel_decoration_v1;
struct zwlr_layer_surface_v1;
struct wp_viewport;
struct wp_fractional_scale_v1;

namespace glintora::wayland {

class WaylandDisplay;

// Overlay, Bottom, Background: layer-shell layers; SaverWindow: a full-screen toplevel.
enum class SurfaceRole { Window, FullScreen, Overlay, Bottom, Background, SaverWindow };

struct SurfaceSetup {
  SurfaceRole Role = SurfaceRole::Window;
  wl_output* Output = nullptr;  // the output covered (not for a window)
  std::string Label;            // for -verbose: the output's name, or "window"
  std::uint64_t Seed = 0;
  bool Sound = false;           // this surface's show plays the sound effects
  bool Verbose = false;
  bool Fps = false;
};

class ShowSurface : public FrameHost {
 public:
  ShowSurface(WaylandDisplay& display, libdecor* decor, Store& store, RunState& run,
              const SurfaceSetup& setup);
  ~ShowSurface() override;
  ShowSurface(const ShowSurface&) = delete;
  ShowSurface& operator=(const ShowSurface&) = delete;

  wl_surface* Surface() const { return surface_; }
  wl_output* Output() const { return setup_.Output; }
  // The compositor closed the surface (the window's close button, a layer surface's output).
  bool Closed() const { return closed_; }
  // It closed itself because it could not get even one buffer.
  bool Failed() const { return failed_; }
  // It has committed a frame.
  bool EverShown() const { return everShown_; }
  // Milliseconds until the next frame is due: 0 now, -1 when waiting for the compositor.
  std::int32_t MsUntilDue(std::uint32_t now) const;
  // Draws and commits one frame (or the new show's first after a resize).
  void Step();
  // The program waited usIdle microseconds for the compositor (the -fps busy share).
  void AddIdle(std::uint64_t usIdle) { stats_.AddIdle(usIdle); }
  // The output it is on changed scale (windows: the outputs entered).
  void OutputScaleChanged() { RefreshWindowScale(); }
  bool PlaysSound() const { return setup_.Sound; }
  // Its show plays the sound from now on (the surface that played it went).
  void GiveSound();

  // FrameHost
  std::uint32_t TickCount() override;
  void ProcessPendingEvents() override {}
  void WaitForEvent(std::uint32_t) override {}
  bool PreviewHostIsWindow() override { return true; }
  void Present(const Framebuffer& surface) override;
  bool SurfaceIsWindow() override { return true; }
  void ShowMessage(const MessageStyle& message) override;

  // Called from the protocol listeners.
  void OnLayerConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height);
  void OnToplevelConfigure(std::int32_t width, std::int32_t height);
  void OnXdgConfigure(std::uint32_t serial);
  void OnDecorConfigure(libdecor_frame* frame, libdecor_configuration* configuration);
  void OnClose() { closed_ = true; }
  void OnFrameDone();
  void OnRelease(wl_buffer* buffer);
  void OnEnter(wl_output* output);
  void OnLeave(wl_output* output);
  void OnPreferredScale(std::uint32_t scale120);

 private:
  struct Buffer {
    wl_buffer* Handle = nullptr;
    std::uint32_t* Pixels = nullptr;
    std::size_t Bytes = 0;
    bool Busy = false;
  };
  static constexpr int kMaxBuffers = 3;
  // A label over the show in a subsurface of its own, so the show's pixels stay the engine's.
  struct Overlay {
    wl_surface* Surface = nullptr;
    wl_subsurface* Sub = nullptr;
    Buffer Buffers[2];
  };

  void Resize(std::int32_t logicalWidth, std::int32_t logicalHeight);
  void StartSound();
  void StartShow();
  void Commit(Buffer& b);
  // The buffer the next frame is drawn into, up to date; null while every one is the compositor's.
  Buffer* DrawTarget();
  Buffer* NewBuffer(Buffer& slot, std::int32_t width, std::int32_t height,
                    std::uint32_t format = WL_SHM_FORMAT_XRGB8888);
  // A buffer of the overlay's that the compositor does not hold, of that size; null if none.
  Buffer* OverlayBuffer(Overlay& overlay, std::int32_t width, std::int32_t height,
                        std::uint32_t format);
  // Shows the buffer at (x, y) in logical pixels.
  void CommitOverlay(Overlay& overlay, Buffer& b, std::int32_t x, std::int32_t y);
  void DropOverlay(Overlay& overlay);
  void DrawFpsLabel();
  void DropBuffers();
  void RefreshWindowScale();

  WaylandDisplay& display_;
  libdecor* decor_;
  Store& store_;
  RunState& run_;
  SurfaceSetup setup_;

  wl_surface* surface_ = nullptr;
  xdg_surface* xdgSurface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  zxdg_toplevel_decoration_v1* decoration_ = nullptr;
  libdecor_frame* frame_ = nullptr;
  zwlr_layer_surface_v1* layer_ = nullptr;
  wl_callback* frameCallback_ = nullptr;
  wp_viewport* viewport_ = nullptr;
  wp_fractional_scale_v1* fractional_ = nullptr;

  bool configured_ = false;
  bool closed_ = false;
  bool failed_ = false;
  bool everShown_ = false;
  bool fullScreenAsked_ = false;  // libdecor: in the first configure
  std::int32_t logicalWidth_ = 0, logicalHeight_ = 0;
  std::int32_t scale_ = 1;          // the buffer scale (1 through a viewport)
  std::int32_t outputScale_ = 1;    // whole, from the outputs
  std::uint32_t scale120_ = 0;      // fractional, as the compositor prefers it; 0 until told
  std::int32_t pendingWidth_ = 0, pendingHeight_ = 0;  // the toplevel's last configure
  std::vector<wl_output*> entered_;

  Framebuffer framebuffer_;  // its Pixels: the current buffer's
  BufferDamage damage_;  // set 0: since the last commit; set 1 + i: buffer i
  Buffer buffers_[kMaxBuffers];
  Buffer* current_ = nullptr;  // holds the latest frame

  SettingsRecord settings_;
  std::unique_ptr<EngineRecord> engine_;
  std::unique_ptr<ShowSession> show_;
  std::unique_ptr<LiveSound> live_;
  posix::AlsaSound sound_;
  FrameStats stats_;
  Overlay fps_;  // -fps: the figures at the bottom left
  std::uint64_t lastFpsUs_ = 0;
  Overlay message_;  // the show's message, centred at the top
};

}  // namespace glintora::wayland
