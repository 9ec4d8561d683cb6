// The layer-shell protocol's client header. Its get_layer_surface has an argument named
// "namespace", which C++ reads as a keyword: the name is changed for this header only.
#pragma once

#include <wayland-client.h>

#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client.h"
#undef namespace
