// Sections: StartShow's clamps; the show's state; the frame loop and the session; the
// end-of-frame services.
#include "engine/show.h"

#include <algorithm>
#include <cmath>

#include "engine/bursts.h"
#include "engine/creation.h"
#include "engine/frame_wait.h"
#include "engine/show_state.h"
#include "settings/loaders.h"

namespace glintora {

namespace {

// min then max; NaN ends at the lower bound.
float ClampF(float v, float lo, float hi) {
  if (!(v >= lo)) return lo;
  return v > hi ? hi : v;
}
template <typename T>
T ClampI(T v, int lo, int hi) {
  return static_cast<T>(std::max(lo, std::min(static_cast<int>(v), hi)));
}

// How many frames an event's sound has to fill: the phase's fixed length, or the mean life of a
// spark that dies with the kind's chance per frame.
std::int32_t ExpectedFrames(const ShowState& st, const Slot& s) {
  const auto& S = st.S;
  const double life = 1 / std::max(1 - static_cast<double>(S.FirePersist), 0.01);
  double frames = life;
  switch (s.Pending) {
    case ShowEventType::Launch: frames = S.FireLaunchSteps; break;
    case ShowEventType::Twinkle: frames = 2 * life; break;
    case ShowEventType::Split: frames = life + s.TrailLength; break;
    default:
      switch (s.PendingKind) {
        case kScintillator: frames = 1.5 * life; break;
        case kMultiBurst: frames = S.FireMultiAge; break;
        case kJetBurst:
        case kTwister: frames = S.FireBurstAge + life; break;
        case kSparkler: frames = S.FireSparkAge; break;
        case kDecayingStar: frames = S.FireDecayMLife; break;
        default: frames = life + s.TrailLength; break;
      }
  }
  return static_cast<std::int32_t>(std::min(frames, 32767.0));
}

// Reports slot i's pending event at the slot's first update of its new phase.
void Announce(ShowState& st, std::int32_t i) {
  Slot& s = st.Slots[i];
  ShowEvent e;
  e.Type = s.Pending;
  e.Kind = s.PendingKind;
  e.Slot = i;
  e.Frame = st.Frame;
  e.X = s.CentreX;
  e.Y = s.CentreY;
  e.Z = s.CentreZ;
  if (!st.Screen.Project(e.X, e.Y, e.Z, e.ScreenX, e.ScreenY)) {
    e.ScreenX = static_cast<std::int32_t>(st.Screen.CenterX);
    e.ScreenY = static_cast<std::int32_t>(st.Screen.CenterY);
  }
  if (st.Screen.Width > 0)
    e.Pan = ClampF(Single(2.0 * e.ScreenX / st.Screen.Width - 1), -1.0f, 1.0f);
  e.Size = s.PendingSize;
  e.Frames = ExpectedFrames(st, s);
  s.Pending = ShowEventType::None;
  st.Events->OnShowEvent(e);
}

}  // namespace

void StartShow(EngineRecord& engine, SettingsRecord& settings, RunState& run) {
  ClampFireParams(settings);
  RunShow(engine, settings, run);
}

void ClampFireParams(SettingsRecord& s) {
  s.FireWorks = ClampI(s.FireWorks, 1, 99);
  s.FireSparks = ClampI(s.FireSparks, 10, std::min(9999, 30000 / s.FireWorks));
  s.FireLength = ClampI(s.FireLength, 1, 99);
  s.FireSymmetry = ClampF(s.FireSymmetry, 0.0f, 1.0f);
  s.FireSpeed = ClampF(s.FireSpeed, 0.1f, 99.9f);
  s.FirePersist = ClampF(s.FirePersist, 0.25f, 0.99f);
  s.FireGravity = Single(ClampF(s.FireGravity, 0.0f, 9.9f) * 0.005);
  s.FireSizeDev = ClampI(s.FireSizeDev, 1, 99);
  s.FireDamping = Single((1 - static_cast<double>(ClampF(s.FireDamping, 0.0f, 1.0f))) * 0.5 + 0.5);
  s.FireSplinePct = ClampI(s.FireSplinePct, 0, 100);
  s.FireSplineKnot = ClampI(s.FireSplineKnot, 4, 99);
  s.FireMultiPct = ClampI(s.FireMultiPct, 0, 100);
  s.FireMultiAge = ClampI(s.FireMultiAge, 5, 99);
  s.FireMultiBurst = ClampI(s.FireMultiBurst, 1, 99);
  s.FireBurstPct = ClampI(s.FireBurstPct, 0, 100);
  s.FireBurstAge = ClampI(s.FireBurstAge, 5, 99);
  s.FireBurstCount = ClampI(s.FireBurstCount, 1, 99);
  s.FireBurstRadius = ClampF(s.FireBurstRadius, 0.000625f, 0.24975f);
  s.FireSparkPct = ClampI(s.FireSparkPct, 0, 100);
  s.FireSparkAge = ClampI(s.FireSparkAge, 5, 99);
  s.FireSparkPix = ClampI(s.FireSparkPix, 1, 30);
  s.FireRingPct = ClampI(s.FireRingPct, 0, 100);
  s.FireRingEmb = ClampI(s.FireRingEmb, 1, 99);
  s.FireRingDeg = ClampI(s.FireRingDeg, 0, 180);
  s.FireTwistPct = ClampI(s.FireTwistPct, 0, 100);
  s.FireTwistCnt = ClampI(s.FireTwistCnt, 1, 99);
  s.FireTwistDeg = ClampI(s.FireTwistDeg, 0, 90);
  s.FireTwistRad = ClampF(s.FireTwistRad, 0.00025f, 0.24975f);
  s.FireTwistExt = ClampF(s.FireTwistExt, 0.000625f, 2.49975f);
  s.FireDecayPct = ClampI(s.FireDecayPct, 0, 100);
  s.FireDecayCnt = ClampI(s.FireDecayCnt, 1, 99);
  {
    // A size beyond 16 bits cannot be rounded; the clamp still applies.
    const double size = s.FireDecayMSize;
    const double whole = std::fabs(size) < 32767.5 ? std::nearbyint(size) : size;
    s.FireDecayMSize = ClampF(Single(whole), 1.0f, 9999.0f);
  }
  s.FireDecayMLife = ClampI(s.FireDecayMLife, 5, 999);
  s.FireScintPct = ClampI(s.FireScintPct, 0, 100);
  s.FireScintStyle = ClampI(s.FireScintStyle, 1, 9);
  s.FireLaunchPct = ClampI(s.FireLaunchPct, 0, 100);
  s.FireLaunchPixel = ClampI(s.FireLaunchPixel, 10, std::min<int>(999, s.FireSparks));
  s.FireLaunchRadius = ClampF(s.FireLaunchRadius, 0.000625f, 0.24975f);
  s.FireLaunchSteps = ClampI(s.FireLaunchSteps, 1, 999);
  s.FireLaunchPersist = ClampF(s.FireLaunchPersist, 0.25f, 0.99f);
}

void PrepareShowState(ShowState& st, const SettingsRecord& settings) {
  st.S = settings;
  SettingsRecord& S = st.S;
  // Whatever the caller converted, these keep every index inside its array and every loop moving.
  S.FireWorks = ClampI(S.FireWorks, 1, 99);
  S.FireSparkPix = ClampI(S.FireSparkPix, 1, 30);
  S.FireSparks = ClampI(std::max(S.FireSparks, S.FireSparkPix), 10, 30000 / S.FireWorks);
  S.FireLength = ClampI(S.FireLength, 1, 99);
  S.FireLaunchPixel = ClampI(S.FireLaunchPixel, 1, S.FireSparks);
  S.FireLaunchSteps = ClampI(S.FireLaunchSteps, 1, 999);
  S.FireSplineKnot = ClampI(S.FireSplineKnot, 4, 99);
  S.FireRingEmb = ClampI(S.FireRingEmb, 1, 99);
  S.FireRingDeg = ClampI(S.FireRingDeg, 0, 180);
  S.FireScintStyle = ClampI(S.FireScintStyle, 1, 9);
  S.FireDecayMLife = ClampI(S.FireDecayMLife, 5, 999);
  S.FireMultiBurst = ClampI(S.FireMultiBurst, 1, 99);
  const auto knots = static_cast<std::size_t>(S.FireSplineKnot) + 1;
  S.KnotX.resize(knots);
  S.KnotY.resize(knots);
  S.KnotZ.resize(knots);

  st.Screen.Scale = S.ProjectionScale;
  st.Screen.CenterX = S.CenterX;
  st.Screen.CenterY = S.CenterY;
  st.Screen.Width = S.SurfaceWidth;
  st.Screen.Height = S.SurfaceHeight;
  st.LeaderDamping = Single(1 - (1 - static_cast<double>(S.FireDamping)) * 0.2);
  st.DecayStarScale = Single(static_cast<double>(S.FireDecayMSize) * S.FocalLength /
                             S.FireDecayMLife * 0.01);

  st.Slots.assign(static_cast<std::size_t>(S.FireWorks), Slot{});
  st.Sparks.assign(static_cast<std::size_t>(S.FireWorks) * S.FireSparks + 1, Spark{});
  st.InFlight.assign(static_cast<std::size_t>(S.FireWorks) * S.FireSparks, 0);
  st.RingA.assign(static_cast<std::size_t>(S.FireRingEmb), 0.0f);
  st.RingB.assign(static_cast<std::size_t>(S.FireRingEmb), 0.0f);
  const auto leaders = static_cast<std::size_t>(S.FireSparks) + 1;
  for (auto* v : {&st.LX, &st.LY, &st.LZ, &st.LVX, &st.LVY, &st.LVZ}) v->assign(leaders, 0.0f);
}

void CreateAllFireworks(ShowState& st) {
  for (std::int32_t i = 0; i < st.S.FireWorks; ++i) {
    st.Slots[i].Kind = kStandard;
    st.Slots[i].StartDelay = 0;
    CreateFirework(st, i);
  }
}

void UpdateAllSlots(ShowState& st) {
  const double stagger = st.S.FireSparks / 32.0;
  for (std::int32_t i = 0; i < st.S.FireWorks; ++i) {
    Slot& s = st.Slots[i];
    if (!(i * stagger <= s.StartDelay)) {
      ++s.StartDelay;
      continue;
    }
    if (s.Age < INT16_MAX) ++s.Age;
    if (s.Pending != ShowEventType::None) Announce(st, i);
    switch (s.Kind) {
      case kLaunch: UpdateLaunch(st, i); break;
      case kStandard: UpdateStandard(st, i); break;
      case kScintillator: UpdateScintillator(st, i); break;
      case kMultiBurst: UpdateMultiBurst(st, i); break;
      case kJetBurst:
      case kTwister: UpdateSpray(st, i); break;
      case kSparkler: UpdateSparkler(st, i); break;
      case kDecayingStar: UpdateDecayingStar(st, i); break;
      case kTwinkle: UpdateTwinkle(st, i); break;
      default: break;
    }
  }
  ++st.Frame;
}

ShowSession::ShowSession(EngineRecord& engine, SettingsRecord& settings, RunState& run)
    : engine_(engine), settings_(settings), run_(run), state_(std::make_unique<ShowState>()) {
  settings.FireSparks = std::max(settings.FireSparks, settings.FireSparkPix);
  PrepareShowState(*state_, settings);
  state_->Rng = &engine.Rng;
  state_->Trig = &engine.Trig;
  state_->Surface = engine.Surface ? engine.Surface : &state_->NoSurface;
  state_->Events = engine.Events;
  CreateAllFireworks(*state_);
}

ShowSession::~ShowSession() = default;

void ShowSession::DrawFrame() {
  if (engine_.Host) engine_.TimerStart = engine_.Host->TickCount();
  UpdateAllSlots(*state_);
  if (engine_.Host) engine_.Host->Present(*state_->Surface);
  state_->Surface->ResetTouched();
}

bool ShowSession::EndFrame() {
  if (!engine_.Host) return true;
  if (FrameWait(engine_, settings_, run_)) return true;
  if (run_.ShowInterrupted) {
    run_.ShowInterrupted = false;
    return true;
  }
  if (run_.Mode == RunMode::Preview && !run_.FirstYieldDone) BriefYield(*engine_.Host, run_);
  return false;
}

void RunShow(EngineRecord& engine, SettingsRecord& settings, RunState& run) {
  if (!engine.Host) return;
  ShowSession show(engine, settings, run);
  do {
    show.DrawFrame();
  } while (!show.EndFrame());
}

bool FrameWait(EngineRecord& engine, const SettingsRecord& settings, RunState& run) {
  FrameHost& host = *engine.Host;
  bool stop = WaitForDelay(host, run, engine.TimerStart, settings.Adv_TimeDelay);
  if (run.Mode == RunMode::Preview && !host.PreviewHostIsWindow()) {
    run.StopRequested = true;
    stop = true;
  }
  const std::uint32_t now = host.TickCount();
  if (static_cast<std::int32_t>(now - engine.MessageTick) >= 3000) {
    engine.MessageTick = now;
    RefreshLockMessage(engine, settings);
  }
  return stop;
}

void RefreshLockMessage(EngineRecord& engine, const SettingsRecord& settings) {
  if (!engine.Host || settings.LockMessage.empty() || !engine.Host->SurfaceIsWindow()) return;
  MessageStyle& m = engine.Message;
  m.FontName = settings.Adv_FontName;
  m.FontSize = settings.Adv_FontSize;
  m.Colour = HueColor(settings.Adv_FontHueV, 100, 100, 100);
  m.Text = settings.LockMessage;
  engine.Host->ShowMessage(m);
}

void PrepareSurface(EngineRecord& engine) {
  if (!engine.Surface) return;
  engine.Surface->Fill(0);
  if (engine.Host) engine.Host->Present(*engine.Surface);
  engine.Surface->ResetTouched();
}

void ClearSurface(EngineRecord& engine, const SettingsRecord& settings) {
  PrepareSurface(engine);
  RefreshLockMessage(engine, settings);
}

}  // namespace glintora
