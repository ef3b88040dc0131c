#include "gallery.h"

#include <cstring>
#include <functional>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "harness/viewer.h"
#include "qzplatform/driver.h"
#include "qzsystem/registry.h"

namespace qzh {
namespace {

InputControl* BuildButton(Session& s, Operator* tool) {
  Input* pulse = s.AddNumberInput(tool, "Pulse", 0.0);
  return s.AddPanelControl("ButtonControl", TagList{{qzc::tag::ControlName, "Reset Pulse"}}, {pulse});
}

void UseButton(Session& s, InputControl* control) {
  HWND button = GetDlgItem(control->Wnd->m_hWnd, 1000);
  RECT rc;
  GetClientRect(button, &rc);
  s.Click(button, rc.right / 2, rc.bottom / 2);
}

InputControl* BuildCheckBox(Session& s, Operator* tool) {
  Input* invert = s.AddNumberInput(tool, "Invert", 0.0);
  return s.AddPanelControl(
      "CheckBoxControl", TagList{{qzc::tag::ControlName, "Invert Mask"}, {qzc::tag::CheckBoxThreeState, 1}}, {invert});
}

// Twice round the three states: on, then indeterminate.
void UseCheckBox(Session& s, InputControl* control) {
  HWND box = GetDlgItem(control->Wnd->m_hWnd, 1000);
  RECT rc;
  GetClientRect(box, &rc);
  s.Click(box, 6, rc.bottom / 2);
  s.Click(box, 6, rc.bottom / 2);
}

InputControl* BuildCombo(Session& s, Operator* tool) {
  Input* mode = s.AddNumberInput(tool, "Apply Mode", 0.0);
  return s.AddPanelControl("ComboControl",
                           TagList{{qzc::tag::ControlName, "Apply Mode"},
                                   {qzc::tag::ComboEntry, "Normal"},
                                   {qzc::tag::ComboEntry, "Screen"},
                                   {qzc::tag::ComboEntry, "Multiply"}},
                           {mode});
}

// Drops the list with a click on the field and picks the second entry.
void UseCombo(Session& s, InputControl* control) {
  HWND combo = GetDlgItem(control->Wnd->m_hWnd, 1000);
  RECT field;
  GetClientRect(combo, &field);
  s.Click(combo, field.right / 2, field.bottom / 2);
  const int row = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  s.Click(combo, field.right / 2, field.bottom + 1 + row + row / 2);
}

InputControl* BuildSlider(Session& s, Operator* tool) {
  Input* blend = s.AddNumberInput(tool, "Blend", 0.25);
  return s.AddPanelControl(
      "SliderControl",
      TagList{{qzc::tag::SliderLeftLabel, "Blend"}, {qzc::tag::SliderRightLabel, "mix"}, {qzc::tag::DefaultValue, 0.5}},
      {blend});
}

// Drags the thumb from 0.25 (x 68 on the track from 24 to 201, the default
// 0.5 at its middle) to the right, past the default.
void UseSlider(Session& s, InputControl* control) {
  HWND slider = GetDlgItem(control->Wnd->m_hWnd, 1001);
  s.Drag(slider, POINT{68, 9}, POINT{160, 9}, 6);
}

const std::vector<Recipe>& Recipes() {
  static const std::vector<Recipe> recipes = {
      {"ButtonControl", BuildButton, UseButton},
      {"CheckBoxControl", BuildCheckBox, UseCheckBox},
      {"ComboControl", BuildCombo, UseCombo},
      {"SliderControl", BuildSlider, UseSlider},
  };
  return recipes;
}

// ---- the viewer ----

// A centre handle tied to a pivot handle: the line runs from the centre to
// the pivot.
PreviewControl* BuildPoint(Session& s, Viewer& v, Operator* tool) {
  Input* pivot = s.AddInput(tool, "Pivot", new Point(0.3f, 0.65f));
  Input* centre = s.AddInput(tool, "Centre", new Point(0.5f, 0.4f));
  v.AddViewerControl("PointControl", {pivot});
  return v.AddViewerControl("PointControl", {centre},
                            TagList{{qzc::tag::ReferenceInput, static_cast<const void*>(pivot)}});
}

std::ostream& operator<<(std::ostream& out, POINT p) {
  return out << "(" << p.x << ", " << p.y << ")";
}

// Prints the writes since the last call and forgets them.
void PrintWrites(std::ostream& out, Session& s) {
  for (const Write& write : s.Writes())
    out << "  wrote " << write.Input << " = " << write.Value << " at time " << Session::FormatTime(write.Time) << "\n";
  s.ClearWrites();
}

// Drags the centre handle up and to the right, then nudges it with Shift+Left.
void UsePoint(Session& s, Viewer& v, PreviewControl*, std::ostream& out) {
  const POINT from = v.PixelOf(0.5, 0.4);
  const POINT to = v.PixelOf(0.72, 0.3);
  out << "  drag from viewer pixel " << from << " to " << to << " in 5 moves:\n";
  s.Drag(v.Window(), from, to, 5);
  PrintWrites(out, s);
  out << "  Shift+Left:\n";
  qz::SetKeyDown(VK_SHIFT, true);
  qz::PressKey(VK_LEFT);
  qz::SetKeyDown(VK_SHIFT, false);
  PrintWrites(out, s);
}

const std::vector<ViewerRecipe>& ViewerRecipes() {
  static const std::vector<ViewerRecipe> recipes = {
      {"PointControl", BuildPoint, UsePoint},
  };
  return recipes;
}

// "gallery.png" -> "gallery-viewer.png".
std::string ViewerPngPath(const std::string& panelPath) {
  const size_t dot = panelPath.rfind('.');
  const size_t slash = panelPath.find_last_of('/');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? panelPath.substr(0, dot) : panelPath) + "-viewer.png";
}

// Shows every viewer control with a recipe over the sample picture, uses
// them, prints what they wrote and saves the viewer beside the panel.
int ShowViewer(std::ostream& out, Session& session, Operator* tool, const std::string& pngPath) {
  int status = 0;
  Viewer viewer(session.Doc, Viewer::DefaultWidth, Viewer::DefaultHeight, POINT{Session::DefaultPanelWidth + 20, 0});
  std::vector<std::pair<const ViewerRecipe*, PreviewControl*>> shown;
  for (const ClassInfo& info : ControlClasses()) {
    if (info.Type != ClassTypeViewerControl) continue;
    for (const ViewerRecipe& recipe : ViewerRecipes()) {
      if (info.Name != recipe.ClassName) continue;
      PreviewControl* control = recipe.Build(session, viewer, tool);
      if (control)
        shown.emplace_back(&recipe, control);
      else
        out << "could not show " << info.Name << "\n";
    }
  }
  session.Pump();
  out << "\nviewer: " << viewer.Controls().size() << " controls over picture " << Viewer::SamplePicture
      << (viewer.HasPicture() ? "" : " (missing)") << "\n";
  for (auto& [recipe, control] : shown) {
    out << "\n" << recipe->ClassName << ":\n";
    session.ClearWrites();
    recipe->Use(session, viewer, control, out);
    PrintWrites(out, session);
  }
  if (!pngPath.empty()) {
    const std::string path = ViewerPngPath(pngPath);
    if (viewer.SavePng(path)) {
      out << "viewer written to " << path << "\n";
    } else {
      out << "could not write " << path << "\n";
      status = 1;
    }
  }
  return status;
}

}  // namespace

