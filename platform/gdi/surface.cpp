#include <algorithm>
#include <climits>
#include <cstring>

#include "qzplatform/surface.h"

namespace qz {

// Black, the start of every new bitmap, is written as bytes (memset), many
// pixels a store, rather than one pixel at a time.
void Surface::Resize(int w, int h, uint32_t fill) {
  width = std::max(0, w);
  height = std::max(0, h);
  const size_t count = static_cast<size_t>(width) * height;
  if (fill != 0) {
    pixels.assign(count, fill);
    return;
  }
  const size_t kept = std::min(pixels.size(), count);
  pixels.resize(count);  // the pixels added start at zero
  std::memset(pixels.data(), 0, kept * sizeof(uint32_t));
}

}  // namespace qz

// Rounds half away from zero; -1 on overflow or a zero denominator.
int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = int64_t{number} * numerator;
  int64_t quotient = product / denominator;
  int64_t remainder = product % denominator;
  int64_t absRemainder = remainder < 0 ? -remainder : remainder;
  int64_t absDenominator = denominator < 0 ? -int64_t{denominator} : denominator;
  if (2 * absRemainder >= absDenominator) quotient += ((product < 0) != (denominator < 0)) ? -1 : 1;
  if (quotient > INT_MAX || quotient < INT_MIN) return -1;
  return static_cast<int>(quotient);
}
