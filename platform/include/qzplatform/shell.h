// File drops from the shell, as a host produces them.
#pragma once

#include <string>
#include <vector>

#include "../shellapi.h"

namespace qz {

// Drops `files` on `target` at `clientPoint` (target's client coordinates).
// The drop goes to the target or its nearest ancestor with WS_EX_ACCEPTFILES:
// WM_DROPFILES (wParam = a new HDROP, its point in that window's client
// coordinates) is posted to it and true returned; false when no window
// accepts files. The receiver frees the handle with DragFinish.
bool DropFiles(HWND target, POINT clientPoint, const std::vector<std::string>& files);

// Frees every drop handle not yet finished.
void ResetDrops();

}  // namespace qz
