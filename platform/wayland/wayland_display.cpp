#include "platform/wayland/wayland_display.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ext-idle-notify-v1-client.h"
#include "fractional-scale-v1-client.h"
#include "idle-client.h"
#include "platform/wayland/layer_shell.h"
#include "platform/wayland/wayland_surface.h"
#include "viewporter-client.h"
#include "xdg-decoration-unstable-v1-client.h"
#include "xdg-shell-client.h"

namespace glintora::wayland {

namespace {

WaylandDisplay& Self(void* data) { return *static_cast<WaylandDisplay*>(data); }

const wl_registry_listener kRegistry = {
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
       std::uint32_t version) { Self(data).OnGlobal(registry, name, interface, version); },
    [](void* data, wl_registry*, std::uint32_t name) { Self(data).OnGlobalRemove(name); },
};

const xdg_wm_base_listener kWmBase = {
    [](void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

// wl_output's events, each a tiny forwarder to the output's record.
OutputRecord& Record(void* data) { return *static_cast<OutputRecord*>(data); }
void OutputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, const char*, const char*, std::int32_t) {}
void OutputMode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
void OutputDone(void* data, wl_output*) { Record(data).Display->OnOutputDone(Record(data)); }
void OutputScale(void* data, wl_output*, std::int32_t scale) { Record(data).Entry.SetScale(scale); }
void OutputName(void* data, wl_output*, const char* name) { Record(data).Entry.Name = name ? name : ""; }
void OutputDescription(void*, wl_output*, const char*) {}
const wl_output_listener kOutput = {OutputGeometry, OutputMode, OutputDone, OutputScale,
                                    OutputName, OutputDescription};

const wl_seat_listener kSeat = {
    [](void* data, wl_seat*, std::uint32_t caps) { Self(data).OnCapabilities(caps); },
    [](void*, wl_seat*, const char*) {},
};

void PointerEnter(void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* surface,
                  wl_fixed_t, wl_fixed_t) {
  if (DisplayListener* l = Self(data).Listener()) l->OnPointerEnter(pointer, serial, surface);
}
void PointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*) {}
void PointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t, wl_fixed_t) {
  if (DisplayListener* l = Self(data).Listener()) l->OnPointerMotion();
}
void PointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t,
                   std::uint32_t state) {
  if (state != WL_POINTER_BUTTON_STATE_PRESSED) return;
  if (DisplayListener* l = Self(data).Listener()) l->OnButton();
}
void PointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void PointerFrame(void*, wl_pointer*) {}
void PointerAxisSource(void*, wl_pointer*, std::uint32_t) {}
void PointerAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void PointerAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
// Bound at seat version 5 at most: the later events never come.
const wl_pointer_listener kPointer = {PointerEnter, PointerLeave, PointerMotion,
                                      PointerButton, PointerAxis, PointerFrame,
                                      PointerAxisSource, PointerAxisStop, PointerAxisDiscrete,
                                      nullptr};

void KeyboardKeymap(void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
  Self(data).OnKeymap(format, fd, size);
}
// Keys already down when a surface gains the keyboard were pressed for something else.
void KeyboardEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void KeyboardLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void KeyboardKey(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
                 std::uint32_t state) {
  Self(data).OnKeyEvent(key, state);
}
void KeyboardModifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed,
                       std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
  Self(data).OnModifiers(depressed, latched, locked, group);
}
void KeyboardRepeat(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener kKeyboard = {KeyboardKeymap, KeyboardEnter,     KeyboardLeave,
                                        KeyboardKey,    KeyboardModifiers, KeyboardRepeat};

}  // namespace

