// The gallery: one sample tool whose inputs use every registered panel
// control, laid out, clicked, and rendered.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "harness/session.h"
#include "harness/viewer.h"

namespace qzh {

// How the gallery shows one control class: its attributes, its inputs and
// what a user does with it.
struct Recipe {
  const char* ClassName;
  std::function<InputControl*(Session&, Operator*)> Build;
  std::function<void(Session&, InputControl*)> Use;
};

// How the gallery shows one viewer control class: the inputs and controls it
// puts over the picture, and what a user does with it.
struct ViewerRecipe {
  const char* ClassName;
  std::function<PreviewControl*(Session&, Viewer&, Operator*)> Build;
  std::function<void(Session&, Viewer&, PreviewControl*, std::ostream&)> Use;
};

// The recipes of the panel and of the viewer, in the gallery's order; the
// interactive host builds the same sample tool from them.
const std::vector<Recipe>& PanelRecipes();
const std::vector<ViewerRecipe>& GalleryViewerRecipes();

// Runs the gallery, printing the transcript to `out`; writes the panel as
// a PNG to `pngPath` unless it is empty. Returns a process exit code.
int RunGallery(std::ostream& out, const std::string& pngPath);

}  // namespace qzh
