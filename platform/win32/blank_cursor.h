// The blank 32 by 32 mouse cursor of the full-screen windows (imgBlankIcon).
#pragma once

#include <windows.h>

namespace glintora {

// Made once on first use and kept for the life of the process.
HCURSOR BlankCursor(HINSTANCE instance);

}  // namespace glintora
