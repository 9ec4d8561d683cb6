// Shared by the dialog tests: control names, a linked properties dialog and compact text checks.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/props_fields.h"

namespace glintora::testing {

inline ControlId Fire(int i) { return {Control::TxtFire, i}; }
inline ControlId Col(int i) { return {Control::TxtPixCol, i}; }
inline ControlId Hue(int i) { return {Control::TxtPixHue, i}; }

using Strings = std::vector<std::string>;

// Rows of {control, its text}.
inline void ExpectTexts(MemoryDialogView& view, std::initializer_list<std::pair<ControlId, const char*>> rows) {
  for (const auto& [id, text] : rows) EXPECT_EQ(view.Text(id), text) << static_cast<int>(id.control) << "/" << id.index;
}

// The properties dialog with its field rules attached.
struct PropsDialog {
  PropsDialog() : model(view) {
    view.SetListener(&model);
    model.Link();
  }
  // Puts a text in place without raising anything, as a starting state.
  void Put(ControlId id, const std::string& text) { view.MutableBox(id).text = text; }
  // The seven burst shares, in the order they give way.
  Strings Shares() {
    Strings out;
    for (int b : {11, 13, 16, 25, 28, 31, 50}) out.push_back(view.Text(Fire(b)));
    return out;
  }
  void PutShares(const Strings& texts) {
    const int boxes[] = {11, 13, 16, 25, 28, 31, 50};
    for (std::size_t k = 0; k < texts.size(); ++k) Put(Fire(boxes[k]), texts[k]);
  }

  MemoryDialogView view;
  PropsFieldModel model;
};

}  // namespace glintora::testing
