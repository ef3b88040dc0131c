// The gallery: one sample tool whose inputs use every registered panel
// control, laid out, clicked, and rendered.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

class InputControl;
class Operator;
class PreviewControl;

namespace qzh {

class Session;
class Viewer;

// How the gallery shows one panel control class: its attributes, its inputs
// (made on `tool`) and what a user does with it. A control with a recipe is
// also driven by the random session driver (fuzz/).
struct Recipe {
  const char* ClassName;
  std::function<InputControl*(Session&, Operator*)> Build;
  std::function<void(Session&, InputControl*)> Use;
};

// How the gallery shows one viewer control class: the inputs (made on
// `tool`) and controls it puts over the picture, and what a user does with it.
struct ViewerRecipe {
  const char* ClassName;
  std::function<PreviewControl*(Session&, Viewer&, Operator*)> Build;
  std::function<void(Session&, Viewer&, PreviewControl*, std::ostream&)> Use;
};

// The gallery's recipes, one per control class.
const std::vector<Recipe>& PanelRecipes();
const std::vector<ViewerRecipe>& ViewerControlRecipes();

// Runs the gallery, printing the transcript to `out`; writes the panel as
// a PNG to `pngPath` unless it is empty. Returns a process exit code.
int RunGallery(std::ostream& out, const std::string& pngPath);

}  // namespace qzh
