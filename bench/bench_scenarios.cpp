#include "bench/bench_scenarios.h"

#include <optional>

#include "tools/render/show_settings.h"

namespace glintora {

namespace {

Scenario Make(const std::string& name, std::optional<int> theme = std::nullopt) {
  Scenario s{name, 1920, 1080, {}};
  std::string error;
  LoadShowSettings(s.settings, s.width, s.height, theme, "", error);
  return s;
}

void Only(SettingsRecord& s, std::int16_t SettingsRecord::*pct) {
  s.FireScintPct = s.FireMultiPct = s.FireBurstPct = s.FireSparkPct = s.FireRingPct =
      s.FireTwistPct = s.FireDecayPct = s.FireLaunchPct = 0;
  if (pct) s.*pct = 100;
}

}  // namespace

std::vector<Scenario> BenchScenarios() {
  std::vector<Scenario> all;
  all.push_back(Make("defaults"));
  all.push_back(Make("theme13", 13));

  Scenario standard = Make("standard_12x2500_trail99");
  Only(standard.settings, nullptr);
  standard.settings.FireWorks = 12;
  standard.settings.FireSparks = 2500;
  standard.settings.FireLength = 99;
  all.push_back(standard);

  Scenario scint = Make("scintillators_12x2500_style9");
  Only(scint.settings, &SettingsRecord::FireScintPct);
  scint.settings.FireWorks = 12;
  scint.settings.FireSparks = 2500;
  scint.settings.FireScintStyle = 9;
  all.push_back(scint);

  Scenario decay = Make("decaying_99x303_count99_size9999_life999");
  Only(decay.settings, &SettingsRecord::FireDecayPct);
  decay.settings.FireWorks = 99;
  decay.settings.FireSparks = 303;
  decay.settings.FireDecayCnt = 99;
  decay.settings.FireDecayMSize = 9999;
  decay.settings.FireDecayMLife = 999;
  all.push_back(decay);

  Scenario jet = Make("jet_bursts");
  Only(jet.settings, &SettingsRecord::FireBurstPct);
  all.push_back(jet);

  Scenario twist = Make("twisters");
  Only(twist.settings, &SettingsRecord::FireTwistPct);
  all.push_back(twist);
  return all;
}

}  // namespace glintora
