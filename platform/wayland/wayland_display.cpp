#include "platform/wayland/wayland_display.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ext-idle-notify-v1-client.h"
#include "idle-client.h"
#include "platform/wayland/layer_shell.h"
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

// wl_output's events, each a tiny forwarder to the output set.
void OutputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, const char*, const char*, std::int32_t) {}
void OutputMode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
void OutputDone(void* data, wl_output* output) {
  WaylandDisplay& d = Self(data);
  const std::uint32_t id = d.IdOf(output);
  const OutputChange change = d.Outputs().Done(id, d.Covering());
  if (d.Listener()) d.Listener()->OnOutputDone(id, change);
}
void OutputScale(void* data, wl_output* output, std::int32_t scale) {
  WaylandDisplay& d = Self(data);
  d.Outputs().SetScale(d.IdOf(output), scale);
}
void OutputName(void* data, wl_output* output, const char* name) {
  WaylandDisplay& d = Self(data);
  d.Outputs().SetName(d.IdOf(output), name ? name : "");
}
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

WaylandDisplay::~WaylandDisplay() {
  if (keyState_) xkb_state_unref(keyState_);
  if (keymap_) xkb_keymap_unref(keymap_);
  if (xkb_) xkb_context_unref(xkb_);
  if (!display_) return;
  OnCapabilities(0);
  for (const Output& o : outputList_) wl_output_destroy(o.output);
  if (seat_) wl_seat_destroy(seat_);
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

bool WaylandDisplay::Connect(std::string& error) {
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
  wl_display_roundtrip(display_);
  wl_display_roundtrip(display_);
  if (!compositor_ || !shm_ || !wmBase_) {
    error = "the Wayland compositor lacks wl_compositor 4, wl_shm or xdg_wm_base";
    return false;
  }
  return true;
}

void WaylandDisplay::OnGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                              std::uint32_t version) {
  auto bind = [&](const wl_interface* iface, std::uint32_t most) {
    return wl_registry_bind(registry, name, iface, std::min(version, most));
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
  } else if (i == wl_output_interface.name && version >= 2) {
    auto* output = static_cast<wl_output*>(bind(&wl_output_interface, 4));
    outputList_.push_back({name, output});
    outputs_.Add(name);
    wl_output_add_listener(output, &kOutput, this);
  }
}

void WaylandDisplay::OnGlobalRemove(std::uint32_t name) {
  const auto it = std::find_if(outputList_.begin(), outputList_.end(),
                               [name](const Output& o) { return o.id == name; });
  if (it == outputList_.end()) return;
  const bool had = outputs_.Remove(name);
  // The surface goes first: it still names the output.
  if (listener_) listener_->OnOutputGone(name, had);
  wl_output_destroy(it->output);
  outputList_.erase(it);
}

wl_output* WaylandDisplay::OutputById(std::uint32_t id) const {
  for (const Output& o : outputList_)
    if (o.id == id) return o.output;
  return nullptr;
}

std::uint32_t WaylandDisplay::IdOf(wl_output* output) const {
  for (const Output& o : outputList_)
    if (o.output == output) return o.id;
  return 0;
}

std::int32_t WaylandDisplay::ScaleOf(wl_output* output) const {
  const OutputEntry* e = outputs_.Find(IdOf(output));
  return e ? e->Scale : 1;
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

void WaylandDisplay::OnKeymap(std::uint32_t format, int fd, std::uint32_t size) {
  if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !xkb_) {
    close(fd);
    return;
  }
  void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (map == MAP_FAILED) return;
  xkb_keymap* keymap = xkb_keymap_new_from_buffer(xkb_, static_cast<const char*>(map),
                                                  strnlen(static_cast<const char*>(map), size),
                                                  XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
  munmap(map, size);
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
