#include "wm.h"

namespace qz::user {

// The character a key makes on a US layout, or 0 for none. Control with a
// letter makes its control character (Ctrl+C = 3), as the platform does.
char CharForKey(int vk, bool shift, bool control) {
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return static_cast<char>(vk - 'A' + 1);
    return static_cast<char>(shift ? vk : vk + ('a' - 'A'));
  }
  switch (vk) {
    case VK_BACK:
      return control ? 0x7f : 0x08;
    case VK_RETURN:
      return control ? 0x0a : 0x0d;
    case VK_ESCAPE:
      return 0x1b;
    case VK_TAB:
      return control ? 0 : 0x09;
  }
  if (control) return 0;
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<char>('0' + vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_OEM_PERIOD:
      return shift ? '>' : '.';
    case VK_OEM_COMMA:
      return shift ? '<' : ',';
    case VK_OEM_MINUS:
      return shift ? '_' : '-';
    case VK_OEM_PLUS:
      return shift ? '+' : '=';
    case VK_DECIMAL:
      return '.';
    case VK_SUBTRACT:
      return '-';
    case VK_ADD:
      return '+';
    case VK_MULTIPLY:
      return '*';
    case VK_DIVIDE:
      return '/';
  }
  return 0;
}

static bool IsNumpadKey(int vk) {
  return vk >= VK_NUMPAD0 && vk <= VK_DIVIDE;
}

// The key (and shift state) that types `c`, preferring the main keyboard to
// the numeric pad; false when no key does.
static bool KeyForChar(char c, int* vk, bool* shift) {
  if (c == '\0') return false;
  if (c == '\n') c = '\r';
  for (int pass = 0; pass < 3; ++pass) {
    *shift = pass == 1;
    for (int key = 0; key < 256; ++key) {
      if (IsNumpadKey(key) != (pass == 2)) continue;
      if (CharForKey(key, *shift, false) == c) {
        *vk = key;
        return true;
      }
    }
  }
  return false;
}

}  // namespace qz::user

namespace qz {

using namespace user;

void SetKeyDown(int vkey, bool down) {
  if (vkey < 0 || vkey > 255) return;
  P().asyncKeys[vkey] = P().syncKeys[vkey] = down;
}

bool IsKeyDown(int vkey) {
  return vkey >= 0 && vkey <= 255 && P().asyncKeys[vkey];
}

// lParam: repeat count 1, scan code 0, bit 30 the previous key state (set
// for auto-repeat and for every release), bit 31 set for a release.
void InjectKey(UINT msg, int vkey, bool repeat) {
  Platform& p = P();
  if (vkey < 0 || vkey > 255) return;
  bool up = msg == WM_KEYUP;
  LPARAM lParam = 1;
  if (repeat || up) lParam |= KF_REPEAT_BIT;
  if (up) lParam |= KF_UP_BIT;
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) p.asyncKeys[vkey] = !up;
  p.input.PushBack(QueuedInput{msg, static_cast<WPARAM>(vkey), lParam, p.cursorPos, p.now});
}

void PressKey(int vkey) {
  InjectKey(WM_KEYDOWN, vkey);
  Pump();
  InjectKey(WM_KEYUP, vkey);
  Pump();
}

// Characters no key makes arrive as a bare WM_CHAR.
void TypeText(const std::string& text) {
  Platform& p = P();
  for (char c : text) {
    int vk;
    bool shift;
    if (!KeyForChar(c, &vk, &shift)) {
      p.input.PushBack(QueuedInput{WM_CHAR, static_cast<unsigned char>(c), 1, p.cursorPos, p.now});
      Pump();
      continue;
    }
    bool wasShift = IsKeyDown(VK_SHIFT);
    SetKeyDown(VK_SHIFT, shift);
    InjectKey(WM_KEYDOWN, vk);
    Pump();
    InjectKey(WM_KEYUP, vk);
    Pump();
    SetKeyDown(VK_SHIFT, wasShift);
  }
}

}  // namespace qz

using namespace qz::user;

short GetAsyncKeyState(int vkey) {
  return vkey >= 0 && vkey <= 255 && P().asyncKeys[vkey] ? static_cast<short>(-32768) : 0;
}

short GetKeyState(int vkey) {
  return vkey >= 0 && vkey <= 255 && P().syncKeys[vkey] ? static_cast<short>(-32768) : 0;
}

// The character goes to the front of the queue: the translated message is
// the next one fetched, right after its key down.
BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  if (!IsTranslatedKey(msg->message)) return FALSE;
  if (msg->message != WM_KEYDOWN) return TRUE;
  char c = CharForKey(static_cast<int>(msg->wParam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
  if (c) {
    Platform& p = P();
    p.posted.PushFront(MSG{msg->hwnd, WM_CHAR, static_cast<unsigned char>(c), msg->lParam, p.now, p.cursorPos});
  }
  return TRUE;
}
