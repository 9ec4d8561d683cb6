// The dialog models' view over real controls: EDIT boxes, small vertical scroll bars as
// spinners, check boxes, colour swatches and pick lists, each registered under its ControlId.
//
// A text write (SetText) goes through WM_SETTEXT, whose EN_CHANGE the owning dialog forwards to
// HandleCommand before SetWindowTextA returns, so the model's change handling runs inside the
// write. The EDITs are subclassed so typed characters, Up/Down and focus changes reach the model.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <set>

#include "dialogs/field_model.h"
#include "platform/win32/dialogs/gdi_handles.h"

namespace glintora {

class Win32FieldView : public DialogView {
 public:
  Win32FieldView() = default;
  ~Win32FieldView() override;
  Win32FieldView(const Win32FieldView&) = delete;
  Win32FieldView& operator=(const Win32FieldView&) = delete;

  void SetListener(FieldEvents* listener) { listener_ = listener; }

  // Registration; text boxes are subclassed here.
  void AddTextBox(ControlId id, HWND edit);
  void AddSpinner(ControlId id, HWND scrollBar);
  void AddCheck(ControlId id, HWND button);
  void AddSwatch(ControlId id, HWND control);  // painted in its colour by HandleColor
  void AddList(ControlId id, HWND comboBox);   // Text: the selected entry; SetText selects

  HWND Handle(ControlId id) const;
  std::optional<ControlId> Find(HWND control) const;

  // Forwarded by the owning dialog. True when the message concerned a registered control.
  bool HandleCommand(WPARAM wParam, LPARAM lParam);
  bool HandleScroll(WPARAM wParam, LPARAM lParam);
  // WM_CTLCOLOR*: the brush for a swatch, or the text colour of a coloured text box; nullptr
  // when the control is not one of them.
  HBRUSH HandleColor(HDC dc, HWND control);

  std::string Text(ControlId id) const override;
  void SetText(ControlId id, const std::string& text) override;
  TextSelection Selection(ControlId id) const override;
  void SetSelection(ControlId id, TextSelection selection) override;
  void SetMaxLength(ControlId id, int length) override;
  bool ReadOnly(ControlId id) const override;
  int SpinnerValue(ControlId id) const override;
  void SetSpinnerValue(ControlId id, int value) override;
  void SetSpinnerRange(ControlId id, int lower, int upper, int step) override;
  int CheckValue(ControlId id) const override;
  void SetCheckValue(ControlId id, int value) override;
  void SetColor(ControlId id, std::uint32_t color) override;
  void SetFocus(ControlId id) override;
  void SetEnabled(ControlId id, bool enabled) override;
  void Beep() override;

  // The colour last set on a control (swatch fill or text colour).
  std::optional<std::uint32_t> ColorOf(ControlId id) const;

 private:
  struct Spinner {
    HWND window = nullptr;
    int value = 0, lower = 0, upper = 0, step = 1;
  };
  struct Colored {
    std::uint32_t color = 0;
    BrushHandle brush;
  };

  static LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
  void ShowSpinnerPosition(const Spinner& spinner) const;

  FieldEvents* listener_ = nullptr;
  std::map<ControlId, HWND> controls_;
  std::map<HWND, ControlId> ids_;
  std::map<HWND, WNDPROC> editProcs_;
  std::set<HWND> lists_;
  std::map<ControlId, Spinner> spinners_;
  std::map<ControlId, Colored> colors_;
};

}  // namespace glintora
