// Sections: the program (modes, input, outputs, idle); the loop; RunProgram.
#include "platform/wayland/wayland_program.h"

#include <libdecor.h>
#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "ext-idle-notify-v1-client.h"
#include "idle-client.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_surface.h"
#include "platform/posix/battery_watch.h"
#include "platform/posix/clocks.h"
#include "platform/posix/mutter_idle_watch.h"
#include "platform/posix/stop_signals.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "display/idle_cycle.h"
#include "display/saver_input.h"

namespace glintora::wayland {

namespace {

const char* ModeName(ShowTarget t) {
  switch (t) {
    case ShowTarget::Saver: return "-saver";
    case ShowTarget::Wallpaper: return "-wallpaper";
    case ShowTarget::Idle: return "-idle";
    default: return "this mode";
  }
}

// ---- the program ----------------------------------------------------------------------------

class Program : public DisplayListener {
 public:
  Program(const ShowOptions& options, Store& store) : options_(options), store_(store) {}
  ~Program() override;

  int Run();

  void OnKey(xkb_keysym_t sym) override;
  void OnButton() override;
  void OnPointerMotion() override;
  void OnPointerEnter(wl_pointer* pointer, std::uint32_t serial, wl_surface* surface) override;
  void OnOutputDone(std::uint32_t id, OutputChange change) override;
  void OnOutputGone(std::uint32_t id, bool hadSurface) override;

  void OnIdled();

 private:
  struct Shown {
    std::uint32_t output;  // 0 for a window
    std::unique_ptr<ShowSurface> surface;
  };

  bool CheckProtocols();
  // Picks the idle reports' source; false when there is none.
  bool ChooseIdle();
  void AddSurface(std::uint32_t output, SurfaceRole role);
  void StartCovering();
  void StopCovering();
  // The saver's input rule ended it: the program ends, or the idle watcher waits again.
  void EndSaver();
  bool SaverInputLive() const { return saverInput_ != nullptr; }
  void Loop();
  int Dispatch(int timeoutMs);

