// What a viewer tells its controls: where the image lies on the viewer (zoom
// and pan), where the pointer is, and the pen handles are drawn with at rest.
#pragma once

#include <cstdint>

#include "windows.h"

// Positions are normalised image coordinates: 0 to 1 across the image, y
// running down, (0.5, 0.5) the centre. Viewer pixels are the viewer window's
// client coordinates.
class PreviewInfo {
 public:
  // Image pixels across and down; one image pixel is 1 / PixelWidth across.
  int PixelWidth = 1;
  int PixelHeight = 1;
  // The image's size on the viewer, in viewer pixels (the pixel size times
  // the zoom).
  float ImageWidth = 1.0f;
  float ImageHeight = 1.0f;
  // The viewer pixel at which the image's top-left corner lies.
  float OriginX = 0.0f;
  float OriginY = 0.0f;
  float Zoom = 1.0f;
  // The pointer, in normalised image coordinates.
  float MouseX = 0.5f;
  float MouseY = 0.5f;
  // Handles at rest are drawn with this pen (owned by the viewer) and colour.
  HPEN ControlPen = nullptr;
  COLORREF ControlColour = RGB(255, 200, 0);

  // Shows a pixelWidth x pixelHeight image on a viewWidth x viewHeight
  // viewer, scaled by `zoom`, centred, then moved by (panX, panY) viewer
  // pixels. The origin is kept on whole pixels so the picture and the
  // handles share one grid.
  void Layout(int viewWidth, int viewHeight, int pixelWidth, int pixelHeight, float zoom, float panX = 0.0f,
              float panY = 0.0f);

  // Normalised position -> the viewer pixel containing it. Results are
  // limited to +-PixelLimit so far-away positions stay drawable.
  int TransformXOut(float x) const;
  int TransformYOut(float y) const;
  // Viewer pixel -> the normalised position of its centre, so that
  // TransformXOut(TransformXIn(px)) == px.
  float TransformXIn(int px) const;
  float TransformYIn(int py) const;

  // Sizes are measured in image widths as shown, so one size is the same
  // number of viewer pixels along both axes. Out: size -> normalised length
  // along the axis; In: normalised length along the axis -> size.
  float AspectScaleXOut(float size) const;
  float AspectScaleYOut(float size) const;
  float AspectScaleXIn(float length) const;
  float AspectScaleYIn(float length) const;

  // Puts the pointer at a viewer pixel.
  void SetMouse(int px, int py);

  static constexpr int PixelLimit = 1 << 20;
};
