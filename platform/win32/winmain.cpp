// The entry of GlintoraFireworks.scr: start-up, then the message loop of whatever window the run
// mode opened. The process ends when that window posts WM_QUIT or ends the process itself.
#include <windows.h>

#include "platform/win32/files/wide_text.h"
#include "platform/win32/program.h"
#include "platform/win32/startup_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace glintora;
  static Program program;  // large (trig tables, hue wheel); lives as long as the process
  program.Instance = instance;
  PrepareRunState(program);

  const LaunchDecision decision =
      DecideLaunch(ProgramFilePath(), ArgumentText(Narrow(GetCommandLineW())), SystemLaunchQueries());
  if (!CarryOut(program, decision)) return 0;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
