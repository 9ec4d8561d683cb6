// The program's start-up on Windows: prepares the run state, decides the run mode and carries
// the decision out with the real system calls.
#pragma once

#include <string>

#include "platform/win32/program.h"
#include "startup/launch_decision.h"

namespace glintora {

// The queries of the decision, answered by the file system and the window list.
LaunchQueries SystemLaunchQueries();

// The full path of the running program file.
std::string ProgramFilePath();

// Clears the flags, reads the screen's twips per pixel, builds the trig tables and names the
// help file, in that order.
void PrepareRunState(Program& program);

// Carries out the decision. True when a window was opened and the message loop must run.
bool CarryOut(Program& program, const LaunchDecision& decision);

// Imports a template file into the store before the display starts.
void ImportTemplateIntoStore(Program& program, const std::string& path);

}  // namespace glintora
