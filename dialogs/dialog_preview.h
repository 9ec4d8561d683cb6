// The properties dialog's live preview: the settings come from the fields as currently edited
// (not from the store), clamped to the dialog's own bounds and converted to engine units, and
// the show runs in the dialog's picture box.
#pragma once

#include "dialogs/field_model.h"
#include "engine/engine_record.h"
#include "settings/settings_record.h"
#include "settings/store.h"
#include "startup/run_state.h"

namespace glintora {

// The preview's view of the store and its picture box: focal length and frame delay from the
// store, then the surface size (the box's inner size in twips over twips per pixel), centre and
// projection scale.
void PreparePreviewView(Store& store, SettingsRecord& settings, double innerWidthTwips,
                        double innerHeightTwips, const RunState& run);

// The six colour fields, clamped (percentages 0..100, wedge 0..360), then the hue wheel.
void ReadPreviewColors(const DialogView& dialog, SettingsRecord& settings);

// The firework fields and the two check boxes, clamped to the dialog's bounds (an empty or
// non-numeric field reads 0 and so takes its lower bound), then converted: gravity and damping,
// the particle caps, the radii in engine units, the knot arrays.
void ReadPreviewFireFields(const DialogView& dialog, SettingsRecord& settings);

// ReadPreviewFireFields, then the show until ShowInterrupted or StopRequested ends it. The
// surface, view geometry, colours and hue wheel must already be set up.
void RunDialogPreview(const DialogView& dialog, EngineRecord& engine, SettingsRecord& settings,
                      RunState& run);

}  // namespace glintora
