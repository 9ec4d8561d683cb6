// Arbitrary bytes as a template file: imported into a memory store, loaded and clamped as a show
// does, then run for a few frames of a small show on a small surface. Whatever the file says, the engine gets
// finite values within its bounds and never misbehaves (the sanitizers watch the frames).
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "settings/templates.h"
#include "tests/engine/show_rig.h"
#include "tests/fuzz/fuzz_util.h"

using namespace glintora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size > 1 << 16) return 0;
  // One file a process: fuzzing jobs may run side by side.
  static const char* dir = std::getenv("TMPDIR");
  static const std::string path = std::string(dir && *dir ? dir : "/tmp") + "/fuzz_template_" + std::to_string(getpid()) + ".glx";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  MemoryStore store;
  Templates templates;
  ImportTemplateFile(store, templates, path);

  SettingsRecord s;
  LoadFireParams(store, s);
  LoadColorParams(store, s);
  LoadAdvancedParams(store, s, 64, 48, false, 15, 15);
  ClampFireParams(s);

  for (const float f : {s.FireSymmetry, s.FireDamping, s.FireSpeed, s.FirePersist, s.FireGravity,
                        s.FireBurstRadius, s.FireTwistRad, s.FireTwistExt, s.FireDecayMSize,
                        s.FireLaunchRadius, s.FireLaunchPersist, s.FocalLength, s.ProjectionScale}) {
    Check(std::isfinite(f));
  }
  Check(s.FireWorks >= 1 && s.FireSparks >= 1 && s.FireWorks * s.FireSparks <= 30000);
  Check(s.Adv_TimeDelay >= 0 && s.LockMessage.size() <= 4 * kLockMessageMax);

  // The show's size is capped so that a run takes milliseconds; every other value is the file's.
  s.FireWorks = std::min<std::int16_t>(s.FireWorks, 3);
  s.FireSparks = std::min<std::int16_t>(s.FireSparks, 40);
  s.FireLength = std::min<std::int16_t>(s.FireLength, 12);
  s.FireLaunchPixel = std::min(s.FireLaunchPixel, s.FireSparks);
  ShowRig rig(64, 48, size);
  rig.settings = s;
  const auto show = rig.Begin();
  for (int frame = 0; frame < 3; ++frame) show->DrawFrame(), show->EndFrame();
  return 0;
}
