// The window manager's state and the helpers its units share. All state lives
// in one object reached through P(), built on first use, so that static
// initialisers in other libraries may call into the platform safely.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qzplatform/driver.h"
#include "qzplatform/region.h"
#include "qzplatform/surface.h"
#include "ring.h"
#include "windows.h"

namespace qz::user {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
// Handles are this base plus an index that only grows, so a destroyed
// window's handle is never handed out again within a run.
constexpr uintptr_t kHandleBase = 0x10000;
constexpr UINT kTimerMinimum = 10;       // USER_TIMER_MINIMUM
constexpr DWORD kDoubleClickTime = 500;  // GetDoubleClickTime default
constexpr int kDoubleClickDistance = 2;  // half of SM_CXDOUBLECLK

struct WindowClass {
  std::string name;
  WNDCLASSA info{};
  ATOM atom = 0;
  int liveWindows = 0;
};

// Class names compare without regard to case: the hash and equality of the
// class table fold ASCII letters to lower case.
struct ClassNameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const;
};
struct ClassNameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// A window's extra bytes (WNDCLASS::cbWndExtra), zeroed. The few bytes the
// platform's own classes ask for are held in the window itself, so that
// creating one of their windows does not allocate them separately.
class WindowExtra {
 public:
  static constexpr size_t kInlineBytes = 2 * sizeof(LONG_PTR);

  void Reset(size_t count) {
    size_ = count;
    if (count > kInlineBytes) {
      heap_ = std::make_unique<unsigned char[]>(count);  // zeroed
    } else {
      heap_.reset();
      std::memset(inline_, 0, sizeof inline_);
    }
  }
  size_t size() const { return size_; }
  unsigned char* data() { return heap_ ? heap_.get() : inline_; }

 private:
  size_t size_ = 0;
  unsigned char inline_[kInlineBytes] = {};
  std::unique_ptr<unsigned char[]> heap_;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::string text;
  RECT rect{};               // in the parent's client coordinates (screen for top-levels)
  Window* parent = nullptr;  // the desktop for top-level windows
  Window* owner = nullptr;   // top-level windows only
  // Z-order, topmost first. A new child goes to the bottom, so siblings keep
  // their creation order and the first-created lies on top (GW_CHILD); a new
  // top-level window goes to the top.
  std::vector<Window*> children;
  WindowExtra extra;
  std::unique_ptr<Surface> surface;  // top-level windows only
  Region update;                     // client coordinates
  bool erase = false;
  bool dirty = false;  // counted in Platform::dirtyWindows
  // Dirty windows in this window's subtree, itself included, so the search
  // for the next window to paint passes over clean branches.
  unsigned dirtyBelow = 0;
  bool frameDirty = false;
  bool destroying = false;
  bool dead = false;
  unsigned paintSerial = 0;  // bumped whenever the update region is validated
  // The client area's visible part on the surface, before any update region
  // or DC clip, as worked out when Platform::layoutSerial had this value.
  Region visibleClient;
  POINT visibleOrigin{0, 0};
  uint64_t visibleSerial = 0;
  // The client area's origin on the screen, as worked out when
  // Platform::layoutSerial had the value originSerial.
  mutable POINT screenOrigin{0, 0};
  mutable uint64_t originSerial = 0;
};

struct QueuedInput {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  POINT screen;
  DWORD time;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT period;
  DWORD due;
  TIMERPROC proc;
  uint64_t order;
};

struct Hook {
  HHOOK handle;
  int type;
  HOOKPROC proc;
};

struct WindowDC {
  HDC hdc;
  Surface* surface;
};

struct CursorEntry {
  bool icon;
  uintptr_t id;  // resource number, or 0 for a named resource
  std::string name;
  HCURSOR handle;
};

struct Platform {
  Platform();

  std::vector<Window*> handles;  // index = handle - kHandleBase; null once destroyed
  Window* desktop = nullptr;
  Surface desktopSurface;

  std::vector<std::shared_ptr<WindowClass>> classes;
  // The same classes by name, so that a lookup by name is one probe.
  std::unordered_map<std::string, std::shared_ptr<WindowClass>, ClassNameHash, ClassNameEqual> classesByName;
  void (*registrar)() = nullptr;
  bool registrarPending = true;
  ATOM nextAtom = 0xC000;

  Ring<MSG> posted;
  Ring<QueuedInput> input;
  MessageFilter filter = nullptr;
  bool quitPending = false;  // PostQuitMessage: WM_QUIT once the posted messages are out
  int quitCode = 0;
  DWORD now = 0;
  DWORD messageTime = 0;

  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;
  uint64_t nextTimerOrder = 0;