int RunGallery(std::ostream& out, const std::string& pngPath) {
  Module module;
  if (!module.Load()) {
    out << "cannot load the controls module: " << module.Error() << "\n";
    return 1;
  }
  int status = 0;
  {
    Session session;
    Operator* tool = session.AddTool("Sample");
    std::vector<std::pair<const Recipe*, InputControl*>> shown;
    for (const ClassInfo& info : ControlClasses()) {
      if (info.Type != ClassTypePanelControl) continue;
      for (const Recipe& recipe : Recipes()) {
        if (info.Name != recipe.ClassName) continue;
        InputControl* control = recipe.Build(session, tool);
        if (control)
          shown.emplace_back(&recipe, control);
        else
          out << "could not open " << info.Name << "\n";
      }
    }
    session.Pump();
    out << "panel: " << shown.size() << " controls on tool \"" << tool->Name << "\"\n";
    for (auto& [recipe, control] : shown) {
      out << "\n" << recipe->ClassName << ":\n";
      session.ClearWrites();
      recipe->Use(session, control);
      for (const Write& write : session.Writes())
        out << "  wrote " << write.Input << " = " << write.Value << " at time " << Session::FormatTime(write.Time)
            << "\n";
    }
    out << "\nundo steps:";
    for (const std::string& step : session.Doc.UndoSteps()) out << " \"" << step << "\"";
    out << "\nrender requests: " << session.Doc.RenderRequests().size() << "\n";
    for (const RenderRequest& request : session.Doc.RenderRequests()) {
      const char* kind = request.Type == RenderRequest::Sync          ? "sync"
                         : request.Type == RenderRequest::Interactive ? "interactive"
                                                                      : "post";
      out << "  " << kind << (request.Tool ? std::string(" of ") + request.Tool->Name : std::string()) << "\n";
    }
    if (!pngPath.empty()) {
      if (session.SavePanelPng(pngPath)) {
        out << "panel written to " << pngPath << "\n";
      } else {
        out << "could not write " << pngPath << "\n";
        status = 1;
      }
    }
    if (ShowViewer(out, session, tool, pngPath) != 0) status = 1;
    for (auto& entry : shown) session.RemovePanelControl(entry.second);
  }
  if (!module.Unload()) out << "note: the module stayed loaded after unload\n";
  return status;
}

const std::vector<Recipe>& PanelRecipes() {
  return Recipes();
}

const std::vector<ViewerRecipe>& ViewerControlRecipes() {
  return ViewerRecipes();
}

}  // namespace qzh
