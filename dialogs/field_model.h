// The seam between the dialog models and real controls.
//
//   ControlId       a control by array name and index ("txtFire 13")
//   DialogView      what a model asks of the controls: texts, values, selection, focus, enable
//   FieldEvents     what the controls report to a model: change, key, focus, spinner arrow
//   WriteFieldText  the one way a model writes a text (skips a write that changes nothing)
//   MemoryDialogView  an in-memory DialogView with a scripted user, for tests
//
// A Win32 dialog implements DialogView over its EDIT, scroll bar and button controls and forwards
// EN_CHANGE, WM_CHAR, WM_KEYDOWN (Up/Down), EN_SETFOCUS, EN_KILLFOCUS and WM_VSCROLL to the model's
// FieldEvents. The rules live only in the models: the dialog procedure decides nothing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace glintora {

enum class Control : std::uint8_t {
  // Properties dialog.
  TxtFire, SpnFire, ChkMultiMom, ChkJetBurst,
  TxtPixHue, SpnPixHue, PicPixHue, TxtPixCol, SpnPixCol,
  // Advanced settings dialog.
  TxtAdv, SpnAdv, TxtMessage, ChkResize, ChkMouseM, ChkSound, CboFont,
  // Template file dialog.
  TxtFile,
};

struct ControlId {
  Control control;
  int index = 0;
  bool operator==(const ControlId& o) const { return control == o.control && index == o.index; }
  bool operator!=(const ControlId& o) const { return !(*this == o); }
  bool operator<(const ControlId& o) const {
    return control != o.control ? control < o.control : index < o.index;
  }
};

// Selection inside a text box, in characters.
struct TextSelection {
  int start = 0;
  int length = 0;
};

// The controls of one dialog, as a model sees them. Every call names the control it acts on.
class DialogView {
 public:
  virtual ~DialogView() = default;

  // Text boxes. SetText must raise the control's change handling (FieldEvents::OnTextChanged)
  // before it returns, as WM_SETTEXT raises EN_CHANGE; models rely on that order.
  virtual std::string Text(ControlId id) const = 0;
  virtual void SetText(ControlId id, const std::string& text) = 0;
  virtual TextSelection Selection(ControlId id) const = 0;
  virtual void SetSelection(ControlId id, TextSelection selection) = 0;
  virtual void SetMaxLength(ControlId id, int length) = 0;
  virtual bool ReadOnly(ControlId id) const = 0;

  // Spinners (a small vertical scroll bar). Setting the value from code raises nothing.
  virtual int SpinnerValue(ControlId id) const = 0;
  virtual void SetSpinnerValue(ControlId id, int value) = 0;
  // lower is the bottom end, upper the top end; step is what one arrow click moves.
  virtual void SetSpinnerRange(ControlId id, int lower, int upper, int step) = 0;

  // Check boxes: 1 checked, 0 cleared.
  virtual int CheckValue(ControlId id) const = 0;
  virtual void SetCheckValue(ControlId id, int value) = 0;

  // Colour of a swatch (PicPixHue) or of a text box's text (TxtMessage); 0x00BBGGRR.
  virtual void SetColor(ControlId id, std::uint32_t color) = 0;
  virtual void SetFocus(ControlId id) = 0;
  virtual void SetEnabled(ControlId id, bool enabled) = 0;
  // The short alert of a refused key.
  virtual void Beep() = 0;
};

// What the controls report to the model that owns their rules.
class FieldEvents {
 public:
  virtual ~FieldEvents() = default;
  virtual void OnTextChanged(ControlId id) = 0;
  // A typed character (WM_CHAR), whole: a letter beyond ASCII must not pass for the digit its
  // low byte spells. False: the key is refused and must insert nothing.
  virtual bool OnKeyPress(ControlId id, char32_t ch) = 0;
  // Up (true) or Down (false) pressed in a field. True when the model handled the key.
  virtual bool OnArrowKey(ControlId id, bool up) = 0;
  virtual void OnFocusGot(ControlId id) = 0;
  virtual void OnFocusLost(ControlId id) = 0;
  // One click on a spinner's arrow (up raises the value).
  virtual void OnSpinnerArrow(ControlId spinner, bool up) = 0;
};

// Writes text into a text box unless it already holds exactly that text. A text box raises its
// change event only when its text really changes; the cross-field rules count on this.
inline void WriteFieldText(DialogView& view, ControlId id, const std::string& text) {
  if (view.Text(id) != text) view.SetText(id, text);
}

// In-memory controls. Text writes call the listener's OnTextChanged synchronously; the scripted
// user (Focus, Type, PressArrow, ClickSpinner) goes through the listener as real input would.
class MemoryDialogView : public DialogView {
 public:
  struct TextBox {
    std::string text;
    TextSelection selection;
    int max_length = 0;  // 0: unlimited
    bool read_only = false;
    bool enabled = true;
    std::uint32_t color = 0;
  };
  struct Spinner {
    int value = 0, lower = 0, upper = 0, step = 1;
    bool enabled = true;
  };

