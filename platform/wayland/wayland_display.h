// The Wayland connection: the globals the show uses, one record per output and the seat. Keys
// arrive as keysyms through xkbcommon from the keymap the compositor sends; the seat's pointer
// and keyboard follow its capabilities (each made once, released when the capability goes).
// What happens on input and on output changes is the program's: it listens through
// DisplayListener.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "display/output_set.h"

struct xdg_wm_base;
struct zxdg_decoration_manager_v1;
struct zwlr_layer_shell_v1;
struct ext_idle_notifier_v1;
struct org_kde_kwin_idle;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;

namespace glintora::wayland {

class ShowSurface;
class WaylandDisplay;

// Everything about one output: its global, its proxy (the listener's data is this record), its
// bookkeeping and the surface covering it, made, rescaled, closed and unplugged here alone.
struct OutputRecord {
  WaylandDisplay* Display = nullptr;
  std::uint32_t Name = 0;  // the global's name
  wl_output* Output = nullptr;
  std::uint32_t Version = 0;
  OutputEntry Entry;
  std::unique_ptr<ShowSurface> Surface;
  ~OutputRecord();
};

class DisplayListener {
 public:
  virtual ~DisplayListener() = default;
  virtual void OnKey(xkb_keysym_t sym) = 0;
  virtual void OnButton() = 0;
  virtual void OnPointerMotion() = 0;
  // The pointer entered one of our surfaces (serial for wl_pointer.set_cursor).
  virtual void OnPointerEnter(wl_pointer* pointer, std::uint32_t serial, wl_surface* surface) = 0;
  // An output's description completed; change says what its surface needs.
  virtual void OnOutputDone(OutputRecord& output, OutputChange change) = 0;
  // An output is going: its surface must go first.
  virtual void OnOutputGone(OutputRecord& output) = 0;
};

// The keymap's text from the fd the compositor sent, read no further than the file holds (a
// size announced larger than the file would fault); empty when it cannot be read.
std::string ReadKeymap(int fd, std::uint32_t announced);

class WaylandDisplay {
 public:
  WaylandDisplay() = default;
  ~WaylandDisplay();
  WaylandDisplay(const WaylandDisplay&) = delete;
  WaylandDisplay& operator=(const WaylandDisplay&) = delete;

  // Connects to $WAYLAND_DISPLAY and learns the globals (verbose: lists those bound); false with
  // a message.
  bool Connect(bool verbose, std::string& error);
  void SetListener(DisplayListener* listener) { listener_ = listener; }
  // Whether the outputs get surfaces as they complete (a saver or wallpaper showing).
  void SetCovering(bool covering) { covering_ = covering; }

  wl_display* Display() const { return display_; }
  wl_compositor* Compositor() const { return compositor_; }
  wl_shm* Shm() const { return shm_; }
  wl_subcompositor* Subcompositor() const { return subcompositor_; }
  wl_seat* Seat() const { return seat_; }
  xdg_wm_base* WmBase() const { return wmBase_; }
  zxdg_decoration_manager_v1* Decorations() const { return decorations_; }
  zwlr_layer_shell_v1* LayerShell() const { return layerShell_; }
  ext_idle_notifier_v1* IdleNotifier() const { return idleNotifier_; }
  org_kde_kwin_idle* KdeIdle() const { return kdeIdle_; }
  wp_viewporter* Viewporter() const { return viewporter_; }
  wp_fractional_scale_manager_v1* FractionalScale() const { return fractional_; }
  bool PlasmaShell() const { return plasmaShell_; }

  const std::vector<std::unique_ptr<OutputRecord>>& Outputs() const { return outputs_; }
  // The integer scale of an output (1 for one not known).
  std::int32_t ScaleOf(wl_output* output) const;

  // Per-listener callbacks (static functions of the implementation) reach these.
  void OnGlobal(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version);
  void OnGlobalRemove(std::uint32_t name);
  void OnOutputDone(OutputRecord& output);
  void OnCapabilities(std::uint32_t caps);
  void OnKeymap(std::uint32_t format, int fd, std::uint32_t size);
  void OnKeyEvent(std::uint32_t key, std::uint32_t state);
  void OnModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group);
  DisplayListener* Listener() const { return listener_; }

 private:
  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  wl_shm* shm_ = nullptr;
  wl_subcompositor* subcompositor_ = nullptr;
  wl_seat* seat_ = nullptr;
  wl_pointer* pointer_ = nullptr;
  wl_keyboard* keyboard_ = nullptr;
  xdg_wm_base* wmBase_ = nullptr;
  zxdg_decoration_manager_v1* decorations_ = nullptr;
  zwlr_layer_shell_v1* layerShell_ = nullptr;
  ext_idle_notifier_v1* idleNotifier_ = nullptr;
  org_kde_kwin_idle* kdeIdle_ = nullptr;
  wp_viewporter* viewporter_ = nullptr;
  wp_fractional_scale_manager_v1* fractional_ = nullptr;
  bool plasmaShell_ = false;
  std::uint32_t seatVersion_ = 0;
  std::vector<std::unique_ptr<OutputRecord>> outputs_;
  DisplayListener* listener_ = nullptr;
  bool covering_ = false;
  bool verbose_ = false;

  xkb_context* xkb_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_state* keyState_ = nullptr;
};

}  // namespace glintora::wayland