  HWND capture = nullptr;
  HWND focus = nullptr;
  bool asyncKeys[256] = {};  // physical state, updated when input is injected
  bool syncKeys[256] = {};   // state as of the last input message fetched
  POINT cursorPos{};
  HCURSOR cursor = nullptr;
  std::deque<CursorEntry> cursors;  // stable: a named entry's text is its id

  UINT lastDownMessage = 0;
  HWND lastDownWindow = nullptr;
  DWORD lastDownTime = 0;
  POINT lastDownPoint{};

  std::vector<Hook> hooks;
  uintptr_t nextHook = 1;

  bool recording = false;
  std::vector<RecordedMessage> recorded;

  int dirtyWindows = 0;
  // Bumped whenever any window moves, resizes, shows, hides, restacks, joins
  // or leaves a parent, changes style or gets a new surface: what a window
  // may draw on is worked out again only after that.
  uint64_t layoutSerial = 1;
  Region scratchClip;
  std::vector<WindowDC> windowDCs;
  std::vector<std::unique_ptr<Surface>> orphanSurfaces;

  int hold = 0;
  std::vector<Window*> graveyard;
  std::vector<Window*> scratchWindows;
  std::vector<const Window*> scratchChain;
  std::vector<POINT> scratchOrigins;
};

// A plain pointer, not an object with a constructor, so that its value does
// not depend on the order in which libraries run their static initialisers.
// Hidden: only the platform's own units reach it, directly rather than
// through the library's address table, as nearly every call does.
extern Platform* g_platform [[gnu::visibility("hidden")]];
Platform& CreatePlatform();
inline Platform& P() {
  if (__builtin_expect(g_platform != nullptr, 1)) return *g_platform;
  return CreatePlatform();
}

// The platform where it must exist already, as it does wherever a window
// has been found: no check, no call.
inline Platform& MadePlatform() {
  return *g_platform;
}

// Frees the memory of destroyed windows that nothing holds any more.
void CollectGraveyard();

// Keeps destroyed windows' memory alive until the outermost platform call
// returns, so code holding a Window* across a sent message stays safe; it
// must check `dead` after each send. The platform, once made, is never
// freed, so the one it counted on is the one it releases.
struct Hold {
  Hold() : Hold(P()) {}
  explicit Hold(Platform& p) : platform(p) { ++platform.hold; }
  ~Hold() {
    if (--platform.hold == 0 && !platform.graveyard.empty()) CollectGraveyard();
  }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  Platform& platform;
};

// ---- handles and tree ----
// Platform::handles as plain values, set whenever it grows, so that finding
// a window is a bounds check and a load: nearly every call starts with one.
struct HandleTable {
  Window* const* slots;
  size_t count;
};
extern HandleTable g_handles [[gnu::visibility("hidden")]];
// Find before the platform exists: makes it, as any platform call does.
Window* FindFirst(HWND hwnd);
inline Window* Find(HWND hwnd) {
  // Handles below the base wrap round to indices beyond the table.
  const uintptr_t index = reinterpret_cast<uintptr_t>(hwnd) - kHandleBase;
  if (__builtin_expect(index < g_handles.count, 1)) return g_handles.slots[index];
  return FindFirst(hwnd);
}
Window* NewWindow();
void Retire(Window* w);  // frees the handle; memory goes once nothing holds it
inline bool IsTopLevel(const Window* w) {
  return w->parent && !w->parent->parent;
}
Window* TopLevelOf(Window* w);
bool IsVisibleChain(const Window* w);
bool IsEnabledChain(const Window* w);
bool IsDescendant(const Window* ancestor, const Window* w);
void Unlink(Window* w);
// Sends WM_NCDESTROY to `w`'s children, then to `w`, releasing each.
void FinishDestroy(Window* w);
void ShowInternal(Window* w, bool show);

// ---- classes ----
std::shared_ptr<WindowClass> FindClass(LPCSTR name);
void ClearClasses();

