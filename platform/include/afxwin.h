// The window framework: C++ window objects over the platform's windows, the
// standard control wrappers and the application object.
//
// Message handling without message maps: a class handles messages by
// overriding WindowProc with a switch and calling the base class for the
// rest. The order in which a message reaches code is:
//   1. the window's WindowProc override (the most derived one first);
//   2. CWnd::WindowProc -> OnWndMsg, which gives notifications from child
//      controls (WM_COMMAND through OnCommand, WM_NOTIFY through OnNotify,
//      WM_CTLCOLOR*, WM_DRAWITEM, WM_DELETEITEM, WM_HSCROLL/WM_VSCROLL
//      from a control, WM_PARENTNOTIFY for a child's creation or
//      destruction, WM_VKEYTOITEM/WM_CHARTOITEM) to the child's OnChildNotify;
//      CWnd::OnChildNotify reflects it back into the child's WindowProc as
//      WM_REFLECT_BASE + message (WM_CTLCOLOR* arrive as
//      WM_REFLECT_BASE + WM_CTLCOLOR with an AFX_CTLCOLOR* in lParam);
//   3. if the child did not handle it, DefWindowProc: the procedure the window
//      had before the framework subclassed it (its class procedure), else the
//      platform's DefWindowProcA.
// A child handles a reflected message by returning from its WindowProc
// override without calling the base; a reflected message that reaches
// CWnd::WindowProc counts as not handled and goes no further. A reflected
// WM_CTLCOLOR counts as handled only with a non-null brush. So a parent that
// handles a notification in its own WindowProc (or OnCommand) override before
// calling the base wins over the child, as an explicit parent handler does.
#pragma once

#include <memory>

#include "afx.h"
#include "commctrl.h"
#include "shellapi.h"

typedef int* LPINT;

#define WM_REFLECT_BASE 0xBC00
// The single colour message that WM_CTLCOLOR* are reflected as.
#define WM_CTLCOLOR 0x0019

#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

// lParam of a reflected WM_CTLCOLOR: the control, its DC and its CTLCOLOR_ type.
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};

class CCmdTarget : public CObject {
 public:
  // Command routing after reflection; the framework has no command maps, so
  // the base handles nothing.
  virtual BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo);
};

class CWnd : public CCmdTarget {
 public:
  HWND m_hWnd = nullptr;

  CWnd() = default;
  // Destroys the window if the object still has one.
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // ---- creation and attachment ----
  // A child window (WS_CHILD is added, as the framework does); top-level
  // windows are made with CreateEx.
  virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      void* context = nullptr);
  // The object is attached and subclassed before the first message reaches
  // the window, so its WindowProc sees WM_NCCREATE and WM_CREATE.
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();

  BOOL Attach(HWND hwnd);
  HWND Detach();
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // The permanent object of `hwnd`, else a temporary wrapper that lives while
  // the window does: wrappers of destroyed windows are freed when the next
  // wrapper is made, by DeleteTempMap and by AfxResetFramework. NULL for NULL.
  static CWnd* FromHandle(HWND hwnd);
  static CWnd* FromHandlePermanent(HWND hwnd);
  // Frees the temporary wrappers of windows that no longer exist.
  static void DeleteTempMap();
  // How many temporary wrappers are alive (a leak check).
  static int GetTempMapCount();

  // ---- window state ----
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* newParent);
  CWnd* GetDlgItem(int id) const;
  CWnd* GetTopLevelParent() const;
  BOOL IsChild(const CWnd* wnd) const;

  void SetWindowText(LPCSTR text);
  int GetWindowText(LPSTR buffer, int size) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;

  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  // Return whether the style changed; a non-zero `swpFlags` also calls
  // SetWindowPos(SWP_NOSIZE|SWP_NOMOVE|SWP_NOZORDER|SWP_NOACTIVATE|swpFlags).
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
  static BOOL ModifyStyle(HWND hwnd, DWORD remove, DWORD add, UINT swpFlags);
  static BOOL ModifyStyleEx(HWND hwnd, DWORD remove, DWORD add, UINT swpFlags);

  BOOL ShowWindow(int cmd);
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL IsWindowVisible() const;

  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void GetClientRect(LPRECT rect) const;
  void GetWindowRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;

  // ---- painting ----
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  HDC GetDC();
  int ReleaseDC(HDC hdc);
  HDC BeginPaint(PAINTSTRUCT* ps);
  void EndPaint(const PAINTSTRUCT* ps);

  // ---- input and timers ----
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetCapture();
  static CWnd* GetCapture();
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);
  void DragAcceptFiles(BOOL accept = TRUE);

  // ---- messages ----
  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void SetFont(HFONT font, BOOL redraw = TRUE);
  HFONT GetFont() const;

  // The message being handled by the innermost window procedure of the
  // framework on this thread (zeros outside any).
  static const MSG* GetCurrentMessage();
  // DefWindowProc with the current message's parameters.
  LRESULT Default();

  // ---- overridables ----
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
  virtual void PreSubclassWindow();
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // A control's notification (lParam != 0) is first offered to the control's
  // OnChildNotify and ends there when the control handled it.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Called on the child for a notification it sent its parent; the default
  // reflects it into this window's WindowProc (see the top of this file).
  virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // After WM_NCDESTROY, once the object is detached: the place for `delete this`.
  virtual void PostNcDestroy();

  // ---- reflection ----
  BOOL SendChildNotifyLastMsg(LRESULT* result = nullptr);
  static BOOL ReflectLastMsg(HWND child, LRESULT* result = nullptr);
  BOOL ReflectChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // The procedure the window had before the framework subclassed it.
  WNDPROC m_pfnSuper = nullptr;

 private:
  friend LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  friend LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam);
  BOOL DispatchReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  BOOL ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  void OnNcDestroy(WPARAM wParam, LPARAM lParam);
  void AttachSubclassed(HWND hwnd);
};