OutputRecord::~OutputRecord() {
  Surface.reset();  // it still names the output
  // Release (version 3) frees the compositor's side too; destroy alone leaves it behind.
  if (Version >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(Output);
  else wl_output_destroy(Output);
}

WaylandDisplay::~WaylandDisplay() {
  if (keyState_) xkb_state_unref(keyState_);
  if (keymap_) xkb_keymap_unref(keymap_);
  if (xkb_) xkb_context_unref(xkb_);
  if (!display_) return;
  OnCapabilities(0);
  outputs_.clear();
  if (seat_) {
    if (seatVersion_ >= WL_SEAT_RELEASE_SINCE_VERSION) wl_seat_release(seat_);
    else wl_seat_destroy(seat_);
  }
  if (fractional_) wp_fractional_scale_manager_v1_destroy(fractional_);
  if (viewporter_) wp_viewporter_destroy(viewporter_);
  if (kdeIdle_) org_kde_kwin_idle_destroy(kdeIdle_);
  if (idleNotifier_) ext_idle_notifier_v1_destroy(idleNotifier_);
  if (layerShell_) {
    // Its destroy request came with version 3.
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(layerShell_)) >= 3) zwlr_layer_shell_v1_destroy(layerShell_);
    else wl_proxy_destroy(reinterpret_cast<wl_proxy*>(layerShell_));
  }
  if (decorations_) zxdg_decoration_manager_v1_destroy(decorations_);
  if (wmBase_) xdg_wm_base_destroy(wmBase_);
  if (shm_) wl_shm_destroy(shm_);
  if (subcompositor_) wl_subcompositor_destroy(subcompositor_);
  if (compositor_) wl_compositor_destroy(compositor_);
  if (registry_) wl_registry_destroy(registry_);
  wl_display_flush(display_);
  wl_display_disconnect(display_);
}

bool WaylandDisplay::Connect(bool verbose, std::string& error) {
  verbose_ = verbose;
  display_ = wl_display_connect(nullptr);
  if (!display_) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    error = std::string("cannot connect to the Wayland display '") + (name ? name : "") + "'";
    return false;
  }
  xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &kRegistry, this);
  // Globals, then their first events (the outputs' descriptions, the seat's capabilities).
  if (wl_display_roundtrip(display_) < 0 || wl_display_roundtrip(display_) < 0) {
    error = "the Wayland connection failed while learning the globals";
    return false;
  }
  if (!compositor_ || !shm_ || !wmBase_) {
    error = "the Wayland compositor lacks wl_compositor 4, wl_shm or xdg_wm_base";
    return false;
  }
  return true;
}

void WaylandDisplay::OnGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                              std::uint32_t version) {
  auto bind = [&](const wl_interface* iface, std::uint32_t most) {
    const std::uint32_t v = std::min(version, most);
    if (verbose_) std::fprintf(stderr, "glintora: bound %s version %u\n", iface->name, v);
    return wl_registry_bind(registry, name, iface, v);
  };
  const std::string_view i(interface);
  if (i == wl_compositor_interface.name && version >= 4) {
    compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
  } else if (i == wl_subcompositor_interface.name) {
    subcompositor_ = static_cast<wl_subcompositor*>(bind(&wl_subcompositor_interface, 1));
  } else if (i == wl_shm_interface.name) {
    shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
  } else if (i == wl_seat_interface.name && !seat_) {
    seatVersion_ = std::min(version, 5u);
    seat_ = static_cast<wl_seat*>(bind(&wl_seat_interface, 5));
    wl_seat_add_listener(seat_, &kSeat, this);
  } else if (i == xdg_wm_base_interface.name) {
    wmBase_ = static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface, 2));
    xdg_wm_base_add_listener(wmBase_, &kWmBase, this);
  } else if (i == zxdg_decoration_manager_v1_interface.name) {
    decorations_ = static_cast<zxdg_decoration_manager_v1*>(bind(&zxdg_decoration_manager_v1_interface, 1));
  } else if (i == zwlr_layer_shell_v1_interface.name) {
    layerShell_ = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 4));
  } else if (i == ext_idle_notifier_v1_interface.name) {
    idleNotifier_ = static_cast<ext_idle_notifier_v1*>(bind(&ext_idle_notifier_v1_interface, 1));
  } else if (i == org_kde_kwin_idle_interface.name) {
    kdeIdle_ = static_cast<org_kde_kwin_idle*>(bind(&org_kde_kwin_idle_interface, 1));
  } else if (i == wp_viewporter_interface.name) {
    viewporter_ = static_cast<wp_viewporter*>(bind(&wp_viewporter_interface, 1));
  } else if (i == wp_fractional_scale_manager_v1_interface.name) {
    fractional_ = static_cast<wp_fractional_scale_manager_v1*>(bind(&wp_fractional_scale_manager_v1_interface, 1));
  } else if (i == "org_kde_plasma_shell") {
    plasmaShell_ = true;  // only its presence matters
  } else if (i == wl_output_interface.name && version >= 2) {
    auto record = std::make_unique<OutputRecord>();
    record->Display = this;
    record->Name = name;
    record->Output = static_cast<wl_output*>(bind(&wl_output_interface, 4));
    record->Version = std::min(version, 4u);
    wl_output_add_listener(record->Output, &kOutput, record.get());
    outputs_.push_back(std::move(record));
  }
}

