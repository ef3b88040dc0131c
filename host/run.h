// `qzhost run`: the sample tool's panel and viewer in a real window, driven
// by a person with the mouse and keyboard.
#pragma once

#include <string>

namespace qzh {

struct RunOptions {
  // Where every write, undo and redo, the layout and each present are logged
  // ("-" for standard output); nothing is logged when empty.
  std::string LogPath;
  // The screen as last shown, saved as a PNG when the window closes.
  std::string PngPath;
};

// Opens the window and runs until it is closed (or Ctrl+Q). Returns a
// process exit code; 1 with a message when this qzhost has no window
// support or no display.
int RunInteractive(const RunOptions& options);

}  // namespace qzh
