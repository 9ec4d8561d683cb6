// X errors never end the program: Xlib's default handler exits, ours records the error so the
// caller can see that a request failed (a foreign window that went away, a refused MIT-SHM
// attach) and go on. A lost connection cannot be survived; it ends the program with a message.
#pragma once

#include <X11/Xlib.h>

namespace glintora::x11 {

struct XErrorRecord {
  unsigned long count = 0;
  unsigned char lastCode = 0;        // BadWindow, BadAccess, ...
  unsigned char lastRequest = 0;     // the failed request's major opcode
  XID lastResource = 0;
};

// Installs the handlers; idempotent.
void InstallErrorHandlers();

// The errors seen so far. Xlib's handler has no user argument, so this is the one process-wide
// record; it is written only inside Xlib calls on the one thread.
const XErrorRecord& Errors();

// Runs XSync and tells whether any error arrived since `before` (a value of Errors().count).
bool ErrorSince(Display* display, unsigned long before);

}  // namespace glintora::x11
