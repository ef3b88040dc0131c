#include "harness/session.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "commctrl.h"
#include "harness/module.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/cliplist.h"
#include "richedit.h"
#include "qzsystem/resources.h"

namespace qzh {

namespace {

constexpr COLORREF PanelColour = RGB(64, 64, 64);
constexpr int PanelFontHeight = -11;  // 8 points at 96 dots per inch
constexpr char PanelFontFace[] = "DejaVu Sans";

}  // namespace

// The tool's control panel. Enter and Escape in its edit fields reach it as
// IDOK and IDCANCEL through the dialog keys; it tells the control that owns
// the focus window that its entry is complete or cancelled. The
// application's shortcuts reach it as commands with high word 1.
class PanelWnd : public CWnd {
 public:
  explicit PanelWnd(Session& session) : Owner(session) {}

  // The application's accelerators come first, as its frame translates them
  // before the panel's dialog keys.
  BOOL PreTranslateMessage(MSG* msg) override {
    if (Owner.TranslateShortcut(*msg)) return TRUE;
    return IsDialogMessageA(m_hWnd, msg);
  }

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 1) {
      Owner.RunShortcut(LOWORD(wParam));
      return 0;
    }
    if (msg == WM_COMMAND && lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
      if (InputControl* control = InputControl::FromWindow(::GetFocus())) {
        if (LOWORD(wParam) == IDOK)
          control->OnOK();
        else
          control->OnCancel();
      }
      return 0;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
  }

 private:
  Session& Owner;
};

Session::Session(int panelWidth, int panelHeight) : PanelWidth(panelWidth) {
  qz::ResetPlatform();
  qz::SetImageFolder(GetResourceDir());
  App = std::make_unique<CWinApp>("qzhost");
  PanelWindowObject = std::make_unique<PanelWnd>(*this);
  HBRUSH background = CreateSolidBrush(PanelColour);
  LPCSTR className = AfxRegisterWndClass(0, nullptr, background);
  PanelWindowObject->CreateEx(WS_EX_CONTROLPARENT, className, "Panel", WS_POPUP | WS_VISIBLE, 0, 0, panelWidth,
                              panelHeight, nullptr, nullptr);
  App->m_pMainWnd = PanelWindowObject.get();
  LOGFONTA lf{};
  lf.lfHeight = PanelFontHeight;
  lf.lfWeight = FW_NORMAL;
  std::strncpy(lf.lfFaceName, PanelFontFace, LF_FACESIZE - 1);
  Font = CreateFontIndirectA(&lf);
  Doc.SetWriteListener(this);
}

Session::~Session() {
  Doc.SetWriteListener(nullptr);
  for (Placed& placed : Controls) delete placed.Control;
  Controls.clear();
  if (PanelWindowObject) PanelWindowObject->DestroyWindow();
  PanelWindowObject.reset();
  if (Font) DeleteObject(Font);
  App.reset();
  qz::ResetPlatform();
}

Operator* Session::AddTool(const char* name) {
  auto* tool = new Operator(name);
  Doc.AddTool(tool);
  Tools.push_back(tool);
  return tool;
}

Input* Session::AddInput(Operator* tool, const char* name, Parameter* value, int panelIndex,
                         const TagList& attributes) {
  auto* input = new Input(name);
  input->Attrs.Set(PanelIndexTag, panelIndex);
  input->Attrs.Merge(attributes);
  // Set before the input joins the tool, so the initial value is no undo step.
  if (value) {
    input->SetValue(value, Doc.CurrentTime, 1);
    value->Recycle();
  }
  tool->AddInput(input);
  return input;
}

Input* Session::AddNumberInput(Operator* tool, const char* name, double value, int panelIndex) {
  return AddInput(tool, name, new Number(value), panelIndex);
}

Input* Session::AddClipListInput(Operator* tool, const char* name, int panelIndex) {
  auto* input = new ClipListInput(name);
  input->Attrs.Set(PanelIndexTag, panelIndex);
  tool->AddInput(input);
  return input;
}

namespace {

// The application's shortcuts: digits and letters that switch tools or play,
// Ctrl+Z for undo and Ctrl+V to paste a copied tool.
struct Shortcut {
  int Key;
  bool Ctrl;
  WORD Command;
  const char* Name;
};
constexpr Shortcut Shortcuts[] = {
    {'1', false, 101, "View 1"},    {'2', false, 102, "View 2"}, {'B', false, 103, "Blur Tool"},
    {'G', false, 104, "Gain Tool"}, {'P', false, 105, "Play"},   {'Z', true, 106, "Undo"},
    {'V', true, 107, "Paste Tool"},
};
constexpr WORD UndoCommand = 106;

}  // namespace

