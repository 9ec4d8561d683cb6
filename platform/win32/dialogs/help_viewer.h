// The program's help. The dialogs still name the help file and the WinHelp commands and context
// numbers, but the system help program for such files no longer exists; the same requests open
// our HTML help page, installed beside the program, at the anchor of the topic asked for.
#pragma once

#include <windows.h>

#include <string>

namespace glintora {

inline constexpr char kHelpPageName[] = "glintora-help.html";

// The WinHelp commands the dialogs use.
inline constexpr UINT kHelpContext = 1;   // HELP_CONTEXT: one topic
inline constexpr UINT kHelpQuit = 2;      // HELP_QUIT
inline constexpr UINT kHelpContents = 3;  // HELP_CONTENTS
inline constexpr UINT kHelpFinder = 11;   // HELP_FINDER: the search (our index)

struct HelpRequest {
  std::string HelpFile;  // as named at start-up ("Glintora Fireworks.hlp")
  UINT Command = kHelpContents;
  DWORD Topic = 0;       // the context number of kHelpContext
};

// The anchor a request opens: "topic-<n>", "contents" or "index"; empty for kHelpQuit.
std::string HelpAnchor(const HelpRequest& request);

// A file: address for a page path with an anchor ("file:///C:/My%20Dir/page.html#topic-10").
std::string FileAddress(const std::string& path, const std::string& anchor);

// The folder of the running program, with no trailing backslash.
std::string ProgramFolder();

// Opens the help page at the request's anchor in the user's browser. kHelpQuit does nothing:
// the browser is not ours to close.
void OpenHelpPage(HWND owner, const HelpRequest& request);

}  // namespace glintora
