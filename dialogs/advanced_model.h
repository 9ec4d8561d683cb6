// The advanced settings dialog: frame delay (TxtAdv 0), message font size (TxtAdv 4) and hue
// (TxtAdv 5) with their spinners, focal length (TxtAdv 6), the message (TxtMessage), the font
// list, the two behaviour check boxes (ChkResize, ChkMouseM) and the sound effects check box
// (ChkSound, stored apart in [SoundFX]). It reads the store when it opens and writes it only on OK.
#pragma once

#include <string>
#include <vector>

#include "dialogs/field_model.h"
#include "dialogs/text_entry.h"
#include "settings/store.h"

namespace glintora {

class AdvancedModel : public FieldEvents {
 public:
  // fonts: the screen fonts in the order the system lists them.
  AdvancedModel(DialogView& view, Store& store, std::vector<std::string> fonts)
      : view_(view), store_(store), fonts_(std::move(fonts)) {}

  // Links the spinners, then fills every control from the store. (Window placement is the
  // dialog's own.)
  void Open();
  // The factory values in the controls; nothing is stored until OK.
  void Defaults();
  // Clamps the four numeric boxes and writes every value to the store. The dialog moves the
  // focus to its OK button and lets pending events run before calling this.
  void Ok();

  const std::vector<std::string>& Fonts() const { return fonts_; }
  // Index of the chosen font, -1 when the list is empty.
  int FontIndex() const { return fontIndex_; }
  void ChooseFont(int index);
  std::string FontName() const;

  void OnTextChanged(ControlId id) override;
  bool OnKeyPress(ControlId id, char32_t ch) override;
  bool OnArrowKey(ControlId id, bool up) override;
  void OnFocusGot(ControlId id) override;
  void OnFocusLost(ControlId id) override;
  void OnSpinnerArrow(ControlId spinner, bool up) override;

 private:
  void SelectFont(const std::string& name);
  void ClampBox(int index);

  DialogView& view_;
  Store& store_;
  std::vector<std::string> fonts_;
  int fontIndex_ = -1;
  std::vector<SpinnerLink> links_;
};

}  // namespace glintora
