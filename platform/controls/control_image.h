// The picture of a button or static set with BM_SETIMAGE / STM_SETIMAGE.
#pragma once

#include "windows.h"

namespace qz::controls {

struct ImagePlacement {
  RECT area;
  bool centred;    // centred in `area`, else at its top left
  int offset;      // extra shift right and down (a pressed button)
  int iconFrame;   // side of the frame that stands in for an icon
  int frameColor;  // system colour of that frame
};

// A bitmap is blitted through a memory DC kept in `*cache` (made on first use,
// deleted by the owner). Icons are opaque handles that cannot be drawn here,
// so a frame of an icon's size stands in for them.
void PaintImage(HDC hdc, HANDLE image, HDC* cache, const ImagePlacement& place);

}  // namespace qz::controls
