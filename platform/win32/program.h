// The process-wide records of the Windows program, owned by WinMain and handed by reference to
// every window it opens.
#pragma once

#include <windows.h>

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
};

}  // namespace glintora
