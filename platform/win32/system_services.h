// The operating-system services that only the Windows 95/98 family needs from a screen saver
// itself; on the NT family the system does all of this and these calls do nothing.
#pragma once

#include <windows.h>

namespace glintora {

// The platform id of GetVersionExA: 1 for the Windows 95/98 family, 2 for NT; 0 when unknown.
DWORD OsPlatform();

// Keeps the window above all others (95/98 family only).
void MakeTopmost(HWND window);

// Tells the system a saver is running or has stopped (95/98 family with the password option).
void SetSaverRunning(bool running);

// True unless the 95/98 family's password option is on and its password dialog says no.
bool VerifySaverPassword(HWND window);

}  // namespace glintora
