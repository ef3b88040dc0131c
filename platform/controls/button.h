// State and drawing of the "BUTTON" class.
#pragma once

#include "windows.h"

namespace qz::controls {

struct ButtonState {
  HFONT font = nullptr;
  int check = BST_UNCHECKED;
  bool pushed = false;    // drawn pressed (BST_PUSHED)
  bool tracking = false;  // a press (left button or Space) is held under capture
  bool focused = false;
  HANDLE image = nullptr;  // BM_SETIMAGE keeps one image of either kind
  HDC imageDC = nullptr;   // memory DC for blitting bitmap images, made on first use
};

inline DWORD ButtonType(DWORD style) {
  return style & BS_TYPEMASK;
}

inline bool IsCheckBoxType(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
inline bool IsRadioType(DWORD type) {
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}
inline bool HasCheckState(DWORD type) {
  return IsCheckBoxType(type) || IsRadioType(type);
}
inline bool IsPushType(DWORD type) {
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Side of the square box of check boxes and the circle of radio buttons.
constexpr int kCheckBoxSize = 13;

// The box (or circle) of a check box or radio button in client coordinates.
RECT CheckBoxRect(HWND hwnd, DWORD style);

void PaintButton(HWND hwnd, HDC hdc, ButtonState& state);

}  // namespace qz::controls
