// Shared by the dialog tests: control names, scripted sessions and a linked properties dialog.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/props_fields.h"
#include "settings/store.h"

namespace glintora::testing {

inline ControlId Fire(int i) { return {Control::TxtFire, i}; }
inline ControlId Col(int i) { return {Control::TxtPixCol, i}; }
inline ControlId Hue(int i) { return {Control::TxtPixHue, i}; }

using Strings = std::vector<std::string>;

// Rows of {control, its text}.
inline void ExpectTexts(MemoryDialogView& view, std::initializer_list<std::pair<ControlId, const char*>> rows) {
  for (const auto& [id, text] : rows) EXPECT_EQ(view.Text(id), text) << static_cast<int>(id.control) << "/" << id.index;
}

// Rows of {section, key, text} put in a store.
inline void WriteAll(Store& store, std::initializer_list<std::array<const char*, 3>> rows) {
  for (const auto& [section, key, text] : rows) store.Write(section, key, text);
}

// One step of a user's session, then (when `want` is given) the text `at` shows, by default the
// step's own control's. Steps: p puts the text without raising anything, e enters it, l puts it
// then focuses and leaves, b moves the focus away, u/d press Up/Down, +/- click the spinner.
constexpr ControlId kSelf{Control::CboFont, -1};
struct Step {
  char op;
  ControlId id = kSelf;
  const char* text = "";
  ControlId at = kSelf;
  const char* want = nullptr;
};
inline void Play(MemoryDialogView& view, std::initializer_list<Step> steps) {
  int n = 0;
  for (const Step& s : steps) {
    ++n;
    switch (s.op) {
      case 'l': view.MutableBox(s.id).text = s.text; view.Focus(s.id); view.FocusElsewhere(); break;
      case 'p': view.MutableBox(s.id).text = s.text; break;
      case 'e': view.Enter(s.id, s.text); break;
      case 'b': view.FocusElsewhere(); break;
      case 'u': case 'd': view.PressArrow(s.id, s.op == 'u'); break;
      case '+': case '-': view.ClickSpinner(s.id, s.op == '+'); break;
      default: ADD_FAILURE() << "unknown step " << s.op;
    }
    if (!s.want) continue;
    EXPECT_EQ(view.Text(s.at == kSelf ? s.id : s.at), s.want) << "step " << n;
  }
}

// The properties dialog with its field rules attached.
struct PropsDialog {
  PropsDialog() : model(view) { view.SetListener(&model), model.Link(); }
  // The seven burst shares, in the order they give way.
  static constexpr int kShares[] = {11, 13, 16, 25, 28, 31, 50};
  Strings Shares() {
    Strings out;
    for (int b : kShares) out.push_back(view.Text(Fire(b)));
    return out;
  }
  void PutShares(const Strings& texts) {
    for (std::size_t k = 0; k < texts.size(); ++k) view.MutableBox(Fire(kShares[k])).text = texts[k];
  }

  MemoryDialogView view;
  PropsFieldModel model;
};

}  // namespace glintora::testing
