// The headless Wayland rig's own client. Subcommands:
//   input            holds a virtual pointer (sway passes on the pointer events its seat commands
//                    make only while some pointer device exists), or KWin's fake input, reading
//                    "key EVDEV-CODE" lines; answers "ok" once the compositor has taken each
//   window [-fullscreen] [-frames]
//                    a plain dark toplevel; prints 1 once shown; with -frames it redraws every
//                    frame and prints the frames shown
//   stats FILE.ppm [X Y]   "WIDTH HEIGHT LIT HUES SINGLES [RRGGBB]" of a screenshot
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct wl_seat* seat;
static struct xdg_wm_base* wm_base;
static struct zwlr_virtual_pointer_manager_v1* pointer_manager;
static struct org_kde_kwin_fake_input* fake_input;

static void on_global(void* data, struct wl_registry* registry, uint32_t name, const char* iface,
                      uint32_t version) {
  const struct { const struct wl_interface* interface; void** slot; uint32_t version; } wanted[] = {
      {&wl_compositor_interface, (void**)&compositor, 4},
      {&wl_shm_interface, (void**)&shm, 1},
      {&wl_seat_interface, (void**)&seat, 1},
      {&xdg_wm_base_interface, (void**)&wm_base, 1},
      {&zwlr_virtual_pointer_manager_v1_interface, (void**)&pointer_manager, 1},
      {&org_kde_kwin_fake_input_interface, (void**)&fake_input, 4}};
  (void)data, (void)version;
  for (size_t i = 0; i < sizeof wanted / sizeof wanted[0]; i++)
    if (!strcmp(iface, wanted[i].interface->name) && !*wanted[i].slot)
      *wanted[i].slot = wl_registry_bind(registry, name, wanted[i].interface, wanted[i].version);
}
static void on_global_remove(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data, (void)registry, (void)name;
}
static const struct wl_registry_listener registry_listener = {.global = on_global,
                                                             .global_remove = on_global_remove};

static int fail(const char* what) {
  fprintf(stderr, "rig_client: %s\n", what);
  return 1;
}

static int run_input(struct wl_display* display) {
  if (pointer_manager)
    zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointer_manager, seat);
  else if (fake_input)
    org_kde_kwin_fake_input_authenticate(fake_input, "glintora rig", "test input");
  else
    return fail("no zwlr_virtual_pointer_manager_v1 or org_kde_kwin_fake_input");
  char line[128] = "";
  for (const char* answer = "ready"; answer; answer = fgets(line, sizeof line, stdin) ? "ok" : 0) {
    unsigned key;
    if (!pointer_manager && sscanf(line, "key %u", &key) == 1) {
      org_kde_kwin_fake_input_keyboard_key(fake_input, key, WL_KEYBOARD_KEY_STATE_PRESSED);
      org_kde_kwin_fake_input_keyboard_key(fake_input, key, WL_KEYBOARD_KEY_STATE_RELEASED);
    } else if (line[0]) {
      return fail("input commands: key CODE (fake input)");
    }
    if (wl_display_roundtrip(display) < 0) return fail("the compositor went away");
    printf("%s\n", answer);
    fflush(stdout);
  }
  return 0;
}

struct window {
  struct wl_surface* surface;
  struct wl_buffer* buffer;
  int width, height, wanted_width, wanted_height, frames, animate;
};

static void on_ping(void* data, struct xdg_wm_base* base, uint32_t serial) {
  (void)data;
  xdg_wm_base_pong(base, serial);
}
static const struct xdg_wm_base_listener wm_base_listener = {.ping = on_ping};

static void on_toplevel_configure(void* data, struct xdg_toplevel* toplevel, int32_t width,
                                  int32_t height, struct wl_array* states) {
  struct window* w = data;
  (void)toplevel, (void)states;
  w->wanted_width = width > 0 ? width : 320;
  w->wanted_height = height > 0 ? height : 240;
}
static void on_toplevel_close(void* data, struct xdg_toplevel* toplevel) {
  (void)data, (void)toplevel;
  exit(0);
}
static const struct xdg_toplevel_listener toplevel_listener = {.configure = on_toplevel_configure,
                                                               .close = on_toplevel_close};

static void draw(struct window* w);
static void on_frame_done(void* data, struct wl_callback* callback, uint32_t time) {
  struct window* w = data;
  (void)time;
  wl_callback_destroy(callback);
  printf("%d\n", ++w->frames);
  fflush(stdout);
  if (w->animate) draw(w);
}
static const struct wl_callback_listener frame_listener = {.done = on_frame_done};

