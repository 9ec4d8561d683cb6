// How the program was started and what it must do first: the application test on the program's
// own file name, then the command-line rules. Pure: the file system and the window list are
// reached only through the two queries the caller passes in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "startup/run_state.h"

namespace glintora {

inline constexpr const char* kSaverCaption = "KRYX:Glintora Fireworks 1.0";
inline constexpr const char* kPropertiesCaption = "Glintora Fireworks";

enum class LaunchAction {
  StartDisplay,            // the saver window (RunMode Saver) or the application window
  ShowProperties,          // the properties dialog, modeless
  BringPropertiesForward,  // an earlier instance's properties dialog is open: raise it and end
  CreatePreview,           // the preview surface inside PreviewHostWindow
  ChangePassword,          // the system's password dialog, parent PasswordParent
  ImportTemplate,          // import TemplatePath into the store, then StartDisplay
  Nothing,                 // a saver is already running: end at once
};

struct LaunchQueries {
  // An ordinary file (not hidden, not system, not a folder) exists under this path.
  std::function<bool(const std::string& path)> IsOrdinaryFile;
  // A top-level window with exactly this caption exists.
  std::function<bool(const std::string& caption)> IsWindowPresent;
};

struct LaunchDecision {
  RunMode Mode = RunMode::Saver;
  LaunchAction Action = LaunchAction::StartDisplay;
  std::int64_t PreviewHostWindow = 0;  // set for CreatePreview
  std::int64_t PasswordParent = 0;     // set for ChangePassword
  std::string TemplatePath;            // set for ImportTemplate, without surrounding quotes
};

// programPath: the full path of the program file; arguments: the command line after the
// program's own name (see ArgumentText).
LaunchDecision DecideLaunch(std::string_view programPath, std::string_view arguments,
                            const LaunchQueries& queries);

// The number after a two-character switch: the lenient leading number, rounded half to even to
// 32 bits. 0 when there is none or when it lies outside the 32-bit range (no window has such a
// handle, and 0 makes the preview and the password change end at once).
std::int64_t SwitchNumber(std::string_view rest);

// The argument text of a full command line: what follows the program's name (quoted or not)
// and the blanks that separate it.
std::string_view ArgumentText(std::string_view commandLine);

}  // namespace glintora
