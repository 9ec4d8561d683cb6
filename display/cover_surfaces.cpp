#include "display/cover_surfaces.h"

namespace glintora {

CoverPlan PlanCover(ShowTarget target, const CompositorOffer& offer) {
  CoverPlan plan;
  if (target == ShowTarget::Wallpaper) {
    if (!offer.LayerShell) {
      plan.Missing = "this compositor offers no layer shell (zwlr_layer_shell_v1), which -wallpaper "
                     "needs: GNOME-like desktops give programs no way to draw below windows; the "
                     "window and -fullscreen work here";
    }
    plan.Surface = !offer.LayerShell ? CoverSurface::None
                   : offer.PlasmaShell ? CoverSurface::Bottom
                                       : CoverSurface::Background;
  } else if (target == ShowTarget::Saver || target == ShowTarget::Idle) {
    if (target == ShowTarget::Idle && !offer.IdleSource) {
      plan.Missing = "this compositor offers no idle notification (ext_idle_notifier_v1 or "
                     "org_kde_kwin_idle) for a seat and the session bus no GNOME idle monitor, "
                     "which -idle needs; the window, -fullscreen and -saver work here";
    }
    plan.Surface = offer.LayerShell ? CoverSurface::Overlay : CoverSurface::FullScreenWindow;
  }
  return plan;
}

}  // namespace glintora
