#include <strings.h>

#include "wm.h"

namespace qz::user {

// Visible, enabled WS_TABSTOP windows in creation order; WS_EX_CONTROLPARENT
// windows are looked into rather than stopped at.
static void CollectTabStops(Window* parent, std::vector<Window*>* out) {
  for (Window* c : parent->children) {
    if (!(c->style & WS_VISIBLE) || (c->style & WS_DISABLED)) continue;
    if (c->exStyle & WS_EX_CONTROLPARENT)
      CollectTabStops(c, out);
    else if (c->style & WS_TABSTOP)
      out->push_back(c);
  }
}

static void MoveTabFocus(Window* dialog, bool backwards) {
  Platform& p = P();
  std::vector<Window*>& stops = p.scratchWindows;
  stops.clear();
  CollectTabStops(dialog, &stops);
  if (stops.empty()) return;
  Window* focus = Find(p.focus);
  size_t n = stops.size();
  size_t at = n;
  for (size_t i = 0; i < n; ++i)
    if (focus && (stops[i] == focus || IsDescendant(stops[i], focus))) at = i;
  size_t next = at == n ? (backwards ? n - 1 : 0) : (backwards ? (at + n - 1) % n : (at + 1) % n);
  Window* target = stops[next];
  HWND handle = target->handle;
  LRESULT code = Send(target, WM_GETDLGCODE, 0, 0);
  SetFocus(handle);
  // An edit reached by Tab shows all its text selected.
  if (code & DLGC_HASSETSEL) SendMessageA(handle, EM_SETSEL, 0, -1);
}

static bool IsDefaultPushButton(const Window* w) {
  return w->cls && strcasecmp(w->cls->name.c_str(), "BUTTON") == 0 && (w->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
         (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

static Window* FindDefaultPushButton(Window* parent) {
  for (Window* c : parent->children) {
    if (IsDefaultPushButton(c)) return c;
    if (Window* found = FindDefaultPushButton(c)) return found;
  }
  return nullptr;
}

// Enter presses the focused push button, else the default push button, else
// IDOK; a disabled button of that id swallows the key.
static void PressDefaultButton(Window* dialog, Window* focus, LRESULT focusCode) {
  Window* button = nullptr;
  if (focus && (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) button = focus;
  if (!button) button = FindDefaultPushButton(dialog);
  int id = button ? static_cast<int>(button->id) : IDOK;
  HWND handle = button ? button->handle : GetDlgItem(dialog->handle, IDOK);
  if (handle && !IsWindowEnabled(handle)) {
    MessageBeep(0);
    return;
  }
  Send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(handle));
}

// Tab, Enter and Escape as dialog navigation, unless the target's
// WM_GETDLGCODE keeps the key for itself. True when the key was used.
static bool NavigationKey(Window* d, Window* target, LPMSG msg) {
  Platform& p = P();
  int vk = static_cast<int>(msg->wParam);
  if (vk != VK_TAB && vk != VK_RETURN && vk != VK_ESCAPE) return false;
  LRESULT code = Send(target, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
  if (d->dead) return true;
  switch (vk) {
    case VK_TAB:
      if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) return false;
      MoveTabFocus(d, GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
      if (code & DLGC_WANTALLKEYS) return false;
      PressDefaultButton(d, target->dead || target->handle != p.focus ? nullptr : target, code);
      return true;
    default:
      if (code & DLGC_WANTALLKEYS) return false;
      Send(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d->handle, IDCANCEL)));
      return true;
  }
}

}  // namespace qz::user

using namespace qz::user;

// Keyboard navigation in a panel of controls: Tab and Shift+Tab move the
// focus, Enter and Escape press OK/the default button and Cancel, unless the
// focus control's WM_GETDLGCODE keeps the key. Every other message meant for
// the dialog or one of its children (keys the control keeps, characters,
// mouse, posted messages) is translated and dispatched here, and reported
// handled, so the caller's loop does nothing more with it. Messages for other
// windows are left to the caller (FALSE).
BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  Window* d = Find(dialog);
  if (!d || !msg) return FALSE;
  Window* target = Find(msg->hwnd);
  if (!target || (target != d && !IsDescendant(d, target))) return FALSE;
  Hold hold;
  if (msg->message == WM_KEYDOWN) {
    // The key's WM_GETDLGCODE may change the message or destroy its window:
    // dispatch looks the window up again.
    if (NavigationKey(d, target, msg)) return TRUE;
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
  }
  if (IsTranslatedKey(msg->message)) TranslateMessage(msg);
  if (msg->message == WM_TIMER && msg->lParam)
    DispatchMessageA(msg);
  else
    DispatchTo(target, msg);
  return TRUE;
}
