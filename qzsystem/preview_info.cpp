#include "qzsystem/previewinfo.h"

#include <cmath>

namespace {

int ToPixel(double v) {
  // NaN fails both comparisons and lands on the lower limit.
  if (!(v > -PreviewInfo::PixelLimit)) return -PreviewInfo::PixelLimit;
  if (v > PreviewInfo::PixelLimit) return PreviewInfo::PixelLimit;
  // floor, without a library call: the conversion truncates towards zero.
  const int truncated = static_cast<int>(v);
  return truncated - (v < truncated);
}

// length * a / b, worked in double so that lengths with exact pixel sizes
// stay exact; unchanged when b is not positive.
float Scaled(float length, float a, float b) {
  return b > 0.0f ? static_cast<float>(static_cast<double>(length) * a / b) : length;
}

}  // namespace

void PreviewInfo::Layout(int viewWidth, int viewHeight, int pixelWidth, int pixelHeight, float zoom, float panX,
                         float panY) {
  PixelWidth = pixelWidth > 0 ? pixelWidth : 1;
  PixelHeight = pixelHeight > 0 ? pixelHeight : 1;
  Zoom = zoom > 0.0f && std::isfinite(zoom) ? zoom : 1.0f;
  ImageWidth = static_cast<float>(PixelWidth) * Zoom;
  ImageHeight = static_cast<float>(PixelHeight) * Zoom;
  OriginX = std::floor((static_cast<float>(viewWidth) - ImageWidth) * 0.5f + panX);
  OriginY = std::floor((static_cast<float>(viewHeight) - ImageHeight) * 0.5f + panY);
}

int PreviewInfo::TransformXOut(float x) const {
  return ToPixel(OriginX + static_cast<double>(x) * ImageWidth);
}

int PreviewInfo::TransformYOut(float y) const {
  return ToPixel(OriginY + static_cast<double>(y) * ImageHeight);
}

float PreviewInfo::TransformXIn(int px) const {
  return ImageWidth > 0.0f ? static_cast<float>((px + 0.5 - OriginX) / ImageWidth) : 0.0f;
}

float PreviewInfo::TransformYIn(int py) const {
  return ImageHeight > 0.0f ? static_cast<float>((py + 0.5 - OriginY) / ImageHeight) : 0.0f;
}

float PreviewInfo::AspectScaleXOut(float size) const {
  return size;
}

float PreviewInfo::AspectScaleYOut(float size) const {
  return Scaled(size, ImageWidth, ImageHeight);
}

float PreviewInfo::AspectScaleXIn(float length) const {
  return length;
}

float PreviewInfo::AspectScaleYIn(float length) const {
  return Scaled(length, ImageHeight, ImageWidth);
}

void PreviewInfo::SetMouse(int px, int py) {
  MouseX = TransformXIn(px);
  MouseY = TransformYIn(py);
}