// Fills a buffer of the wanted size with 0x203040 (its brightest channel under "lit") and shows it.
static void draw(struct window* w) {
  if (!w->buffer || w->width != w->wanted_width || w->height != w->wanted_height) {
    if (w->buffer) wl_buffer_destroy(w->buffer);
    w->width = w->wanted_width, w->height = w->wanted_height;
    int stride = w->width * 4, size = stride * w->height, fd = memfd_create("rig", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) < 0) exit(fail("no shared memory"));
    uint32_t* pixels = mmap(0, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    for (int i = 0; i < w->width * w->height; i++) pixels[i] = 0xff203040;
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    w->buffer = wl_shm_pool_create_buffer(pool, 0, w->width, w->height, stride,
                                          WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
  }
  wl_surface_attach(w->surface, w->buffer, 0, 0);
  wl_surface_damage_buffer(w->surface, 0, 0, w->width, w->height);
  wl_callback_add_listener(wl_surface_frame(w->surface), &frame_listener, w);
  wl_surface_commit(w->surface);
}

static void on_surface_configure(void* data, struct xdg_surface* surface, uint32_t serial) {
  struct window* w = data;
  xdg_surface_ack_configure(surface, serial);
  if (!w->buffer || w->width != w->wanted_width || w->height != w->wanted_height) draw(w);
}
static const struct xdg_surface_listener surface_listener = {.configure = on_surface_configure};

static int run_window(struct wl_display* display, int argc, char** argv) {
  struct window w = {0};
  int fullscreen = 0;
  for (int i = 2; i < argc; i++) {
    fullscreen |= !strcmp(argv[i], "-fullscreen");
    w.animate |= !strcmp(argv[i], "-frames");
  }
  if (!compositor || !shm || !wm_base) return fail("no wl_compositor, wl_shm or xdg_wm_base");
  xdg_wm_base_add_listener(wm_base, &wm_base_listener, 0);
  w.surface = wl_compositor_create_surface(compositor);
  struct xdg_surface* surface = xdg_wm_base_get_xdg_surface(wm_base, w.surface);
  xdg_surface_add_listener(surface, &surface_listener, &w);
  struct xdg_toplevel* toplevel = xdg_surface_get_toplevel(surface);
  xdg_toplevel_add_listener(toplevel, &toplevel_listener, &w);
  xdg_toplevel_set_app_id(toplevel, "glintora-rig");
  if (fullscreen) xdg_toplevel_set_fullscreen(toplevel, 0);
  wl_surface_commit(w.surface);
  while (wl_display_dispatch(display) >= 0) {
  }
  return 0;
}

static int bright(const unsigned char* p) {
  int m = p[0] > p[1] ? p[0] : p[1];
  return m > p[2] ? m : p[2];
}

// Lit: brightest channel at least 96 (a bare sway desktop is 63). Hues: 30-degree sectors
// holding at least 0.2% of the lit, saturated pixels. Singles: lit pixels whose four neighbours
// are all under half as bright, which an image scaled up from a smaller one cannot have.
static int run_stats(int argc, char** argv) {
  FILE* f = fopen(argv[2], "rb");
  int width, height, maxval;
  if (!f || fscanf(f, "P6 %d %d %d", &width, &height, &maxval) != 3 || maxval != 255 ||
      fgetc(f) == EOF)
    return fail("not a P6 PPM file");
  size_t count = (size_t)width * height, row = (size_t)width * 3;
  unsigned char* rgb = malloc(count * 3);
  if (fread(rgb, 3, count, f) != count) return fail("short PPM file");
  long lit = 0, singles = 0, saturated = 0, sectors[12] = {0};
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) {
      const unsigned char* p = rgb + y * row + x * 3;
      int hi = bright(p), lo = p[0] < p[1] ? p[0] : p[1];
      lo = lo < p[2] ? lo : p[2];
      if (hi < 96) continue;
      lit++;
      singles += x > 0 && y > 0 && x < width - 1 && y < height - 1 && bright(p - 3) * 2 < hi &&
                 bright(p + 3) * 2 < hi && bright(p - row) * 2 < hi && bright(p + row) * 2 < hi;
      if ((hi - lo) * 10 < hi * 3) continue;
      double d = hi - lo, h = hi == p[0]   ? (p[1] - p[2]) / d
                              : hi == p[1] ? 2 + (p[2] - p[0]) / d
                                           : 4 + (p[0] - p[1]) / d;
      sectors[(int)((h < 0 ? h + 6 : h) * 2) % 12]++;
      saturated++;
    }
  int hues = 0;
  for (int i = 0; i < 12; i++) hues += sectors[i] > 0 && sectors[i] * 500 >= saturated;
  printf("%d %d %ld %d %ld", width, height, lit, hues, singles);
  if (argc >= 5) {
    int x = atoi(argv[3]), y = atoi(argv[4]);
    if (x < 0 || y < 0 || x >= width || y >= height) return fail("the pixel is outside");
    const unsigned char* p = rgb + y * row + x * 3;
    printf(" %02x%02x%02x", p[0], p[1], p[2]);
  }
  printf("\n");
  return 0;
}

int main(int argc, char** argv) {
  if (argc >= 3 && !strcmp(argv[1], "stats")) return run_stats(argc, argv);
  struct wl_display* display = wl_display_connect(0);
  if (!display) return fail("cannot connect to the Wayland display");
  wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, 0);
  wl_display_roundtrip(display);
  if (argc >= 2 && !strcmp(argv[1], "input")) return run_input(display);
  if (argc >= 2 && !strcmp(argv[1], "window")) return run_window(display, argc, argv);
  return fail("usage: rig_client input | window [-fullscreen] [-frames] | stats ...");
}