// ---- geometry ----
// Window rectangles may sit anywhere in the int range; sums and differences
// of their coordinates are taken in 64 bits and saturated back to an int.
inline int SaturateInt(int64_t value) {
  return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int>(value);
}
// The only non-client area is a frame: 1 pixel for WS_BORDER (a black line)
// and 2 pixels for WS_EX_CLIENTEDGE (a sunken edge), drawn before WM_PAINT.
inline int FrameInset(const Window* w) {
  return ((w->style & WS_BORDER) ? 1 : 0) + ((w->exStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
}
// (0, 0, width, height) of the client area.
inline RECT ClientRect(const Window* w) {
  const int64_t inset = 2 * FrameInset(w);
  const int64_t width = int64_t{w->rect.right} - w->rect.left - inset;
  const int64_t height = int64_t{w->rect.bottom} - w->rect.top - inset;
  return RECT{0, 0, width > 0 ? SaturateInt(width) : 0, height > 0 ? SaturateInt(height) : 0};
}
inline RECT OffsetRectBy(const RECT& r, int dx, int dy) {
  return RECT{SaturateInt(int64_t{r.left} + dx), SaturateInt(int64_t{r.top} + dy), SaturateInt(int64_t{r.right} + dx),
              SaturateInt(int64_t{r.bottom} + dy)};
}
inline bool PointInRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
RECT WindowRectOnScreen(const Window* w);
POINT ClientOriginOnScreen(const Window* w);
RECT ClientRectOnSurface(const Window* w);
RECT WindowRectOnSurface(const Window* w);

// ---- messages ----
LRESULT Deliver(Window* w, UINT msg, WPARAM wParam, LPARAM lParam, bool posted);
inline LRESULT Send(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Deliver(w, msg, wParam, lParam, false);
}
void Record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool posted);
void RemoveQueuedMessages(HWND hwnd);
// WM_PARENTNOTIFY up the ancestors of `child`, each in its own coordinates.
void NotifyParents(Window* child, UINT event, const POINT* screenPoint);
LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam);
void ClearHooks();

// ---- painting ----
enum class Children { kByStyle, kAll, kNone };
void ClearUpdate(Window* w);  // validates everything and keeps the dirty count
void SyncDirty(Window* w);
void AddUpdate(Window* w, const RECT& clientRect, bool erase);
// Adds to the update region; children that would be painted over (the window
// lacks WS_CLIPCHILDREN) are invalidated where they overlap.
void InvalidateArea(Window* w, const RECT* clientRect, bool erase, Children children);
void InvalidateTree(Window* w, bool erase);  // the window and all its descendants, whole
void InvalidateParentArea(Window* w);        // where the window lies in its parent
void ClearUpdateTree(Window* w);
Window* FirstDirty(Window* root);
void PaintNow(Window* w, bool posted);
void PaintTree(Window* w);  // parents first
void PaintFrame(Window* w);
// The part of `region` (surface coordinates) that `w` may draw on.
void ClipToVisible(const Window* w, bool clientArea, Region* region);
inline void TouchLayout() {
  ++P().layoutSerial;
}
HDC MakeWindowDC(Window* w, bool clientArea, const Region* update);
bool ReleaseWindowDC(HDC hdc);
void FreeSurface(Window* w);
void CreateTopLevelSurface(Window* w);
void ReleaseAllWindowDCs();

// ---- input, focus, timers ----
void ForgetWindowInput(Window* w);  // capture, focus and double-click state
void KillTimersOf(HWND hwnd);
bool TimerHasProc(HWND hwnd, UINT_PTR id, TIMERPROC proc);
void ClearTimers();
void ClearInput();
bool DueTimer(HWND filter, MSG* out, bool remove);
// When the next tick of a timer of `filter` falls due; false without timers.
bool NextTimerDue(HWND filter, DWORD* due);
bool NextInputMessage(HWND filter, UINT min, UINT max, bool remove, MSG* out);
void MoveFocusOutOf(Window* w);
char CharForKey(int vk, bool shift, bool control);

// The key messages TranslateMessage acts on; it leaves every other as it is.
inline bool IsTranslatedKey(UINT msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN;
}
// DispatchMessageA of a message that names no timer callback, to the window
// `w` the caller found for it.
LRESULT DispatchTo(Window* w, const MSG* msg);

inline bool InRange(UINT msg, UINT min, UINT max) {
  return (min == 0 && max == 0) || (msg >= min && msg <= max);
}
// A filter of (HWND)-1 asks for messages posted to no window.
inline bool ForWindow(HWND target, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
  return target == filter;
}

// Fetches the next message. `timers` lets timer ticks be synthesised; `queued`
// says whether the message came from the posted or input queue.
bool Fetch(MSG* msg, HWND hwnd, UINT min, UINT max, bool remove, bool timers, bool* queued);
// Fetch, pre-translate, translate and dispatch until nothing is left.
int PumpMessages(bool timers);

}  // namespace qz::user
