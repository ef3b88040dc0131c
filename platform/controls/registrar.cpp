#include <strings.h>

#include "commctrl.h"
#include "controls.h"
#include "control_base.h"
#include "qzplatform/classes.h"
#include "richedit.h"

namespace qz::controls {
namespace {

// A class already registered with this procedure is left as it is: the
// registrar runs whenever a program asks for the common controls, which
// controls do each time they create one.
void Register(const char* name, WNDPROC proc, UINT style, LPCSTR cursor) {
  WNDCLASSA wc{};
  if (GetClassInfoA(nullptr, name, &wc) && wc.lpfnWndProc == proc) return;
  wc = WNDCLASSA{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = kStateBytes;
  wc.hCursor = LoadCursorA(nullptr, cursor);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

// The registrar runs again after every platform reset, so it must not rely
// on having run before.
[[maybe_unused]] const bool kRegistrarInstalled = (SetSystemClassRegistrar(&RegisterSystemClasses), true);

// A module handle for the rich edit library: any stable non-null address.
char richEditModule;

bool IsRichEditLibrary(LPCSTR name) {
  return strcasecmp(name, "RICHED32.DLL") == 0 || strcasecmp(name, "RICHED32") == 0;
}

}  // namespace

void RegisterSystemClasses() {
  // Buttons, edits, lists and combos see WM_LBUTTONDBLCLK as the platform's do;
  // the track bar does not, so that a fast second click still presses it.
  // The names are spelt as GetClassName gives them; lookups ignore case.
  Register("Button", ButtonProc, CS_DBLCLKS, IDC_ARROW);
  Register("Static", StaticProc, 0, IDC_ARROW);
  Register("Edit", EditProc, CS_DBLCLKS, IDC_IBEAM);
  Register(RICHEDIT_CLASSA, RichEditProc, CS_DBLCLKS, IDC_IBEAM);
  Register("ListBox", ListBoxProc, CS_DBLCLKS, IDC_ARROW);
  Register("ComboBox", ComboBoxProc, CS_DBLCLKS, IDC_ARROW);
  Register(TRACKBAR_CLASSA, TrackBarProc, 0, IDC_ARROW);
}

}  // namespace qz::controls

void InitCommonControls() {
  qz::controls::RegisterSystemClasses();
}

HMODULE LoadLibraryA(LPCSTR name) {
  if (!name || !qz::controls::IsRichEditLibrary(name)) return nullptr;
  qz::controls::RegisterSystemClasses();
  return reinterpret_cast<HMODULE>(&qz::controls::richEditModule);
}
