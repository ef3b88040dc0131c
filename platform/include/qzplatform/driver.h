// What a host (the reference host or a test) uses to drive the windowing
// platform: the message pump, the virtual clock, injected input, the key
// table and screenshots. Nothing here sleeps or reads the wall clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../windows.h"

namespace qz {

// Destroys every window and forgets every timer, queued message, capture,
// focus, key state and hook: a clean platform for the next test.
void ResetPlatform();

// Where LoadImageA finds resource pictures (N.png for resource N); empty
// for none. Kept across ResetPlatform: it is the host's, not a session's.
void SetImageFolder(const std::string& folder);

// ---- message loop ----
// Called for each queued message before dispatch (the framework's
// pre-translation chain); returning TRUE consumes the message.
using MessageFilter = BOOL (*)(MSG* msg);
void SetMessageFilter(MessageFilter filter);

// Fetches and dispatches messages in the platform's priority order (posted,
// input, then paints) until none is left; timers are not fired here. Returns
// how many messages were dispatched.
int Pump();

// ---- virtual clock ----
DWORD Now();
// Advances the clock by `ms`, delivering every timer tick that falls due in
// that span in time order, each dispatched and the queue pumped before the next.
void AdvanceClock(DWORD ms);

// ---- input ----
// The key table read by GetAsyncKeyState/GetKeyState and by the MK_ flags of
// mouse messages.
void SetKeyDown(int vkey, bool down);
bool IsKeyDown(int vkey);

// Queues a mouse message (WM_MOUSEMOVE, WM_L/RBUTTONDOWN/UP, ...) at a screen
// point. When fetched it goes to the capture window, or to the deepest enabled
// visible window under the point, in that window's client coordinates, with
// the MK_ flags of the buttons and keys down.
void InjectMouse(UINT msg, POINT screen);
// The same at a point in a window's client coordinates.
void InjectMouseAt(HWND hwnd, UINT msg, int x, int y);
// Press and release of the left button at a client point, pumped.
void Click(HWND hwnd, int x, int y);

// Queues a key message for the focus window. `repeat` sets the auto-repeat
// bit (bit 30); WM_KEYDOWN/WM_KEYUP keep the key table up to date.
void InjectKey(UINT msg, int vkey, bool repeat = false);
// Down, translated character, up for each character of `text`, pumped.
void TypeText(const std::string& text);
// Down and up of one key, pumped.
void PressKey(int vkey);

// ---- cursors ----
// The resource id (or name) of the cursor last set with SetCursor; 0 for none.
uintptr_t CurrentCursorId();

// ---- pixels ----
// The window's area of its top-level surface: the window as drawn with its
// visible children, in 0x00RRGGBB pixels.
bool CaptureWindow(HWND hwnd, int* width, int* height, std::vector<uint32_t>* pixels);
bool SaveWindowPng(HWND hwnd, const std::string& path);

// ---- message recording (for tests) ----
struct RecordedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool posted;  // dispatched from the queue rather than sent
};
void StartRecording();
std::vector<RecordedMessage> StopRecording();

// ---- drawing recording (for tests) ----
// One drawing call that reached a window's pixels (drawing into memory
// bitmaps is not recorded): the area of the top-level surface it was allowed
// to change, that is the DC's clip bounds, in surface coordinates.
struct RecordedDraw {
  RECT area;
};
void StartRecordingDraws();
std::vector<RecordedDraw> StopRecordingDraws();

}  // namespace qz

namespace qz {

// ---- screen pixels ----
// What the screen shows in `area` (screen coordinates): the surfaces of the
// visible top-level windows composited in z-order, so pop-ups above a window
// are seen; 0x00RRGGBB pixels, black where no window lies.
bool CaptureScreen(const RECT& area, int* width, int* height, std::vector<uint32_t>* pixels);
bool SaveScreenPng(const RECT& area, const std::string& path);

}  // namespace qz
