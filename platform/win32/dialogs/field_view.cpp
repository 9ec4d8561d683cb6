// Sections: registration | forwarded messages | the EDIT subclass | DialogView
#include "platform/win32/dialogs/field_view.h"

#include <string>
#include <vector>

#include "platform/win32/dialogs/dialog_window.h"
#include "platform/win32/files/wide_text.h"

namespace glintora {

// --- registration ---

Win32FieldView::~Win32FieldView() {
  for (const auto& [edit, procedure] : editProcs_) {
    if (IsWindow(edit)) {
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
      SetWindowLongPtrW(edit, GWLP_USERDATA, 0);
    }
  }
}

void Win32FieldView::AddTextBox(ControlId id, HWND edit) {
  if (!edit) return;
  controls_[id] = edit;
  ids_[edit] = id;
  SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProcs_[edit] = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProcedure)));
}

void Win32FieldView::AddSpinner(ControlId id, HWND scrollBar) {
  if (!scrollBar) return;
  controls_[id] = scrollBar;
  ids_[scrollBar] = id;
  spinners_[id].window = scrollBar;
}

void Win32FieldView::AddCheck(ControlId id, HWND button) {
  if (!button) return;
  controls_[id] = button;
  ids_[button] = id;
}

void Win32FieldView::AddSwatch(ControlId id, HWND control) {
  if (!control) return;
  controls_[id] = control;
  ids_[control] = id;
}

void Win32FieldView::AddList(ControlId id, HWND comboBox) {
  if (!comboBox) return;
  controls_[id] = comboBox;
  ids_[comboBox] = id;
  lists_.insert(comboBox);
}

HWND Win32FieldView::Handle(ControlId id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::optional<ControlId> Win32FieldView::Find(HWND control) const {
  auto it = ids_.find(control);
  if (it == ids_.end()) return std::nullopt;
  return it->second;
}

// --- forwarded messages ---

bool Win32FieldView::HandleCommand(WPARAM wParam, LPARAM lParam) {
  auto id = Find(reinterpret_cast<HWND>(lParam));
  if (!id) return false;
  const int code = HIWORD(wParam);
  const HWND control = reinterpret_cast<HWND>(lParam);
  const bool edit = editProcs_.count(control) != 0;
  const bool list = lists_.count(control) != 0;
  if (listener_ && ((edit && code == EN_CHANGE) || (list && code == CBN_SELCHANGE))) {
    listener_->OnTextChanged(*id);
  }
  return true;
}

bool Win32FieldView::HandleScroll(WPARAM wParam, LPARAM lParam) {
  auto id = Find(reinterpret_cast<HWND>(lParam));
  if (!id || spinners_.count(*id) == 0) return false;
  // The top arrow raises the value.
  const int code = LOWORD(wParam);
  if (listener_ && (code == SB_LINEUP || code == SB_LINEDOWN)) {
    listener_->OnSpinnerArrow(*id, code == SB_LINEUP);
  }
  return true;
}

HBRUSH Win32FieldView::HandleColor(HDC dc, HWND control) {
  auto id = Find(control);
  if (!id) return nullptr;
  auto it = colors_.find(*id);
  if (it == colors_.end()) return nullptr;
  if (editProcs_.count(control)) {
    SetTextColor(dc, static_cast<COLORREF>(it->second.color));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
  }
  SetBkColor(dc, static_cast<COLORREF>(it->second.color));
  return it->second.brush.Get();
}

// --- the EDIT subclass ---

LRESULT CALLBACK Win32FieldView::EditProcedure(HWND edit, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  auto* self = reinterpret_cast<Win32FieldView*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  if (!self) return DefWindowProcW(edit, message, wParam, lParam);
  return self->OnEditMessage(edit, message, wParam, lParam);
}

LRESULT Win32FieldView::OnEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = editProcs_[edit];
  const ControlId id = ids_[edit];
  switch (message) {
    case WM_CHAR:
      // A refused key inserts nothing. wParam is one UTF-16 unit, judged whole.
      if (listener_ && !listener_->OnKeyPress(id, static_cast<char32_t>(wParam & 0xFFFF))) {
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if ((wParam == VK_UP || wParam == VK_DOWN) && listener_ &&
          listener_->OnArrowKey(id, wParam == VK_UP)) {
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      // The EDIT places its caret first; the model's selection comes after.
      LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
      if (listener_) listener_->OnFocusGot(id);
      return result;
    }
    case WM_KILLFOCUS: {
      LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
      if (listener_) listener_->OnFocusLost(id);
      return result;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrW(edit, GWLP_USERDATA, 0);
      editProcs_.erase(edit);
      ids_.erase(edit);
      controls_.erase(id);
      return CallWindowProcW(original, edit, message, wParam, lParam);
    default:
      break;
  }
  return CallWindowProcW(original, edit, message, wParam, lParam);
}

// --- DialogView ---

std::string Win32FieldView::Text(ControlId id) const {
  HWND control = Handle(id);
  return control ? WindowText(control) : std::string();
}

void Win32FieldView::SetText(ControlId id, const std::string& text) {
  HWND control = Handle(id);
  if (!control) return;
  if (editProcs_.count(control)) {
    SetWindowTextW(control, Widen(text).c_str());  // EN_CHANGE runs the model before this returns
    return;
  }
  // A pick list: the first entry spelled exactly so, else the first entry.
  const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
  LRESULT chosen = count > 0 ? 0 : -1;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(buffer.data()));
    if (text == Narrow(buffer.data())) {
      chosen = i;
      break;
    }
  }
  SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  if (listener_) listener_->OnTextChanged(id);
}

