// Base class of the panel controls: a control shown in a tool's control
// panel, connected to one or more inputs of the tool.
#pragma once

#include <cstdint>

#include "afxwin.h"
#include "qzsystem/input.h"
#include "qzsystem/list.h"
#include "qzsystem/object.h"

class CPipelineDoc;
class Parameter;
class ControlWnd;

// Attributes the host itself gives every panel control, besides those the
// controls read (the control's name is 0x10040001).
constexpr uint32_t ControlNameTag = 0x10040001;
constexpr uint32_t ControlDisabledTag = 0x10040002;
constexpr uint32_t ControlFlagsTag = 0x10040003;
constexpr uint32_t ControlColumnsTag = 0x10040004;
constexpr uint32_t ControlFontTag = 0x10040006;
constexpr uint32_t ControlDocTag = 0x10040008;
// Posted by a control to its own window when its disabled state changed; the
// host refreshes the control.
constexpr UINT ControlRefreshMessage = 0x0464;

// The index under which an input is connected to its panel control.
constexpr uint32_t PanelIndexTag = 0x1003000a;

class InputControl : public Object, public InputObserver {
 public:
  InputControl();
  ~InputControl() override;

  CWnd* Wnd = nullptr;  // the control's window in the panel; null until Open
  char* Name;           // label text, never null
  uint32_t Disabled = 0;
  uint32_t Flags = 0;
  int Columns = 1;
  HFONT Font = nullptr;
  CPipelineDoc* Doc = nullptr;
  List Inputs;  // the connected inputs, in connection order
  // Where the host places the control window in the panel, in panel
  // coordinates; the rectangle given to Open is relative to it.
  CPoint Position;

  uint32_t SetAttrsTagList(TagList& tags) override;

  virtual LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual Input* GetInputAt(int x, int y);
  virtual uint32_t Open(CWnd* parent, CRect& rect);
  virtual void Close();
  virtual uint32_t AddInput(Input* input);
  virtual uint32_t RemoveInput(Input* input);
  virtual void SetInputs(Parameter* value, double time, uint32_t index);
  virtual void ResetUndo();
  virtual void NotifyChanged(Input* input, Parameter* value);
  virtual void UpdateDisplay(Input* input);
  virtual void OnConnect(Input* input);
  virtual void OnDisconnect(Input* input);
  virtual uint32_t IsEditInRange(HWND edit);
  virtual void SetUndo(uint32_t on);
  virtual void OnOK();
  virtual void OnCancel();
  virtual uint32_t OnDropFiles(HDROP drop);
  virtual void DrawBevel(HDC hdc, const RECT& rect);

  // Whether `newValue` counts as a change from `oldValue` at `precision`:
  // both are rounded to whole multiples of the precision (to whole numbers
  // when `integer`) and compared, so a step of exactly one precision counts
  // and floating-point noise below it does not.
  static uint32_t HasValueChanged(uint32_t integer, double newValue, double oldValue, double precision);

  // The control whose window is `hwnd` or an ancestor of it; null if none.
  static InputControl* FromWindow(HWND hwnd);

  void InputChanged(Input* input, Parameter* value) override;
  // A connected input was connected to another output or disconnected (by a
  // user, the host or an undo): the control hears it through OnConnect.
  void InputConnected(Input* input, Output* output) override;

 protected:
  uint32_t UndoEnabled = 1;

 private:
  void SetName(const char* name);
  ControlWnd* Window = nullptr;
};
