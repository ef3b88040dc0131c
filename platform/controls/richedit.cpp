#include "richedit.h"

#include "control_base.h"
#include "controls.h"
#include "edit.h"

namespace qz::controls {
namespace {

constexpr size_t kRichEditExLimitDefault = 65536;

LRESULT OnSetBackgroundColor(HWND hwnd, EditState& s, WPARAM useSystem, LPARAM color) {
  COLORREF previous = s.richBackground ? s.richBackgroundColor : GetSysColor(COLOR_WINDOW);
  HBRUSH replaced = s.richBackground;
  s.richBackground = nullptr;
  if (!useSystem) {
    s.richBackground = CreateSolidBrush(static_cast<COLORREF>(color));
    s.richBackgroundColor = static_cast<COLORREF>(color);
  }
  if (replaced) DeleteObject(replaced);
  InvalidateRect(hwnd, nullptr, TRUE);
  return static_cast<LRESULT>(previous);
}

void OnExLimitText(EditState& s, LPARAM limit) {
  bool usable = limit > 0 && static_cast<size_t>(limit) <= kEditMaximumLimit;
  s.model.SetLimit(usable ? static_cast<size_t>(limit) : kRichEditExLimitDefault);
}

}  // namespace

// The rich edit is the multi-line edit with an event mask: EN_CHANGE and
// EN_UPDATE go out only when the mask asks for them, and setting the text
// programmatically (WM_SETTEXT) notifies nothing even then.
LRESULT CALLBACK RichEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  EditState* s = StateOf<EditState>(hwnd);
  if (!s) return EditWindowProc(hwnd, msg, wParam, lParam, true);
  switch (msg) {
    case EM_SETEVENTMASK: {
      DWORD previous = s->eventMask;
      s->eventMask = static_cast<DWORD>(lParam);
      return static_cast<LRESULT>(previous);
    }
    case EM_GETEVENTMASK:
      return static_cast<LRESULT>(s->eventMask);
    case EM_EXLIMITTEXT:
      OnExLimitText(*s, lParam);
      return 0;
    case EM_SETBKGNDCOLOR:
      return OnSetBackgroundColor(hwnd, *s, wParam, lParam);
    default:
      return EditWindowProc(hwnd, msg, wParam, lParam, true);
  }
}

}  // namespace qz::controls
