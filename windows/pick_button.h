// The push button behind the colour control's swatch and "Pick" button: it
// turns a press, drag and release of the mouse into messages to its parent,
// the colour control's window. A release over another window of the
// application names that window and point (the swatch copies its colour
// there); the pick button names the window under the pointer at every move
// (a live pick), makes the whole drag one undo step, and a right click
// during the drag cancels it and puts the colour back.
#pragma once

#include <cstdint>

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"

namespace qzc {

// What the buttons send to their parent: wParam the window under the
// pointer, lParam the point in its client coordinates.
constexpr UINT SwatchDropMessage = 3024;
constexpr UINT PickMessage = 3025;
// Posted to the window a pick moves over, lParam the point: where it will pick.
constexpr UINT PickShowMessage = 5147;
// The colour control's requests to that window, wParam its list of inputs.
constexpr UINT CopyColourMessage = 5148;
constexpr UINT PickRequestMessage = 5149;
// Messages from here up reaching the button belong to its parent.
constexpr UINT FirstOwnerMessage = 0x1400;

class PickButton : public CButton {
 public:
  static constexpr int Channels = 4;

  PickButton() = default;
  ~PickButton() override;

  uint32_t Capturing = 0;
  // 0 (a plain push button), SwatchDropMessage or PickMessage.
  UINT Message = 0;
  HCURSOR Cursor = nullptr;
  InputControl* Owner = nullptr;
  double SavedColour[Channels] = {};

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Picks() const { return Message == PickMessage && Owner; }
  // The window under a point of this button and the point in its client
  // coordinates, when it is a window of the application.
  HWND TargetAt(LPARAM lParam, LPARAM* point) const;

  void OnLButtonDown();
  void OnMouseMove(LPARAM lParam);
  void OnLButtonUp(LPARAM lParam);
  void OnRButtonDown();
  void OnGestureLost();
  void SaveColour();
  void RestoreColour();
  void CloseUndo();

  uint32_t SavedChannels = 0;  // bit c: SavedColour[c] holds the value at the press
  bool UndoOpen = false;
};

}  // namespace qzc
