// The base of the program's dialogs: a dialog-class window built from an empty in-memory
// template, whose controls are created at positions given in twips. The window keeps `this` in
// DWLP_USER; the procedure only unpacks messages and calls the On... members.
//
//   TwipsRect / PixelRect        geometry in twips and its conversion to pixels
//   PumpPendingMessages          the thread's pending messages, with dialog keyboard handling
//   WaitForMessage               blocks until a message is pending or a timeout passes
//   DialogWindow                 create, show, run until closed, controls, help topics
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/win32/dialogs/gdi_handles.h"

namespace glintora {

// left, top, width, height in twips.
struct TwipsRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  TwipsRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Width, Height}; }
};

// Twips to pixels, rounded half to even; edges are converted, so abutting rectangles stay so.
int TwipsToPixels(int twips, int twipsPerPixel);
RECT PixelRect(const TwipsRect& r, int twipsPerPixelX, int twipsPerPixelY);

// A control's whole text, however long, as UTF-8.
std::string WindowText(HWND control);

// Dispatches every pending message of the thread. Keyboard input meant for a dialog goes through
// IsDialogMessage (Tab, Enter, Esc, access keys); F1 asks that dialog for help. False when WM_QUIT
// was taken; it is posted again for the outer loop.
bool PumpPendingMessages();
// Blocks until a message is pending or timeoutMs have passed.
void WaitForMessage(DWORD timeoutMs);

// Sent by the pump to a dialog when F1 is pressed in it; lParam: the window with the focus.
constexpr UINT kHelpKeyMessage = WM_APP + 0x41;

class DialogWindow {
 public:
  DialogWindow() = default;
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  bool IsOpen() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

  // Processes messages until the window has been destroyed. With an owner, the owner is disabled
  // meanwhile (modal use) and enabled again before the window goes.
  void RunUntilClosed(HWND disabledOwner = nullptr);
  // Destroys the window (the modal owner is enabled first, so it gets the activation back).
  void Destroy();
  // The control by its identifier.
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 protected:
  // Creates the window hidden with a fixed dialog frame, the caption and a client area of the
  // given twips; OnCreate then builds the controls.
  bool CreateDialogFrame(HINSTANCE instance, HWND owner, const std::string& caption,
                         int clientWidthTwips, int clientHeightTwips, HMENU menu, int twipsX,
                         int twipsY);

  // CreateDialogFrame (the program's module when instance is null), then shows the dialog.
  bool OpenDialogFrame(HINSTANCE instance, HWND owner, const std::string& caption,
                       int clientWidthTwips, int clientHeightTwips, HMENU menu, int twipsX,
                       int twipsY);

  // A child control at r (twips, relative to the client area). help: its help topic, 0 none.
  HWND AddControl(const char* className, const char* text, DWORD style, const TwipsRect& r,
                  int id, int help = 0, DWORD exStyle = 0);
  void SetHelpTopic(HWND control, int help) { helpTopics_[control] = help; }
  void SetMenuHelpTopic(int itemId, int help) { menuTopics_[itemId] = help; }
  int HelpTopicOf(HWND control) const;
  HFONT Font() const { return font_.Get(); }
  int TwipsX() const { return twipsX_; }
  int TwipsY() const { return twipsY_; }

  virtual void OnCreate() {}
  virtual void OnCommand(int id, int code, HWND control) { (void)id, (void)code, (void)control; }
  // The close box, Alt+F4, the system menu. Default: destroy.
  virtual void OnClose() { Destroy(); }
  virtual void OnDestroy() {}
  // F1 with the focus in control, or on a menu item (control null); the topic, 0 when none.
  virtual void OnHelpKey(HWND control, int topic) { (void)control, (void)topic; }
  // Any other message; set handled and return the result to take it.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    (void)message, (void)wParam, (void)lParam, (void)handled;
    return 0;
  }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  HWND modalOwner_ = nullptr;
  HINSTANCE instance_ = nullptr;
  int twipsX_ = 15, twipsY_ = 15;
  FontHandle font_;
  std::map<HWND, int> helpTopics_;
  std::map<int, int> menuTopics_;  // by menu item id
};

}  // namespace glintora