bool Session::TranslateShortcut(const MSG& msg) {
  if (!ShortcutsOn || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return false;
  const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  for (const Shortcut& shortcut : Shortcuts) {
    if (static_cast<WPARAM>(shortcut.Key) != msg.wParam || shortcut.Ctrl != ctrl) continue;
    // An accelerator becomes a command sent to the frame, high word 1.
    PanelWindowObject->SendMessage(WM_COMMAND, MAKEWPARAM(shortcut.Command, 1), 0);
    return true;
  }
  return false;
}

void Session::RunShortcut(WORD command) {
  for (const Shortcut& shortcut : Shortcuts) {
    if (shortcut.Command != command) continue;
    ShortcutLog.push_back(shortcut.Name);
    if (command == UndoCommand) Doc.Undo();
  }
}

double Session::NumberValue(Input* input) {
  AutoParameter value(input->GetValue(Doc.CurrentTime));
  if (!value || value->ID != Number::ClassID) return 0.0;
  return static_cast<Number*>(value.Get())->Value;
}

// A panel control of the class, given the host's own attributes (document,
// font, columns) and then the caller's.
InputControl* Session::CreateWithHostTags(const char* className, const TagList& attributes, int columns) {
  InputControl* control = CreatePanelControl(className);
  if (!control) return nullptr;
  TagList tags{{ControlDocTag, static_cast<const void*>(&Doc)},
               {ControlFontTag, static_cast<const void*>(Font)},
               {ControlColumnsTag, columns}};
  tags.Merge(attributes);
  control->SetAttrsTagList(tags);
  return control;
}

// The host's order for a panel being built: attributes, Open, then the
// inputs are connected; a panel that is hidden gets its controls connected
// now and opened when it is shown.
InputControl* Session::AddPanelControl(const char* className, const TagList& attributes, std::vector<Input*> inputs,
                                       int columns) {
  InputControl* control = CreateWithHostTags(className, attributes, columns);
  if (!control) return nullptr;
  Placed placed{control, CRect()};
  if (Shown && !OpenPlaced(placed)) {
    delete control;
    return nullptr;
  }
  Controls.push_back(placed);
  for (Input* input : inputs) control->AddInput(input);
  return control;
}

bool Session::OpenPlaced(Placed& placed) {
  InputControl* control = placed.Control;
  control->Position = CPoint(0, NextTop);
  CRect rect(0, 0, PanelWidth, 0);
  if (!control->Open(Panel(), rect)) {
    placed.Rect = CRect();
    return false;
  }
  if (control->Wnd) control->Wnd->MoveWindow(0, NextTop, rect.right, rect.bottom, TRUE);
  NextTop += rect.bottom;
  placed.Rect = rect;
  return true;
}

// Connecting first lets what the inputs say at connection shape the control
// it opens (the colour control's alpha row), as when a hidden panel is shown.
InputControl* Session::AddConnectedPanelControl(const char* className, const TagList& attributes,
                                                std::vector<Input*> inputs, int columns) {
  InputControl* control = CreateWithHostTags(className, attributes, columns);
  if (!control) return nullptr;
  for (Input* input : inputs) control->AddInput(input);
  Placed placed{control, CRect()};
  if (Shown && !OpenPlaced(placed)) {
    delete control;
    return nullptr;
  }
  Controls.push_back(placed);
  return control;
}

// The host fills a panel with redrawing turned off (WM_SETREDRAW), as a
// window being filled with many children is, so that no control's
// connection paints the panel while the next ones are still being added.
void Session::OpenPanel(const std::function<void()>& addControls) {
  HWND panel = PanelWindow();
  const bool redrawing = panel && IsWindowVisible(panel);
  if (redrawing) ::SendMessageA(panel, WM_SETREDRAW, FALSE, 0);
  addControls();
  if (!redrawing) return;
  ::SendMessageA(panel, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

CRect Session::OpenedRect(InputControl* control) const {
  for (const Placed& placed : Controls)
    if (placed.Control == control) return placed.Rect;
  return CRect();
}

void Session::RemovePanelControl(InputControl* control) {
  for (auto it = Controls.begin(); it != Controls.end(); ++it) {
    if (it->Control != control) continue;
    Controls.erase(it);
    delete control;
    return;
  }
}

void Session::ApplyAttributes(InputControl* control, const TagList& attributes) {
  TagList tags = attributes;
  control->SetAttrsTagList(tags);
}

void Session::DisconnectInput(InputControl* control, Input* input) {
  control->RemoveInput(input);
}

void Session::HidePanel() {
  if (!Shown) return;
  for (Placed& placed : Controls) placed.Control->Close();
  NextTop = 0;
  Shown = false;
}

// A control that cannot open again stays connected, without a window.
void Session::ShowPanel() {
  if (Shown) return;
  Shown = true;
  for (Placed& placed : Controls) OpenPlaced(placed);
}

HWND Session::PanelWindow() const {
  return PanelWindowObject ? PanelWindowObject->m_hWnd : nullptr;
}
CWnd* Session::Panel() const {
  return PanelWindowObject.get();
}

void Session::Pump() {
  qz::Pump();
}
void Session::AdvanceClock(unsigned ms) {
  qz::AdvanceClock(ms);
}

void Session::Click(HWND hwnd, int x, int y) {
  qz::Click(hwnd, x, y);
}

void Session::Drag(HWND hwnd, POINT from, POINT to, int steps) {
  qz::InjectMouseAt(hwnd, WM_LBUTTONDOWN, from.x, from.y);
  qz::Pump();
  for (int i = 1; i <= steps; ++i) {
    int x = from.x + (to.x - from.x) * i / steps;
    int y = from.y + (to.y - from.y) * i / steps;
    qz::InjectMouseAt(hwnd, WM_MOUSEMOVE, x, y);
    qz::Pump();
  }
  qz::InjectMouseAt(hwnd, WM_LBUTTONUP, to.x, to.y);
  qz::Pump();
}

void Session::SetValue(Input* input, Parameter* value) {
  HostWriting = true;
  input->SetValue(value, Doc.CurrentTime, 1);
  HostWriting = false;
  if (value) value->Recycle();
}

void Session::SetNumber(Input* input, double value) {
  SetValue(input, new Number(value));
}

std::vector<Write> Session::WritesBy(Writer writer) const {
  std::vector<Write> writes;
  for (const Write& write : WriteLog)
    if (write.By == writer) writes.push_back(write);
  return writes;
}

std::string Session::FormatValue(const Parameter* value) {
  char text[128];
  if (!value) return "(none)";
  switch (value->ID) {
    case Number::ClassID:
      std::snprintf(text, sizeof text, "%g", static_cast<const Number*>(value)->Value);
      return text;
    case Point::ClassID: {
      auto* p = static_cast<const Point*>(value);
      std::snprintf(text, sizeof text, "(%g, %g)", p->X, p->Y);
      return text;
    }
    case Text::ClassID:
      return std::string("\"") + static_cast<const Text*>(value)->String + "\"";
    case Clip::ClassID:
      return std::string("clip ") + static_cast<const Clip*>(value)->Name;
    case LookUpTable::ClassID: {
      auto* table = static_cast<const LookUpTable*>(value);
      std::string entries = "table of " + std::to_string(table->Size) + ":";
      for (int i = 0; i < table->Size; ++i) {
        std::snprintf(text, sizeof text, " %g", table->Table[i]);
        entries += text;
      }
      return entries;
    }
    default:
      return "(value)";
  }
}

std::string Session::FormatTime(double time) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", time);
  return text;
}

bool Session::SavePanelPng(const std::string& path) {
  qz::Pump();
  return qz::SaveWindowPng(PanelWindow(), path);
}

// The input logs its own write before it tells its observers, so only the
// first write logged during a host write is the host's; writes the controls
// make while they are told of it are theirs.
void Session::InputWritten(Input* input, double time, Parameter* value) {
  const Writer by = HostWriting ? Writer::Host : Writer::Control;
  HostWriting = false;
  WriteLog.push_back({input->GetName(), FormatValue(value), time, by});
}

namespace {

bool IsCheckBoxStyle(LONG style) {
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return true;
    default:
      return false;
  }
}

bool Plays(HWND hwnd, Role role) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  switch (role) {
    case Role::Label:
      return strcasecmp(name, "STATIC") == 0;
    case Role::PushButton:
      return strcasecmp(name, "BUTTON") == 0 && !IsCheckBoxStyle(style);
    case Role::CheckBox:
      return strcasecmp(name, "BUTTON") == 0 && IsCheckBoxStyle(style);
    case Role::Choice:
      return strcasecmp(name, "COMBOBOX") == 0;
    case Role::ListBox:
      return strcasecmp(name, "LISTBOX") == 0;
    case Role::Edit:
      return strcasecmp(name, "EDIT") == 0;
    case Role::RichEdit:
      return strcasecmp(name, RICHEDIT_CLASSA) == 0;
    case Role::Slider:
      return strcasecmp(name, TRACKBAR_CLASSA) == 0;
  }
  return false;
}

// Depth first from `parent`'s first child; counts `nth` down on each match.
HWND FindBelow(HWND parent, Role role, int& nth) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Plays(child, role) && nth-- == 0) return child;
    if (HWND found = FindBelow(child, role, nth)) return found;
  }
  return nullptr;
}

}  // namespace

HWND FindChild(const InputControl* control, Role role, int nth) {
  if (!control || !control->Wnd || !control->Wnd->m_hWnd || nth < 0) return nullptr;
  return FindBelow(control->Wnd->m_hWnd, role, nth);
}

}  // namespace qzh
