#include <algorithm>
#include <climits>

#include "qzplatform/surface.h"

namespace qz {

void Surface::Resize(int w, int h, uint32_t fill) {
  width = std::max(0, w);
  height = std::max(0, h);
  pixels.assign(static_cast<size_t>(width) * height, fill);
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
