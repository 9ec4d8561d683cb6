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
#include "display/cover_surfaces.h"
#include "display/idle_cycle.h"
#include "display/saver_input.h"

namespace glintora::wayland {

namespace {

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
  void OnOutputDone(OutputRecord& output, OutputChange change) override;
  void OnOutputGone(OutputRecord& output) override;

  // The idle source's two events (the compositor's idle protocol, or another source).
  void OnIdled();
  void OnResumed() { cycle_.OnResumed(); }

 private:
  bool CheckProtocols();
  // Starts the idle source: the saver follows its OnIdled and OnResumed. False when it fails.
  bool StartWatching();
  // Picks the idle reports' source; false when there is none.
  bool ChooseIdle();
  std::unique_ptr<ShowSurface> MakeSurface(wl_output* output, const std::string& label, SurfaceRole role, bool sound);
  void CoverOutput(OutputRecord& output);
  // One covered output plays the sound: the next takes it when that one goes.
  void HandOnSound();
  template <typename F> void ForEachSurface(F f);
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
  std::unique_ptr<ShowSurface> window_;  // -fullscreen or the window
  std::unique_ptr<SaverInput> saverInput_;
  bool ignoreMoves_ = false;
  SurfaceRole coverRole_ = SurfaceRole::Overlay;
  std::uint64_t seed_ = 0;
  std::uint64_t made_ = 0;
  bool anyShown_ = false;     // some surface has shown a frame
  bool failed_ = false;       // some surface could not get a buffer
  bool lost_ = false;         // the connection was lost or broken by a protocol error
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
    // Activity: the saver's own input rule ends it; the next idle report may start it again.
    [](void* data, ext_idle_notification_v1*) { static_cast<Program*>(data)->OnResumed(); },
};

const org_kde_kwin_idle_timeout_listener kKdeTimeout = {
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<Program*>(data)->OnIdled(); },
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<Program*>(data)->OnResumed(); },
};