  const ShowOptions& options_;
  Store& store_;
  RunState run_;
  WaylandDisplay display_;
  libdecor* decor_ = nullptr;
  std::vector<Shown> shown_;
  std::unique_ptr<SaverInput> saverInput_;
  bool ignoreMoves_ = false;
  SurfaceRole layerRole_ = SurfaceRole::Overlay;
  std::uint64_t seed_ = 0;
  std::uint64_t made_ = 0;
  bool soundGiven_ = false;
  bool anyShown_ = false;     // some surface has shown a frame
  bool failed_ = false;       // some surface could not get a buffer
  IdleCycle cycle_;
  ext_idle_notification_v1* idleNotification_ = nullptr;
  org_kde_kwin_idle_timeout* kdeTimeout_ = nullptr;
  IdleSource idleSource_ = IdleSource::None;
  std::unique_ptr<posix::MutterIdleWatch> mutterIdle_;
  std::unique_ptr<posix::BatteryWatch> battery_;  // -wallpaper: paused on battery
  bool paused_ = false;
  std::vector<posix::LoopSource*> sources_;  // polled beside the compositor
};

const ext_idle_notification_v1_listener kIdleNotification = {
    [](void* data, ext_idle_notification_v1*) { static_cast<Program*>(data)->OnIdled(); },
    [](void*, ext_idle_notification_v1*) {},  // activity: the saver's own input rule ends it
};

const org_kde_kwin_idle_timeout_listener kKdeTimeout = {
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<Program*>(data)->OnIdled(); },
    [](void*, org_kde_kwin_idle_timeout*) {},
};

libdecor_interface kDecor = {
    [](libdecor*, libdecor_error, const char* message) {
      std::fprintf(stderr, "glintora: window decorations: %s\n", message);
    },
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

Program::~Program() {
  shown_.clear();
  if (idleNotification_) ext_idle_notification_v1_destroy(idleNotification_);
  if (kdeTimeout_) org_kde_kwin_idle_timeout_release(kdeTimeout_);
  if (decor_) libdecor_unref(decor_);
}

bool Program::CheckProtocols() {
  const ShowTarget t = options_.target;
  if (t != ShowTarget::Saver && t != ShowTarget::Wallpaper && t != ShowTarget::Idle) return true;
  const char* missing = nullptr;
  if (!display_.LayerShell()) {
    missing = "no layer shell (zwlr_layer_shell_v1)";
  } else if (t == ShowTarget::Idle && !ChooseIdle()) {
    missing = "no idle notification (ext_idle_notifier_v1 or org_kde_kwin_idle) for a seat";
  }
  if (!missing) return true;
  std::fprintf(stderr, "glintora: this compositor offers %s, which %s needs; -fullscreen works here\n",
               missing, ModeName(t));
  return false;
}

bool Program::ChooseIdle() {
  IdleOffers offers;
  offers.seat = display_.Seat() != nullptr;
  offers.extIdleNotify = display_.IdleNotifier() != nullptr;
  offers.kdeIdle = display_.KdeIdle() != nullptr;
  // The session bus only where the compositor has no idle protocol of its own.
  sd_bus* bus = nullptr;
  if (ChooseIdleSource(offers) == IdleSource::None) bus = posix::MutterIdleWatch::OpenSessionBusWithMonitor();
  offers.mutterIdleMonitor = bus != nullptr;
  idleSource_ = ChooseIdleSource(offers);
  if (idleSource_ == IdleSource::MutterIdleMonitor) {
    cycle_ = IdleCycle(true);
    mutterIdle_ = std::make_unique<posix::MutterIdleWatch>(bus, options_.idleSeconds * 1000u, cycle_,
                                                           [this] { StartCovering(); });
  }
  return idleSource_ != IdleSource::None;
}

void Program::AddSurface(std::uint32_t output, SurfaceRole role) {
  SurfaceSetup setup;
  setup.Role = role;
  setup.Seed = seed_ + made_++;
  setup.Sound = !soundGiven_;
  soundGiven_ = true;
  setup.Verbose = options_.verbose;
  setup.Fps = options_.fps;
  if (output) {
    setup.Output = display_.OutputById(output);
    const OutputEntry* e = display_.Outputs().Find(output);
    setup.Label = "output " + (e && !e->Name.empty() ? e->Name : std::to_string(output));
  } else {
    setup.Label = "window";
  }
  shown_.push_back({output, std::make_unique<ShowSurface>(display_, decor_, store_, run_, setup)});
}

void Program::StartCovering() {
  if (options_.verbose) std::fprintf(stderr, "glintora: %s starts\n", layerRole_ == SurfaceRole::Overlay ? "saver" : "wallpaper");
  if (layerRole_ == SurfaceRole::Overlay) saverInput_ = std::make_unique<SaverInput>(ignoreMoves_);
  display_.SetCovering(true);
  for (std::uint32_t id : display_.Outputs().MakeAll()) AddSurface(id, layerRole_);
}

void Program::StopCovering() {
  display_.SetCovering(false);
  display_.Outputs().DropAll();
  shown_.clear();
  saverInput_.reset();
  soundGiven_ = false;
  if (options_.verbose) std::fprintf(stderr, "glintora: saver ends\n");
}

void Program::EndSaver() {
  if (options_.target == ShowTarget::Idle) {
    StopCovering();
    cycle_.OnSaverEnded();
  } else {
    run_.StopRequested = true;
  }
}

void Program::OnIdled() {
  if (cycle_.OnIdled() == IdleCycle::Next::StartSaver) StartCovering();
}

// ---- input: Esc ends a window; a key, a click or a burst of moves ends a saver.

void Program::OnKey(xkb_keysym_t sym) {
  if (saverInput_) {
    if (saverInput_->OnKey()) EndSaver();
  } else if (options_.target == ShowTarget::OwnWindow && sym == XKB_KEY_Escape) {
    run_.StopRequested = true;
  }
}

void Program::OnButton() {
  if (saverInput_ && saverInput_->OnButton()) EndSaver();
}

void Program::OnPointerMotion() {
  if (saverInput_ && saverInput_->OnMouseMove(posix::SecondsOfDay())) EndSaver();
}

void Program::OnPointerEnter(wl_pointer* pointer, std::uint32_t serial, wl_surface* surface) {
  if (!saverInput_) return;
  for (const Shown& s : shown_)
    if (s.surface->Surface() == surface) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
}

// ---- outputs: a saver or wallpaper covers every output, a new one as soon as it is described.

void Program::OnOutputDone(std::uint32_t id, OutputChange change) {
  if (change == OutputChange::Make) {
    AddSurface(id, layerRole_);
  } else if (change == OutputChange::Remake) {
    for (Shown& s : shown_)
      if (s.output == id) s.surface->OutputScaleChanged();
  } else {
    // A window on this output follows its scale.
    for (Shown& s : shown_)
      if (s.output == 0) s.surface->OutputScaleChanged();
  }
}

void Program::OnOutputGone(std::uint32_t id, bool hadSurface) {
  if (!hadSurface) return;
  for (auto it = shown_.begin(); it != shown_.end(); ++it) {
    if (it->output == id) {
      shown_.erase(it);
      return;
    }
  }
}

// ---- the loop -------------------------------------------------------------------------------

// Waits up to timeoutMs (-1: no limit) for the compositor, then handles what it sent; -1 when
// the connection is lost.
int Program::Dispatch(int timeoutMs) {
  wl_display* d = display_.Display();
  if (decor_) return libdecor_dispatch(decor_, timeoutMs) < 0 && errno != EINTR ? -1 : 0;
  while (wl_display_prepare_read(d) != 0) wl_display_dispatch_pending(d);
  wl_display_flush(d);
  std::vector<pollfd> fds{{wl_display_get_fd(d), POLLIN, 0}};
  for (posix::LoopSource* s : sources_) fds.push_back(s->PollFd());
  if (poll(fds.data(), fds.size(), timeoutMs) > 0 && fds[0].revents) {
    if (wl_display_read_events(d) < 0) return -1;
  } else {
    wl_display_cancel_read(d);
  }
  return wl_display_dispatch_pending(d) < 0 ? -1 : 0;
}

void Program::Loop() {
  while (!run_.StopRequested && !posix::StopSignalled()) {
    // Each surface whose frame is due draws it; the wait lasts until the next one is due.
    int timeout = -1;
    const std::uint32_t now = static_cast<std::uint32_t>(posix::MonotonicMicros() / 1000u);
    for (Shown& s : shown_) {
      if (paused_) break;
      std::int32_t due = s.surface->MsUntilDue(now);
      if (due == 0) {
        s.surface->Step();
        due = s.surface->MsUntilDue(now);
      }
      anyShown_ = anyShown_ || s.surface->EverShown();
      if (due >= 0 && (timeout < 0 || due < timeout)) timeout = due;
    }
    for (posix::LoopSource* s : sources_) {
      const int due = s->TimeoutMs();
      if (due >= 0 && (timeout < 0 || due < timeout)) timeout = due;
    }
    // A signal landing just before the wait would otherwise wait for the compositor.
    if (timeout < 0 || timeout > 1000) timeout = 1000;
    const std::uint64_t waitStart = posix::MonotonicMicros();
    const int dispatched = Dispatch(timeout);
    if (options_.fps)
      for (Shown& s : shown_) s.surface->AddIdle(posix::MonotonicMicros() - waitStart);
    if (dispatched < 0 || wl_display_get_error(display_.Display())) {
      std::fprintf(stderr, "glintora: the Wayland connection was lost\n");
      run_.StopRequested = true;
      return;
    }
    for (posix::LoopSource* s : sources_) {
      if (s->Process()) continue;
      std::fprintf(stderr, "glintora: the session bus was lost\n");
      run_.StopRequested = true;
      return;
    }
    if (battery_ && battery_->OnBattery() != paused_) {
      paused_ = !paused_;
      if (options_.verbose)
        std::fprintf(stderr, "glintora: %s (%s): the wallpaper %s\n", paused_ ? "on battery" : "on mains power",
                     battery_->SourceName(), paused_ ? "pauses" : "resumes");
    }
    for (auto it = shown_.begin(); it != shown_.end();) {
      if (!it->surface->Closed()) {
        ++it;
        continue;
      }
      const bool window = it->output == 0;
      failed_ = failed_ || it->surface->Failed();
      it = shown_.erase(it);
      // The window's close button; or the last surface could not be shown.
      if (window || (failed_ && shown_.empty())) run_.StopRequested = true;
    }
  }
}

int Program::Run() {
  std::string error;
  if (!display_.Connect(error)) {
    std::fprintf(stderr, "glintora: %s\n", error.c_str());
    return 1;
  }
  if (!CheckProtocols()) return 2;
  display_.SetListener(this);
  posix::InstallStopSignals();
  ignoreMoves_ = IgnoresMouseMoves(RegReadText(store_, kSectionAdvanced, "Adv_MouseMove", "0").c_str());
  seed_ = options_.seed ? *options_.seed : static_cast<std::uint64_t>(std::time(nullptr));
  run_.Mode = options_.target == ShowTarget::OwnWindow ? RunMode::Application : RunMode::Saver;

  switch (options_.target) {
    case ShowTarget::OwnWindow:
    case ShowTarget::FullScreen:
      // Without server-side decorations the window draws its own through libdecor.
      if (!display_.Decorations()) decor_ = libdecor_new(display_.Display(), &kDecor);
      if (options_.target == ShowTarget::FullScreen) saverInput_ = std::make_unique<SaverInput>(ignoreMoves_);
      AddSurface(0, options_.target == ShowTarget::FullScreen ? SurfaceRole::FullScreen : SurfaceRole::Window);
      break;
    case ShowTarget::Saver:
      StartCovering();
      break;
    case ShowTarget::Wallpaper:
      layerRole_ = SurfaceRole::Background;
      if (options_.batteryPause) {
        battery_ = std::make_unique<posix::BatteryWatch>();
        sources_.push_back(battery_.get());
        paused_ = battery_->OnBattery();
      }
      StartCovering();
      break;
    case ShowTarget::Idle: {
      const std::uint32_t ms = options_.idleSeconds * 1000u;
      if (mutterIdle_) {
        if (!mutterIdle_->Start()) return 1;
        sources_.push_back(mutterIdle_.get());
      } else if (idleSource_ == IdleSource::ExtIdleNotify) {
        idleNotification_ = ext_idle_notifier_v1_get_idle_notification(display_.IdleNotifier(), ms, display_.Seat());
        ext_idle_notification_v1_add_listener(idleNotification_, &kIdleNotification, this);
      } else {
        kdeTimeout_ = org_kde_kwin_idle_get_idle_timeout(display_.KdeIdle(), display_.Seat(), ms);
        org_kde_kwin_idle_timeout_add_listener(kdeTimeout_, &kKdeTimeout, this);
      }
      if (options_.verbose) std::fprintf(stderr, "glintora: watching for %u s idle\n", options_.idleSeconds);
      break;
    }
    default:
      return 2;
  }
  Loop();
  return failed_ && !anyShown_ ? 1 : 0;  // the display could not be used
}

}  // namespace

int RunProgram(const ShowOptions& options, Store& store) {
  Program program(options, store);
  return program.Run();
}

}  // namespace glintora::wayland
