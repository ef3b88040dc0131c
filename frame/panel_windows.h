// How panel controls create and drive their labels and push buttons: the
// toolkit's static and button windows, used the same way by every control.
#pragma once

#include "afxwin.h"

class InputControl;

class ResColour;

namespace qzc {

constexpr UINT LabelId = 0xffff;  // labels send nothing a control acts on
constexpr DWORD LeftLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP;
constexpr DWORD RightLabelStyle = WS_CHILD | WS_VISIBLE | SS_RIGHT;
constexpr DWORD PushButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// Sends WM_SETFONT with the control's font (0 for none), redrawing.
void SetControlFont(CWnd& wnd, HFONT font);

// Creates a label with a placeholder text, sets its font, then its real text.
BOOL CreateLabel(CStatic& label, const char* placeholder, DWORD style, const RECT& rect, CWnd* parent, HFONT font,
                 const char* text);

// Creates a push button with its caption and the control's font.
BOOL CreatePushButton(CButton& button, const char* caption, const RECT& rect, CWnd* parent, UINT id, HFONT font);

// How the module's own track-bar windows are made: `owner` is set to the
// control whose window is `parent` (its first window long), then `wnd` is
// created as a "msctls_trackbar32" child that lets dialog navigation into its
// own children.
BOOL CreateTrackBarWindow(CWnd& wnd, InputControl** owner, LPCSTR windowName, DWORD style, const RECT& rect,
                          CWnd* parent, UINT id, void* context);

// Paints `hwnd` now, starting at its top-most ancestor that still has to
// paint: a window painted before such an ancestor would be painted over again
// by it.
void UpdateFromTopmostPending(HWND hwnd);

// Answers WM_CTLCOLOREDIT with a resource colour pair: text and background
// colours set on `hdc`, the pair's brush returned; 0 when the colours cannot
// be loaded, so the caller falls back to the platform's default.
LRESULT EditColours(HDC hdc, ResColour* colours);

// An edit field of `window` losing the focus ends any gesture (the capture)
// and completes the entry in the owner, which hears of it through its own
// window.
void ForwardFieldLeaving(HWND window, WPARAM wParam, LPARAM lParam);

// WS_DISABLED follows the control's Disabled flag.
void FollowDisabled(CWnd& wnd, uint32_t disabled);

}  // namespace qzc
