// How a host answers the platform's modal common dialogs: a responder called
// with what the dialog would show, returning what the user chose. The default
// responder cancels. Every request is logged for tests.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../commdlg.h"

namespace qz {

enum class DialogKind { Colour, Font, FileOpen, FileSave };

struct DialogRequest {
  DialogKind kind = DialogKind::Colour;
  DWORD flags = 0;  // the caller's CC_/CF_/OFN_ flags
  HWND owner = nullptr;
  // Colour: the initial colour (black without CC_RGBINIT) and the 16 custom colours.
  COLORREF initialColour = 0;
  std::vector<COLORREF> customColours;
  // Font: the initial font (zeros without CF_INITTOLOGFONTSTRUCT), its size in
  // tenths of a point derived from lfHeight at 96 pixels per inch, its colour.
  LOGFONTA initialFont = {};
  int initialPointSize = 0;
  COLORREF initialFontColour = 0;
  // File: the filter as (description, pattern) pairs, the 1-based index
  // shown, the initial file name, default extension, directory and title.
  std::vector<std::pair<std::string, std::string>> filters;
  DWORD filterIndex = 0;
  std::string fileName;
  std::string defaultExtension;
  std::string initialDir;
  std::string title;
};

struct DialogAnswer {
  bool ok = false;
  COLORREF colour = 0;
  // Font: when pointSize (tenths) is 0 it is derived from font.lfHeight, and
  // a zero lfHeight is derived from pointSize.
  LOGFONTA font = {};
  int pointSize = 0;
  COLORREF fontColour = 0;
  // File: the chosen path; the default extension is appended when its file
  // name has none. filterIndex 0 keeps the index the request showed.
  std::string path;
  DWORD filterIndex = 0;
};

using DialogResponder = std::function<DialogAnswer(const DialogRequest&)>;

void SetDialogResponder(DialogResponder responder);
// Back to the cancelling responder; also clears the request log.
void ResetDialogResponder();
const std::vector<DialogRequest>& DialogRequests();

}  // namespace qz
