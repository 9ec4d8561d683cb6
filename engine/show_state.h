// The data of one show: the settings it runs with, the firework slots and the spark records
// (allocated once when the show starts), the scratch space that bursts use, and the references
// to the engine's shared parts. Slot i owns spark records i*FireSparks .. i*FireSparks+FireSparks-1.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/engine_math.h"
#include "engine/framebuffer.h"
#include "engine/random.h"
#include "engine/show_events.h"
#include "engine/trig_tables.h"
#include "settings/settings_record.h"

namespace glintora {

enum Kind : std::int16_t {
  kLaunch = 0,
  kStandard = 1,
  kScintillator = 2,
  kMultiBurst = 3,
  kJetBurst = 4,
  kSparkler = 5,
  kRing = 6,
  kTwister = 7,
  kDecayingStar = 8,
  kTwinkle = 999,
};

struct Slot {
  std::int16_t Kind = kStandard;
  std::int16_t LiveCount = 0;
  std::int16_t TrailLength = 1;
  std::int16_t GroupSize = 1;
  std::int16_t Age = 0;
  std::int16_t StartDelay = 0;
  float CentreX = 0, CentreY = 0, CentreZ = 0;
  float DriftX = 0, DriftY = 0, DriftZ = 0;
  // Standard bursts visit only their records still in flight, listed in index order in
  // ShowState::InFlight from the slot's base; rebuilt after every refill of the records.
  bool ListReady = false;
  std::int32_t Listed = 0;
  // Every live record holds its position's projection in Spark::Shown*, so the next update erases
  // there without projecting again. Only the kinds that erase their previous position keep it;
  // cleared by every refill of the records.
  bool ScreenKept = false;
  // The event the slot's next update reports (set only when the show has a sink).
  ShowEventType Pending = ShowEventType::None;
  std::int16_t PendingKind = 0;
  std::int16_t PendingSize = 0;
};

struct Spark {
  float X = 0, Y = 0, Z = 0;
  float VX = 0, VY = 0, VZ = 0;
  float TailX = 0, TailY = 0, TailZ = 0;      // twister leader: the twist centre
  float TailVX = 0, TailVY = 0, TailVZ = 0;   // twister leader: TailVX is the twist angle
  std::uint32_t Colour = 0;
  std::int16_t SparkAge = 0;
  std::int16_t TailCountdown = 0;
  bool Alive = false;
  bool TailAlive = false;
  bool Spraying = false;  // spray leader: some follower may still fly (dead groups are skipped)
  bool Shown = false;     // the position's projection succeeded (see Slot::ScreenKept)
  std::int32_t ShownX = 0, ShownY = 0;
};

// A fresh spark's eraser tail starts as a copy of its head.
inline void TailCopy(Spark& p) {
  p.TailX = p.X;
  p.TailY = p.Y;
  p.TailZ = p.Z;
  p.TailVX = p.VX;
  p.TailVY = p.VY;
  p.TailVZ = p.VZ;
  p.SparkAge = 0;
  p.TailAlive = false;
}

// A burst's colour scheme.
struct ColourScheme {
  std::uint32_t Base = 0;
  bool Solid = false;
  std::int16_t Hue = 0;
};

struct ShowState {
  SettingsRecord S;  // the show's own copy, in engine units; events cannot resize a running show
  View Screen;
  double LeaderDamping = 1;   // jet-burst leaders
  double DecayStarScale = 0;  // the decaying star's size factor

  std::vector<Slot> Slots;    // FireWorks
  std::vector<Spark> Sparks;  // FireWorks * FireSparks + 1
  std::vector<std::int32_t> InFlight;  // FireWorks * FireSparks; see Slot::ListReady

  // Scratch, sized at show start so that frames allocate nothing.
  std::vector<float> RingA, RingB;                 // FireRingEmb
  std::vector<float> LX, LY, LZ, LVX, LVY, LVZ;    // FireSparks + 1

  Random* Rng = nullptr;
  const TrigTables* Trig = nullptr;
  Framebuffer* Surface = nullptr;
  Framebuffer NoSurface;  // drawn on when the engine has no surface: every pixel is clipped

  ShowEventSink* Events = nullptr;
  std::uint32_t Frame = 0;  // frames drawn so far

  float Rnd() { return Rng->Next(); }
  // Slot i's next update reports this event.
  void Expect(std::int32_t i, ShowEventType type, std::int16_t kind, std::int16_t size) {
    if (!Events) return;
    Slot& s = Slots[i];
    s.Pending = type;
    s.PendingKind = kind;
    s.PendingSize = size;
  }
  void Pixel(std::int32_t x, std::int32_t y, std::uint32_t colour) { Surface->Set(x, y, colour); }
};

// Builds the show's state from settings in engine units: the safety limits that keep every index
// in its array, the arrays, and the derived values. Creates no firework.
void PrepareShowState(ShowState& state, const SettingsRecord& settings);

// The first firework of every slot, in index order.
void CreateAllFireworks(ShowState& state);

// One frame of every started slot, in index order.
void UpdateAllSlots(ShowState& state);

}  // namespace glintora