// The window procedure of every window that has a framework object.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();
LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class with DefWindowProcA as its procedure and
// returns its name, stable for the life of the process.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                           HICON icon = nullptr);
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// ---- standard controls ----

class CStatic : public CWnd {
 public:
  BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xffff);
  // Return the previous image.
  HICON SetIcon(HICON icon);
  HBITMAP SetBitmap(HBITMAP bitmap);
};

class CButton : public CWnd {
 public:
  BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  UINT GetState() const;
  void SetState(BOOL highlight);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};

class CEdit : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetLimitText(UINT max);
  void LimitText(int max = 0);
  UINT GetLimitText() const;
  DWORD GetSel() const;
  void GetSel(int& start, int& end) const;
  void SetSel(DWORD selection, BOOL noScroll = FALSE);
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
  int GetLineCount() const;
};

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(LPCSTR text);
  int InsertString(int index, LPCSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int select);
  int GetLBText(int index, LPSTR text) const;
  void GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  int FindStringExact(int startAfter, LPCSTR text) const;
};

class CListBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(LPCSTR text);
  int InsertString(int index, LPCSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int select);
  int GetText(int index, LPSTR buffer) const;
  void GetText(int index, CString& text) const;
  int GetTextLen(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;
  int SetItemHeight(int index, UINT height);
  BOOL SetTabStops(int count, LPINT tabStops);
  BOOL SetTabStops();
  BOOL SetTabStops(const int& eachN);
  int SetTopIndex(int index);
  int GetTopIndex() const;
  int FindStringExact(int startAfter, LPCSTR text) const;
};

// ---- application ----

class CWinApp : public CCmdTarget {
 public:
  // The newest application object becomes the application (AfxGetApp) until
  // it is destroyed. It installs the pre-translation chain as the platform's
  // message filter.
  explicit CWinApp(LPCSTR appName = nullptr);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  CWnd* m_pMainWnd = nullptr;
  LPCSTR m_pszAppName = nullptr;
  LPCSTR m_pszProfileName = nullptr;
  HINSTANCE m_hInstance = nullptr;

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // Last in the pre-translation chain, after the windows; FALSE by default.
  virtual BOOL PreTranslateMessage(MSG* msg);

  // ---- profile (an INI file) ----
  // Reads the file at `path` (a missing file is an empty profile); every
  // later write rewrites it. Without a path the profile lives in memory.
  void SetProfilePath(LPCSTR path);
  // Sections and keys are case-insensitive; values are single lines.
  CString GetProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue = nullptr);
  // value NULL deletes the key, key NULL deletes the section; FALSE when the
  // file cannot be written (the profile is then unchanged).
  BOOL WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value);
  UINT GetProfileInt(LPCSTR section, LPCSTR key, int defaultValue);
  BOOL WriteProfileInt(LPCSTR section, LPCSTR key, int value);

 private:
  friend void AfxResetFramework();
  CString m_appName;
  CString m_profilePath;
  struct Profile;
  std::unique_ptr<Profile> m_profile;
  CWinApp* m_previousApp;
};

// The application object; when the host made none, a built-in one.
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The pre-translation chain: from msg->hwnd up through its parents (up to the
// main window), PreTranslateMessage of each window that has a permanent
// object; then the main window if the message's window is not inside it; then
// the application's. The first TRUE consumes the message.
BOOL AfxPreTranslateMessage(MSG* msg);
// Forgets the framework's state: frees temporary window objects, detaches
// objects whose windows are gone, frees undisposed drop handles, resets the
// dialog responder and the built-in application. Tests call it with
// qz::ResetPlatform().
void AfxResetFramework();