libdecor_interface kDecor = {
    [](libdecor*, libdecor_error, const char* message) {
      std::fprintf(stderr, "glintora: window decorations: %s\n", message);
    },
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

Program::~Program() {
  window_.reset();
  for (const auto& o : display_.Outputs()) o->Surface.reset();
  if (idleNotification_) ext_idle_notification_v1_destroy(idleNotification_);
  if (kdeTimeout_) org_kde_kwin_idle_timeout_release(kdeTimeout_);
  if (decor_) libdecor_unref(decor_);
}

bool Program::CheckProtocols() {
  CompositorOffer offer;
  offer.LayerShell = display_.LayerShell() != nullptr;
  offer.PlasmaShell = display_.PlasmaShell();
  offer.IdleSource = options_.target == ShowTarget::Idle && ChooseIdle();
  const CoverPlan plan = PlanCover(options_.target, offer);
  if (!plan.Missing.empty()) {
    std::fprintf(stderr, "glintora: %s\n", plan.Missing.c_str());
    return false;
  }
  switch (plan.Surface) {
    case CoverSurface::Overlay: coverRole_ = SurfaceRole::Overlay; break;
    case CoverSurface::FullScreenWindow: coverRole_ = SurfaceRole::SaverWindow; break;
    case CoverSurface::Bottom: coverRole_ = SurfaceRole::Bottom; break;
    case CoverSurface::Background: coverRole_ = SurfaceRole::Background; break;
    case CoverSurface::None: break;
  }
  return true;
}

std::unique_ptr<ShowSurface> Program::MakeSurface(wl_output* output, const std::string& label,
                                                  SurfaceRole role, bool sound) {
  SurfaceSetup setup;
  setup.Role = role;
  setup.Output = output;
  setup.Label = label;
  setup.Seed = seed_ + made_++;
  setup.Sound = sound;
  setup.Verbose = options_.verbose;
  setup.Fps = options_.fps;
  return std::make_unique<ShowSurface>(display_, decor_, store_, run_, setup);
}

void Program::CoverOutput(OutputRecord& o) {
  const std::string label = "output " + (o.Entry.Name.empty() ? std::to_string(o.Name) : o.Entry.Name);
  o.Surface = MakeSurface(o.Output, label, coverRole_, false);
  HandOnSound();
}

void Program::HandOnSound() {
  std::vector<OutputEntry*> entries;
  for (const auto& o : display_.Outputs())
    if (o->Surface) entries.push_back(&o->Entry);
  if (OutputEntry* heir = glintora::HandOnSound(entries)) {
    for (const auto& o : display_.Outputs())
      if (&o->Entry == heir && o->Surface) o->Surface->GiveSound();
  }
}

template <typename F>
void Program::ForEachSurface(F f) {
  if (window_) f(*window_);
  for (const auto& o : display_.Outputs())
    if (o->Surface) f(*o->Surface);
}

void Program::StartCovering() {
  const bool saver = coverRole_ == SurfaceRole::Overlay || coverRole_ == SurfaceRole::SaverWindow;
  if (options_.verbose) std::fprintf(stderr, "glintora: %s starts\n", saver ? "saver" : "wallpaper");
  if (saver) saverInput_ = std::make_unique<SaverInput>(ignoreMoves_);
  display_.SetCovering(true);
  for (const auto& o : display_.Outputs())
    if (o->Entry.Make()) CoverOutput(*o);
}

void Program::StopCovering() {
  display_.SetCovering(false);
  for (const auto& o : display_.Outputs()) {
    o->Surface.reset();
    o->Entry.Drop();
  }
  saverInput_.reset();
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

bool Program::StartWatching() {
  const std::uint32_t ms = options_.idleSeconds * 1000u;
  if (mutterIdle_) {
    if (!mutterIdle_->Start()) return false;
    sources_.push_back(mutterIdle_.get());
  } else if (idleSource_ == IdleSource::ExtIdleNotify) {
    idleNotification_ = ext_idle_notifier_v1_get_idle_notification(display_.IdleNotifier(), ms, display_.Seat());
    ext_idle_notification_v1_add_listener(idleNotification_, &kIdleNotification, this);
  } else {
    kdeTimeout_ = org_kde_kwin_idle_get_idle_timeout(display_.KdeIdle(), display_.Seat(), ms);
    org_kde_kwin_idle_timeout_add_listener(kdeTimeout_, &kKdeTimeout, this);
  }
  if (options_.verbose) std::fprintf(stderr, "glintora: watching for %u s idle\n", options_.idleSeconds);
  return true;
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
  ForEachSurface([&](ShowSurface& s) {
    if (s.Surface() == surface) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
  });
}

// ---- outputs: a saver or wallpaper covers every output, a new one as soon as it is described.

void Program::OnOutputDone(OutputRecord& o, OutputChange change) {
  if (change == OutputChange::Make) {
    CoverOutput(o);
  } else if (change == OutputChange::Remake) {
    if (o.Surface) o.Surface->OutputScaleChanged();
  } else if (window_) {
    // A window on this output follows its scale.
    window_->OutputScaleChanged();
  }
}

void Program::OnOutputGone(OutputRecord& o) {
  o.Surface.reset();
  o.Entry.Drop();
  HandOnSound();
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
    ForEachSurface([&](ShowSurface& s) {
      if (paused_) return;
      std::int32_t due = s.MsUntilDue(now);
      if (due == 0) {
        s.Step();
        due = s.MsUntilDue(now);
      }
      anyShown_ = anyShown_ || s.EverShown();
      if (due >= 0 && (timeout < 0 || due < timeout)) timeout = due;
    });
    for (posix::LoopSource* s : sources_) {
      const int due = s->TimeoutMs();
      if (due >= 0 && (timeout < 0 || due < timeout)) timeout = due;
    }
    // A signal landing just before the wait would otherwise wait for the compositor.
    if (timeout < 0 || timeout > 1000) timeout = 1000;
    const std::uint64_t waitStart = posix::MonotonicMicros();
    const int dispatched = Dispatch(timeout);
    if (options_.fps)
      ForEachSurface([&](ShowSurface& s) { s.AddIdle(posix::MonotonicMicros() - waitStart); });
    if (dispatched < 0 || wl_display_get_error(display_.Display())) {
      std::fprintf(stderr, "glintora: the Wayland connection was lost\n");
      lost_ = true;
      return;
    }
    for (posix::LoopSource* s : sources_) {
      if (s->Process()) continue;
      std::fprintf(stderr, "glintora: the session bus was lost\n");
      lost_ = true;
      return;
    }
    if (battery_ && battery_->OnBattery() != paused_) {
      paused_ = !paused_;
      if (options_.verbose)
        std::fprintf(stderr, "glintora: %s (%s): the wallpaper %s\n", paused_ ? "on battery" : "on mains power",
                     battery_->SourceName(), paused_ ? "pauses" : "resumes");
    }
    // The window's close button ends the program; an output's surface closed goes alone.
    if (window_ && window_->Closed()) {
      failed_ = failed_ || window_->Failed();
      window_.reset();
      run_.StopRequested = true;
    }
    bool any = false, dropped = false;
    for (const auto& o : display_.Outputs()) {
      if (o->Surface && o->Surface->Closed()) {
        failed_ = failed_ || o->Surface->Failed();
        o->Surface.reset();
        o->Entry.Sound = false;
        dropped = true;
      }
      any = any || o->Surface;
    }
    if (dropped) HandOnSound();
    // The last surface could not be shown.
    if (dropped && failed_ && !any && !window_) run_.StopRequested = true;
  }
}

int Program::Run() {
  std::string error;
  if (!display_.Connect(options_.verbose, error)) {
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
      window_ = MakeSurface(nullptr, "window",
                            options_.target == ShowTarget::FullScreen ? SurfaceRole::FullScreen : SurfaceRole::Window,
                            true);
      break;
    case ShowTarget::Wallpaper:
      if (options_.batteryPause) {
        battery_ = std::make_unique<posix::BatteryWatch>();
        sources_.push_back(battery_.get());
        paused_ = battery_->OnBattery();
      }
      StartCovering();
      break;
    case ShowTarget::Saver:
      StartCovering();
      break;
    case ShowTarget::Idle:
      if (!StartWatching()) return 1;
      break;
    default:
      return 2;
  }
  Loop();
  // The display could not be used, or the connection broke: the show did not end normally.
  return lost_ || (failed_ && !anyShown_) ? 1 : 0;
}

}  // namespace

int RunProgram(const ShowOptions& options, Store& store) {
  Program program(options, store);
  return program.Run();
}

}  // namespace glintora::wayland
