#include "display/display_choice.h"

namespace glintora {

namespace {

bool IsSet(const char* value) { return value && *value; }

bool X11Only(ShowTarget t) { return t == ShowTarget::Root || t == ShowTarget::ForeignWindow; }

bool WaylandOnly(ShowTarget t) {
  return t == ShowTarget::Saver || t == ShowTarget::Wallpaper || t == ShowTarget::Idle;
}

DisplayChoice Chosen(DisplaySystem system) {
  DisplayChoice c;
  c.ok = true;
  c.system = system;
  return c;
}

DisplayChoice Refused(std::string error) {
  DisplayChoice c;
  c.error = std::move(error);
  return c;
}

}  // namespace

DisplayChoice ChooseDisplay(const ShowOptions& options, const char* waylandDisplay) {
  const ShowTarget t = options.target;
  switch (options.display) {
    case DisplayForce::Wayland:
      if (X11Only(t)) return Refused("-root and -window-id are X11 windows: not with -wayland");
      return Chosen(DisplaySystem::Wayland);
    case DisplayForce::X11:
      if (WaylandOnly(t)) return Refused("-saver, -wallpaper and -idle need Wayland: not with -x11");
      return Chosen(DisplaySystem::X11);
    case DisplayForce::Any:
      break;
  }
  if (X11Only(t)) return Chosen(DisplaySystem::X11);
  if (WaylandOnly(t) || IsSet(waylandDisplay)) return Chosen(DisplaySystem::Wayland);
  return Chosen(DisplaySystem::X11);
}

}  // namespace glintora
