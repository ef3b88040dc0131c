#include "qzplatform/menus.h"
#include "wm.h"

namespace qz {

using namespace user;

void StartRecording() {
  P().recorded.clear();
  P().recording = true;
}

std::vector<RecordedMessage> StopRecording() {
  Platform& p = P();
  p.recording = false;
  std::vector<RecordedMessage> out;
  out.swap(p.recorded);
  return out;
}

void ResetPlatform() {
  Platform& p = P();
  Hold hold;
  // Hooks go first so that none can veto the teardown.
  ClearHooks();
  while (!p.desktop->children.empty()) {
    Window* top = p.desktop->children.back();
    if (!DestroyWindow(top->handle) && !top->dead) {
      // Destruction already under way further up the stack: detach it so the loop ends.
      Unlink(top);
    }
  }
  ClearTimers();
  ClearInput();
  p.posted.Clear();
  p.quitPending = false;
  p.capture = nullptr;
  p.focus = nullptr;
  p.cursor = nullptr;
  p.now = 0;
  p.messageTime = 0;
  p.recording = false;
  p.recorded.clear();
  ReleaseAllWindowDCs();
  ClearClasses();
  ResetMenus();
}

}  // namespace qz

LONG GetDialogBaseUnits() {
  // The platform's system font at 96 DPI measures 8 x 16 pixels.
  return MAKELONG(8, 16);
}

BOOL MessageBeep(UINT) {
  return TRUE;
}

namespace {
// The process's own module handle: any stable non-null address.
char processModule;
}  // namespace

// The process itself is the only module known by name here: a null name gives
// its handle (what a host passes to RegisterClass and CreateWindow), any
// other name null, as for a library that is not loaded.
HMODULE GetModuleHandleA(LPCSTR name) {
  return name ? nullptr : reinterpret_cast<HMODULE>(&processModule);
}
