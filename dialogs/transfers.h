// The moves of values between the properties dialog's fields and the places settings live: the
// store and the current template file. The dialog holds its values only as the texts of its
// controls, so every operation works on the dialog's view; each text write raises the field's
// change handling, so the cross-field rules run during a load or a reset.
#pragma once

#include <string>

#include "dialogs/field_model.h"
#include "settings/profile.h"
#include "settings/store.h"

namespace glintora {

// Colour and firework fields from the store, then the two check boxes.
void LoadPropsFromStore(DialogView& dialog, Store& store);

// AnimationType 0, then the leading number of every colour and firework field in box order, then
// the check boxes (0 or 1).
void SavePropsToStore(const DialogView& dialog, Store& store);

// The fields get their factory texts and both check boxes are checked (stored only when the
// dialog is next saved); the advanced and sound factory values go straight to the store.
void ResetPropsToFactory(DialogView& dialog, Store& store);

// Colours and firework texts from the current template into the fields, unvalidated; the
// advanced and sound values from the file straight into the store.
void LoadTemplateFile(DialogView& dialog, Store& store, const Templates& templates);

// Writes the current template: Admin, the store's advanced and sound values, then the colours
// and fireworks as the dialog currently holds them, all in one replacement of the file. False
// when it failed: the file is as it was and reason says why.
bool SaveTemplateFile(const DialogView& dialog, Store& store, const Templates& templates,
                      std::string& reason);

// The properties dialog's opening: a store that was never initialised (AnimationType absent or
// not a number) gets the factory values first. Then the fields are loaded from the store.
// True when the factory values were written.
bool OpenPropsFromStore(DialogView& dialog, Store& store);

}  // namespace glintora
