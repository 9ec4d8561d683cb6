// The one native program: reads the command line and the user's settings, then runs the show on
// X11 or Wayland as the targets and the environment decide.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/wayland/wayland_program.h"
#include "platform/x11/x11_program.h"
#include "settings/ini_store.h"
#include "display/display_choice.h"
#include "display/override_store.h"
#include "display/show_options.h"
#include "display/show_overrides.h"

namespace {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "glintora: %s (glintora -help lists the options)\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace glintora;
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  const ParsedOptions parsed = ParseShowOptions(args, std::getenv("XSCREENSAVER_WINDOW"));
  if (!parsed.ok) return UsageError(parsed.error);
  const ShowOptions& options = parsed.options;
  if (options.help) {
    std::printf("%s\n", ShowUsage());
    return 0;
  }
  const DisplayChoice choice = ChooseDisplay(options, std::getenv("WAYLAND_DISPLAY"));
  if (!choice.ok) return UsageError(choice.error);

  // The user's settings, with this run's options laid over them; the file is never written here.
  IniStore userStore(DefaultIniStorePath());
  OverrideStore store(userStore);
  std::string error;
  if (!ApplyShowOverrides(store, options, error)) return UsageError(error);

  return choice.system == DisplaySystem::Wayland ? wayland::RunProgram(options, store)
                                                 : x11::RunProgram(options, store);
}
