#include "platform/x11/x11_errors.h"

#include <cstdio>
#include <cstdlib>

namespace glintora::x11 {

namespace {

XErrorRecord g_errors;  // see Errors()
bool g_installed = false;

int OnError(Display*, XErrorEvent* event) {
  ++g_errors.count;
  g_errors.lastCode = event->error_code;
  g_errors.lastRequest = event->request_code;
  g_errors.lastResource = event->resourceid;
  return 0;
}

int OnIoError(Display*) {
  std::fprintf(stderr, "glintora: lost the connection to the X server\n");
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

void InstallErrorHandlers() {
  if (g_installed) return;
  g_installed = true;
  XSetErrorHandler(OnError);
  XSetIOErrorHandler(OnIoError);
}

const XErrorRecord& Errors() { return g_errors; }

bool ErrorSince(Display* display, unsigned long before) {
  XSync(display, False);
  return g_errors.count != before;
}

}  // namespace glintora::x11