void WaylandDisplay::OnGlobalRemove(std::uint32_t name) {
  const auto it = std::find_if(outputs_.begin(), outputs_.end(),
                               [name](const auto& o) { return o->Name == name; });
  if (it == outputs_.end()) return;
  if (listener_) listener_->OnOutputGone(**it);
  outputs_.erase(it);
}

void WaylandDisplay::OnOutputDone(OutputRecord& output) {
  const OutputChange change = output.Entry.Done(covering_);
  if (listener_) listener_->OnOutputDone(output, change);
}

std::int32_t WaylandDisplay::ScaleOf(wl_output* output) const {
  for (const auto& o : outputs_)
    if (o->Output == output) return o->Entry.Scale;
  return 1;
}

void WaylandDisplay::OnCapabilities(std::uint32_t caps) {
  // The seat repeats its capabilities on every device change: one pointer, one keyboard.
  const bool pointer = seat_ && (caps & WL_SEAT_CAPABILITY_POINTER);
  const bool keyboard = seat_ && (caps & WL_SEAT_CAPABILITY_KEYBOARD);
  if (pointer && !pointer_) {
    pointer_ = wl_seat_get_pointer(seat_);
    wl_pointer_add_listener(pointer_, &kPointer, this);
  } else if (!pointer && pointer_) {
    if (seatVersion_ >= 3) wl_pointer_release(pointer_); else wl_pointer_destroy(pointer_);
    pointer_ = nullptr;
  }
  if (keyboard && !keyboard_) {
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &kKeyboard, this);
  } else if (!keyboard && keyboard_) {
    if (seatVersion_ >= 3) wl_keyboard_release(keyboard_); else wl_keyboard_destroy(keyboard_);
    keyboard_ = nullptr;
  }
}

std::string ReadKeymap(int fd, std::uint32_t announced) {
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_size <= 0) return {};
  const std::size_t size = std::min<std::size_t>(announced, static_cast<std::size_t>(st.st_size));
  void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (map == MAP_FAILED) return {};
  const char* text = static_cast<const char*>(map);
  std::string keymap(text, strnlen(text, size));
  munmap(map, size);
  return keymap;
}

void WaylandDisplay::OnKeymap(std::uint32_t format, int fd, std::uint32_t size) {
  const std::string text =
      format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && xkb_ ? ReadKeymap(fd, size) : std::string();
  close(fd);
  if (text.empty()) return;
  xkb_keymap* keymap = xkb_keymap_new_from_buffer(xkb_, text.data(), text.size(),
                                                  XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!keymap) return;
  if (keyState_) xkb_state_unref(keyState_);
  if (keymap_) xkb_keymap_unref(keymap_);
  keymap_ = keymap;
  keyState_ = xkb_state_new(keymap_);
}

void WaylandDisplay::OnKeyEvent(std::uint32_t key, std::uint32_t state) {
  if (state != WL_KEYBOARD_KEY_STATE_PRESSED || !listener_) return;
  // Evdev codes are 8 below XKB's; without a keymap any key is still a key.
  const xkb_keysym_t sym = keyState_ ? xkb_state_key_get_one_sym(keyState_, key + 8) : XKB_KEY_NoSymbol;
  listener_->OnKey(sym);
}

void WaylandDisplay::OnModifiers(std::uint32_t depressed, std::uint32_t latched,
                                 std::uint32_t locked, std::uint32_t group) {
  if (keyState_) xkb_state_update_mask(keyState_, depressed, latched, locked, 0, 0, group);
}

}  // namespace glintora::wayland
