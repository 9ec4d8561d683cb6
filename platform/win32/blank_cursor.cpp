#include "platform/win32/blank_cursor.h"

#include <cstring>

namespace glintora {

HCURSOR BlankCursor(HINSTANCE instance) {
  // AND mask all ones and XOR mask all zeros: every pixel leaves the screen as it is.
  static const HCURSOR cursor = [instance] {
    BYTE andMask[32 * 32 / 8];
    BYTE xorMask[32 * 32 / 8];
    std::memset(andMask, 0xFF, sizeof andMask);
    std::memset(xorMask, 0x00, sizeof xorMask);
    return CreateCursor(instance, 0, 0, 32, 32, andMask, xorMask);
  }();
  return cursor;
}

}  // namespace glintora
