// Sections: the decision's queries; preparing the run state; carrying out the decision.
#include "platform/win32/startup_win32.h"

#include <vector>

#include "engine/trig_tables.h"
#include "platform/win32/display_windows.h"
#include "platform/win32/files/wide_text.h"
#include "platform/win32/system_services.h"
#include "settings/templates.h"
#include "startup/twips.h"

namespace glintora {

// --- The decision's queries ---

LaunchQueries SystemLaunchQueries() {
  LaunchQueries queries;
  queries.IsOrdinaryFile = [](const std::string& path) {
    const DWORD attributes = GetFileAttributesW(FilePathW(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                           FILE_ATTRIBUTE_SYSTEM));
  };
  queries.IsWindowPresent = [](const std::string& caption) {
    return FindWindowW(nullptr, Widen(caption).c_str()) != nullptr;
  };
  return queries;
}

std::string ProgramFilePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

// --- Preparing the run state ---

void PrepareRunState(Program& program) {
  RunState& run = program.Run;
  run.QuitRequested = false;
  run.StopRequested = false;
  run.ShowInterrupted = false;

  if (HDC screen = GetDC(nullptr)) {
    run.TwipsPerPixelX = TwipsPerPixel(GetDeviceCaps(screen, LOGPIXELSX));
    run.TwipsPerPixelY = TwipsPerPixel(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
  }

  BuildTrigTables(program.Engine.Trig);

  // The dialogs hand this bare name to the system help; nothing to register beforehand.
  run.HelpFileName = "Glintora Fireworks.hlp";
}

// --- Carrying out the decision ---

namespace {

bool StartDisplay(Program& program) {
  program.Run.StopRequested = false;
  if (program.Run.Mode != RunMode::Saver) return OpenApplicationWindow(program);
  SetSaverRunning(true);
  if (OpenSaverWindow(program)) return true;
  SetSaverRunning(false);
  return false;
}

// The password service exists only on the Windows 95/98 family; mpr.dll is loaded at run time
// so that the program starts where the service is missing, and then does nothing.
void ChangePassword(std::int64_t parent) {
  HMODULE mpr = LoadLibraryA("mpr.dll");
  if (!mpr) return;
  using ChangeFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
  auto change = reinterpret_cast<ChangeFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(mpr, "PwdChangePasswordA")));
  if (change) change("SCRSAVE", reinterpret_cast<HWND>(static_cast<INT_PTR>(parent)), 0, 0);
  FreeLibrary(mpr);
}

}  // namespace

void ImportTemplateIntoStore(Program& program, const std::string& path) {
  ImportTemplateFile(program.Store, program.TemplateFiles, path);
}

bool CarryOut(Program& program, const LaunchDecision& decision) {
  program.Run.Mode = decision.Mode;
  switch (decision.Action) {
    case LaunchAction::StartDisplay:
      return StartDisplay(program);
    case LaunchAction::ShowProperties:
      return OpenPropertiesDialog(program);
    case LaunchAction::BringPropertiesForward:
      if (HWND dialog = FindWindowA(nullptr, kPropertiesCaption)) SetForegroundWindow(dialog);
      return false;
    case LaunchAction::CreatePreview:
      program.Run.PreviewHostWindow = decision.PreviewHostWindow;
      return OpenPreviewWindow(program);
    case LaunchAction::ChangePassword:
      ChangePassword(decision.PasswordParent);
      return false;
    case LaunchAction::ImportTemplate:
      ImportTemplateIntoStore(program, decision.TemplatePath);
      return StartDisplay(program);
    case LaunchAction::Nothing:
      return false;
  }
  return false;
}

}  // namespace glintora
