// The gallery: one sample tool whose inputs use every registered panel
// control, laid out, clicked, and rendered.
#pragma once

#include <ostream>
#include <string>

namespace qzh {

// Runs the gallery, printing the transcript to `out`; writes the panel as
// a PNG to `pngPath` unless it is empty. Returns a process exit code.
int RunGallery(std::ostream& out, const std::string& pngPath);

}  // namespace qzh
