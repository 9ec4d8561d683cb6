// The run-time loaders: fill the SettingsRecord from the store, with the caps and clamps the
// engine relies on, and the hue wheel the colours are taken from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/settings_record.h"
#include "settings/store.h"

namespace glintora {

// The drawing surface as the loaders see it: its scale size (twips for the preview's picture
// box, pixels otherwise) and the screen's twips per pixel recorded at start-up.
struct SurfaceScale {
  double scaleWidth = 0;
  double scaleHeight = 0;
  bool isPreview = false;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

// The 43 firework parameters, capped (FireSparks by 30000 div FireWorks, FireLaunchPixel by
// FireSparks), the radii in engine units, and the spline knot arrays sized 0..FireSplineKnot.
void LoadFireParams(Store& store, SettingsRecord& record);

// The six colour parameters, as stored (no clamp).
void LoadColorParams(Store& store, SettingsRecord& record);

// Colours, hue wheel, the advanced parameters with their clamps, and the surface geometry:
// SurfaceWidth/Height, CenterX/Y and ProjectionScale.
void LoadAdvancedParams(Store& store, SettingsRecord& record, const SurfaceScale& surface);
inline void LoadAdvancedParams(Store& store, SettingsRecord& record, double scaleWidth,
                               double scaleHeight, bool isPreview, double twipsPerPixelX,
                               double twipsPerPixelY) {
  LoadAdvancedParams(store, record,
                     SurfaceScale{scaleWidth, scaleHeight, isPreview, twipsPerPixelX, twipsPerPixelY});
}

// The colour 0x00BBGGRR of hue (degrees) on the six-sector wheel whose primaries peak at the
// given percents; black from 360 on. Channels are kept within 0..255.
std::uint32_t HueColor(int hue, int red, int green, int blue);

// HueWheel[h] = HueColor(h, ColorRed, ColorGrn, ColorBlu) for h in 0..359.
void BuildHueWheel(SettingsRecord& record);

// LockMessage keeps at most this many characters after trimming.
inline constexpr std::size_t kLockMessageMax = 100;

}  // namespace glintora
