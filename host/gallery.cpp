#include "gallery.h"

#include <cstring>
#include <functional>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzsystem/registry.h"

namespace qzh {
namespace {

// How the gallery shows one control class: its attributes, its inputs and
// what a user does with it.
struct Recipe {
  const char* ClassName;
  std::function<InputControl*(Session&, Operator*)> Build;
  std::function<void(Session&, InputControl*)> Use;
};

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

const std::vector<Recipe>& Recipes() {
  static const std::vector<Recipe> recipes = {
      {"ButtonControl", BuildButton, UseButton},
  };
  return recipes;
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
        if (control) shown.emplace_back(&recipe, control);
        else out << "could not open " << info.Name << "\n";
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
      const char* kind = request.Type == RenderRequest::Sync ? "sync" : request.Type == RenderRequest::Interactive
                                                                           ? "interactive"
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
    for (auto& entry : shown) session.RemovePanelControl(entry.second);
  }
  if (!module.Unload()) out << "note: the module stayed loaded after unload\n";
  return status;
}

}  // namespace qzh
