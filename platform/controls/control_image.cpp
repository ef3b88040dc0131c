#include "control_image.h"

namespace qz::controls {
namespace {

POINT Origin(const ImagePlacement& place, int width, int height) {
  POINT p{place.area.left, place.area.top};
  if (place.centred) {
    p.x += (place.area.right - place.area.left - width) / 2;
    p.y += (place.area.bottom - place.area.top - height) / 2;
  }
  return POINT{p.x + place.offset, p.y + place.offset};
}

}  // namespace

void PaintImage(HDC hdc, HANDLE image, HDC* cache, const ImagePlacement& place) {
  if (!image) return;
  if (GetObjectType(image) != OBJ_BITMAP) {
    POINT at = Origin(place, place.iconFrame, place.iconFrame);
    RECT frame{at.x, at.y, at.x + place.iconFrame, at.y + place.iconFrame};
    FrameRect(hdc, &frame, GetSysColorBrush(place.frameColor));
    return;
  }
  BITMAP bm{};
  if (!GetObjectA(image, sizeof(bm), &bm)) return;
  if (!*cache) *cache = CreateCompatibleDC(hdc);
  if (!*cache) return;
  POINT at = Origin(place, bm.bmWidth, bm.bmHeight);
  HGDIOBJ old = SelectObject(*cache, image);
  BitBlt(hdc, at.x, at.y, bm.bmWidth, bm.bmHeight, *cache, 0, 0, SRCCOPY);
  SelectObject(*cache, old);
}

}  // namespace qz::controls
