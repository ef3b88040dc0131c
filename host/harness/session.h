// A host session for tests and the reference host: a clean platform, an
// application object, a document with tools and inputs, and a panel window
// in which panel controls are created, stacked and driven as the host does.
#pragma once

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

// One value the session saw written to an input.
struct Write {
  std::string Input;
  std::string Value;
  double Time;
};

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
  // The rectangle the control reported from Open (relative to its window).
  CRect OpenedRect(InputControl* control) const;
  // Deletes a control as the host does when its panel closes.
  void RemovePanelControl(InputControl* control);
  // Applies attributes again, as the host does whenever a tool's change.
  void ApplyAttributes(InputControl* control, const TagList& attributes);

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

  // ---- what the host sees ----
  const std::vector<Write>& Writes() const { return WriteLog; }
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

  std::unique_ptr<CWinApp> App;
  std::unique_ptr<PanelWnd> PanelWindowObject;
  std::vector<Operator*> Tools;
  std::vector<Placed> Controls;
  std::vector<Write> WriteLog;
  HFONT Font = nullptr;
  int PanelWidth;
  int NextTop = 0;
};

}  // namespace qzh