  void SetListener(FieldEvents* listener) { listener_ = listener; }

  std::string Text(ControlId id) const override { return Box(id).text; }
  void SetText(ControlId id, const std::string& text) override {
    TextBox& box = boxes_[id];
    box.text = text;
    box.selection = {static_cast<int>(text.size()), 0};
    ++writes_[id];
    if (listener_) listener_->OnTextChanged(id);
  }
  TextSelection Selection(ControlId id) const override { return Box(id).selection; }
  void SetSelection(ControlId id, TextSelection s) override { boxes_[id].selection = s; }
  void SetMaxLength(ControlId id, int length) override { boxes_[id].max_length = length; }
  bool ReadOnly(ControlId id) const override { return Box(id).read_only; }

  int SpinnerValue(ControlId id) const override { return Spin(id).value; }
  void SetSpinnerValue(ControlId id, int value) override { spinners_[id].value = value; }
  void SetSpinnerRange(ControlId id, int lower, int upper, int step) override {
    Spinner& s = spinners_[id];
    s.lower = lower;
    s.upper = upper;
    s.step = step;
  }

  int CheckValue(ControlId id) const override {
    auto it = checks_.find(id);
    return it == checks_.end() ? 0 : it->second;
  }
  void SetCheckValue(ControlId id, int value) override { checks_[id] = value; }

  void SetColor(ControlId id, std::uint32_t color) override { boxes_[id].color = color; }
  void SetFocus(ControlId id) override { Focus(id); }
  void SetEnabled(ControlId id, bool enabled) override { boxes_[id].enabled = enabled; }
  void Beep() override { ++beeps_; }

  // --- the scripted user ---

  // Moves the focus: the old control loses it, the new one gets it.
  void Focus(ControlId id) {
    if (has_focus_ && focus_ == id) return;
    if (has_focus_ && listener_) listener_->OnFocusLost(focus_);
    focus_ = id;
    has_focus_ = true;
    if (listener_) listener_->OnFocusGot(id);
  }
  // Focuses the control and types the characters one by one; '\b' is Backspace.
  void Type(ControlId id, const std::string& chars) {
    Focus(id);
    for (char ch : chars) {
      if (listener_ && !listener_->OnKeyPress(id, static_cast<unsigned char>(ch))) continue;
      TextBox& box = boxes_[id];
      std::string text = box.text;
      int start = std::min<int>(box.selection.start, static_cast<int>(text.size()));
      int length = std::min<int>(box.selection.length, static_cast<int>(text.size()) - start);
      if (ch == '\b') {
        if (length == 0 && start > 0) { --start; length = 1; }
        text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
      } else {
        if (box.max_length > 0 &&
            static_cast<int>(text.size()) - length + 1 > box.max_length) continue;
        text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), 1, ch);
        ++start;
      }
      if (text == box.text) continue;
      box.text = text;
      box.selection = {start, 0};
      if (listener_) listener_->OnTextChanged(id);
    }
  }
  // Focuses the field and types a whole new value over its (selected) text.
  void Enter(ControlId id, const std::string& chars) {
    Focus(id);
    TextBox& box = boxes_[id];
    box.selection = {0, static_cast<int>(box.text.size())};
    Type(id, chars);
  }
  // Presses Up or Down in a field; returns whether the model handled it.
  bool PressArrow(ControlId id, bool up) {
    Focus(id);
    return listener_ && listener_->OnArrowKey(id, up);
  }
  void ClickSpinner(ControlId spinner, bool up) {
    if (listener_) listener_->OnSpinnerArrow(spinner, up);
  }
  // Moves the focus away to a control that has no rules (a button).
  void FocusElsewhere() { Focus({Control::CboFont, 9999}); }

  // --- inspection ---
  const TextBox& Box(ControlId id) const {
    static const TextBox empty;
    auto it = boxes_.find(id);
    return it == boxes_.end() ? empty : it->second;
  }
  const Spinner& Spin(ControlId id) const {
    static const Spinner empty;
    auto it = spinners_.find(id);
    return it == spinners_.end() ? empty : it->second;
  }
  TextBox& MutableBox(ControlId id) { return boxes_[id]; }
  int Beeps() const { return beeps_; }
  int Writes(ControlId id) const {
    auto it = writes_.find(id);
    return it == writes_.end() ? 0 : it->second;
  }
  bool HasFocus(ControlId id) const { return has_focus_ && focus_ == id; }

 private:
  FieldEvents* listener_ = nullptr;
  std::map<ControlId, TextBox> boxes_;
  std::map<ControlId, Spinner> spinners_;
  std::map<ControlId, int> checks_;
  std::map<ControlId, int> writes_;
  ControlId focus_{Control::TxtFire, -1};
  bool has_focus_ = false;
  int beeps_ = 0;
};

}  // namespace glintora
