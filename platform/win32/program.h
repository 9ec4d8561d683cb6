// The process-wide records of the Windows program, owned by WinMain and handed by reference to
// every window it opens.
#pragma once

#include <windows.h>

#include <functional>

#include "engine/engine_record.h"
#include "platform/win32/registry_store.h"
#include "settings/profile.h"
#include "settings/settings_record.h"
#include "startup/run_state.h"

namespace glintora {

struct Program {
  HINSTANCE Instance = nullptr;
  RunState Run;
  SettingsRecord Settings;
  EngineRecord Engine;
  RegistryStore Store;  // SOFTWARE\GlintoraFireworks, machine-wide with a per-user fallback
  Templates TemplateFiles;  // the template file in use

  // The preview's start sound, played once per process; empty plays the file by its bare name
  // (tests put a recorder here).
  std::function<void(const char* file)> PlaySound;
  bool SoundPlayed = false;
};

}  // namespace glintora