TextSelection Win32FieldView::Selection(ControlId id) const {
  DWORD start = 0, end = 0;
  if (HWND control = Handle(id)) {
    SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  }
  return {static_cast<int>(start), static_cast<int>(end - start)};
}

void Win32FieldView::SetSelection(ControlId id, TextSelection selection) {
  if (HWND control = Handle(id)) {
    SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(selection.start),
                 static_cast<LPARAM>(selection.start + selection.length));
  }
}

void Win32FieldView::SetMaxLength(ControlId id, int length) {
  if (HWND control = Handle(id)) {
    SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(length > 0 ? length : 0), 0);
  }
}

bool Win32FieldView::ReadOnly(ControlId id) const {
  HWND control = Handle(id);
  return control && (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0;
}

int Win32FieldView::SpinnerValue(ControlId id) const {
  auto it = spinners_.find(id);
  return it == spinners_.end() ? 0 : it->second.value;
}

void Win32FieldView::ShowSpinnerPosition(const Spinner& spinner) const {
  // The scroll bar counts from the top, the spinner from the bottom.
  if (!spinner.window) return;
  SetScrollRange(spinner.window, SB_CTL, spinner.lower, spinner.upper, FALSE);
  SetScrollPos(spinner.window, SB_CTL, spinner.upper + spinner.lower - spinner.value, TRUE);
}

void Win32FieldView::SetSpinnerValue(ControlId id, int value) {
  Spinner& spinner = spinners_[id];
  spinner.value = value;
  ShowSpinnerPosition(spinner);
}

void Win32FieldView::SetSpinnerRange(ControlId id, int lower, int upper, int step) {
  Spinner& spinner = spinners_[id];
  spinner.lower = lower;
  spinner.upper = upper;
  spinner.step = step;
  ShowSpinnerPosition(spinner);
}

int Win32FieldView::CheckValue(ControlId id) const {
  HWND control = Handle(id);
  return control && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32FieldView::SetCheckValue(ControlId id, int value) {
  if (HWND control = Handle(id)) {
    SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void Win32FieldView::SetColor(ControlId id, std::uint32_t color) {
  Colored& colored = colors_[id];
  colored.color = color & 0x00FFFFFFu;
  colored.brush.Reset(CreateSolidBrush(static_cast<COLORREF>(colored.color)));
  if (HWND control = Handle(id)) InvalidateRect(control, nullptr, TRUE);
}

std::optional<std::uint32_t> Win32FieldView::ColorOf(ControlId id) const {
  auto it = colors_.find(id);
  if (it == colors_.end()) return std::nullopt;
  return it->second.color;
}

void Win32FieldView::SetFocus(ControlId id) {
  if (HWND control = Handle(id)) ::SetFocus(control);
}

void Win32FieldView::SetEnabled(ControlId id, bool enabled) {
  if (HWND control = Handle(id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

void Win32FieldView::Beep() { MessageBeep(MB_OK); }

}  // namespace glintora
