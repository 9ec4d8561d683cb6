// How the saver and the wallpaper cover the outputs, chosen by what the compositor offers, never
// by the desktop's name: the saver on the layer shell's overlay layer, else as one undecorated
// full-screen window per output (any xdg-shell desktop); the wallpaper only on the layer shell,
// on the bottom layer where Plasma's shell is offered (its own desktop shares the background
// layer and would hide ours), on the background layer elsewhere. Portable.
#pragma once

#include <string>

#include "display/show_options.h"

namespace glintora {

struct CompositorOffer {
  bool LayerShell = false;   // zwlr_layer_shell_v1
  bool PlasmaShell = false;  // org_kde_plasma_shell
  bool IdleSource = false;   // idle reports: a protocol for a seat, or GNOME's monitor
};

enum class CoverSurface { None, Overlay, FullScreenWindow, Bottom, Background };

struct CoverPlan {
  CoverSurface Surface = CoverSurface::None;  // None for the targets that cover nothing
  std::string Missing;  // non-empty: the one line saying what is missing and what works instead
};

CoverPlan PlanCover(ShowTarget target, const CompositorOffer& offer);

}  // namespace glintora
