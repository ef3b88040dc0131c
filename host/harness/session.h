// A host session for tests and the reference host: a clean platform, an
// application object, a document with tools and inputs, and a panel window
// in which panel controls are created, stacked and driven as the host does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "afxwin.h"
#include "qzsystem/document.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/operator.h"
#include "qzsystem/parameter.h"

namespace qzh {

class PanelWnd;

// Who made a write: the test or host through the session's own setters, or
// a control (anything else, the writes a control makes while it is told of a
// host write included).
enum class Writer { Host, Control };

// One value the session saw written to an input.
struct Write {
  std::string Input;
  std::string Value;
  double Time;
  Writer By = Writer::Control;
};

// What a child window of a panel control is for, told by its window class
// and style rather than by its child ID.
enum class Role { Label, PushButton, CheckBox, Choice, ListBox, Edit, RichEdit, Slider };

// The `nth` (from 0) descendant of the control's window that plays `role`,
// in creation order, children before their siblings' children; null if none.
HWND FindChild(const InputControl* control, Role role, int nth = 0);

class Session : public WriteListener {
 public:
  static constexpr int DefaultPanelWidth = 300;
  static constexpr int DefaultPanelHeight = 400;

  explicit Session(int panelWidth = DefaultPanelWidth, int panelHeight = DefaultPanelHeight);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  CPipelineDoc Doc;

  // ---- tools and inputs ----
  Operator* AddTool(const char* name);
  // An input of `tool` holding `value` (the session takes the reference),
  // connected to its panel control under `panelIndex`, with more attributes.
  Input* AddInput(Operator* tool, const char* name, Parameter* value, int panelIndex = 0,
                  const TagList& attributes = {});
  Input* AddNumberInput(Operator* tool, const char* name, double value, int panelIndex = 0);
  // The tool's clip list (a ClipListInput): clips placed on it in time.
  Input* AddClipListInput(Operator* tool, const char* name, int panelIndex = 0);
  double NumberValue(Input* input);

  // ---- panel controls ----
  // Creates a panel control through its registration, gives it the host's
  // attributes (document, font, columns) and `attributes`, opens it below the
  // controls already in the panel and connects `inputs`. The session owns it.
  InputControl* AddPanelControl(const char* className, const TagList& attributes, std::vector<Input*> inputs,
                                int columns = 1);
  // The same with the inputs connected before the control opens, as a host
  // does when it opens the panel of a tool whose inputs are known.
  InputControl* AddConnectedPanelControl(const char* className, const TagList& attributes, std::vector<Input*> inputs,
                                         int columns = 1);
  // Opens a tool's panel as the host does: `addControls` adds its controls
  // (AddPanelControl, AddConnectedPanelControl) while the panel is not
  // redrawn, and the panel is then invalidated whole, so that the next pump
  // paints each of its windows once.
  void OpenPanel(const std::function<void()>& addControls);
  // The rectangle the control reported from Open (relative to its window).
  CRect OpenedRect(InputControl* control) const;
  // Deletes a control as the host does when its panel closes.
  void RemovePanelControl(InputControl* control);
  // Applies attributes again, as the host does whenever a tool's change.
  void ApplyAttributes(InputControl* control, const TagList& attributes);
  // Disconnects one input from its control as the host does (RemoveInput,
  // which lets the control hand the input its last value first).
  void DisconnectInput(InputControl* control, Input* input);

  // The host keeps a tool's controls while the tool lives: hiding the panel
  // closes every control, showing it again opens them in their order with
  // their inputs still connected. Controls added meanwhile are opened too.
  void HidePanel();
  void ShowPanel();
  bool PanelShown() const { return Shown; }

  HWND PanelWindow() const;
  CWnd* Panel() const;
  HFONT PanelFont() const { return Font; }

  // ---- driving ----
  void Pump();
  void AdvanceClock(unsigned ms);
  // A press and release at a point of `hwnd`, pumped.
  void Click(HWND hwnd, int x, int y);
  // Press at `from`, moves in `steps` to `to`, release; pumped after each.
  void Drag(HWND hwnd, POINT from, POINT to, int steps = 4);

  // ---- the application's shortcuts ----
  // Off unless turned on: keys the application's frame takes before any
  // panel window sees them (digits and letters switching tools, Ctrl+Z undo).
  void EnableShortcuts(bool on) { ShortcutsOn = on; }
  // The names of the shortcuts run, in order ("View 1", "Undo", ...).
  const std::vector<std::string>& ShortcutsRun() const { return ShortcutLog; }
  bool TranslateShortcut(const MSG& msg);
  void RunShortcut(WORD command);

  // ---- host writes ----
  // Sets an input at the document's current time as the host or a user of
  // another window would (the session takes the reference); logged as the
  // host's.
  void SetValue(Input* input, Parameter* value);
  void SetNumber(Input* input, double value);

  // ---- what the host sees ----
  // Every write, the host's and the controls', in order.
  const std::vector<Write>& Writes() const { return WriteLog; }
  std::vector<Write> HostWrites() const { return WritesBy(Writer::Host); }
  std::vector<Write> ControlWrites() const { return WritesBy(Writer::Control); }
  std::vector<Write> WritesBy(Writer writer) const;
  void ClearWrites() { WriteLog.clear(); }
  static std::string FormatValue(const Parameter* value);
  static std::string FormatTime(double time);
  bool SavePanelPng(const std::string& path);

  void InputWritten(Input* input, double time, Parameter* value) override;

 private:
  struct Placed {
    InputControl* Control;
    CRect Rect;
  };

  // A control of the class with the host's attributes, then the caller's.
  InputControl* CreateWithHostTags(const char* className, const TagList& attributes, int columns);
  // Opens a control below those already shown; false if it has no window.
  bool OpenPlaced(Placed& placed);

  std::unique_ptr<CWinApp> App;
  std::unique_ptr<PanelWnd> PanelWindowObject;
  std::vector<Operator*> Tools;
  std::vector<Placed> Controls;
  std::vector<Write> WriteLog;
  HFONT Font = nullptr;
  int PanelWidth;
  int NextTop = 0;
  bool Shown = true;
  bool ShortcutsOn = false;
  std::vector<std::string> ShortcutLog;
  // Set while the session itself writes an input, until the write is logged.
  bool HostWriting = false;
};

}  // namespace qzh
