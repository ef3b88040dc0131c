// What the file-name controls share: bounded path buffers, the path field
// and icon button, dropped and typed names.
#pragma once

#include <cstddef>

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "shellapi.h"

class TimeCodeEdit;

namespace qzc {

// The platform's path limit: 259 characters and the terminator.
constexpr size_t PathSize = 260;
using PathBuffer = char[PathSize];

constexpr DWORD PathFieldStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD IconButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_ICON;
constexpr WORD BrowseIconResource = 400;
// Posted to a control's own window when its disabled flag changes, so the
// host refreshes the control.
constexpr UINT DisabledChangedMessage = ControlRefreshMessage;

// Copies `text` (null as "") into `out`; a text too long for it is refused
// and `out` left as it was, so a path is never cut into another file's name.
bool CopyPath(PathBuffer& out, const char* text);
// Copies as much of `text` as fits, for showing what the host holds.
void CopyPathCut(PathBuffer& out, const char* text);
// Letter case does not make two file names different.
bool SameFileName(const char* a, const char* b);

// The browse buttons' icon, from the module's resources; DeleteObject frees it.
HANDLE LoadBrowseIcon();
BOOL CreatePathField(TimeCodeEdit& field, const RECT& rect, CWnd* parent, UINT id, HFONT font);
BOOL CreateIconButton(CButton& button, const RECT& rect, CWnd* parent, UINT id, HFONT font, HANDLE icon);
// Shows `path` in the field, or nothing while the name is hidden.
void ShowPath(CWnd& field, const char* path, bool hidden);

// The first dropped file; false when there is none or its name does not fit.
bool FirstDroppedFile(HDROP drop, PathBuffer& out);
// The field's text; false when it is longer than a path may be.
bool TypedPath(CWnd& field, PathBuffer& out);

}  // namespace qzc
