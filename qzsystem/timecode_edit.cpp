#include "qzsystem/timecodeedit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long DefaultFrameRate = 24;
constexpr int TextSize = 64;

constexpr double PowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

void CopyTruncated(char* out, size_t size, const char* text, size_t length) {
  length = std::min(length, size - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

// The exact product value * 10^digits rounded half to even, as printf rounds
// the exact binary value; false where the shortcut cannot be proved exact.
bool ScaledRounded(double value, int digits, unsigned long long* scaled) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < 1e300) || (magnitude != 0.0 && magnitude < 1e-200)) return false;
  const double power = PowersOfTen[digits];
  const double product = magnitude * power;
  if (!(product < 0x1p52)) return false;
  // product + error is exactly magnitude * power.
  const double error = std::fma(magnitude, power, -product);
  const double whole = std::floor(product);
  const double fraction = product - whole;
  const double half = fraction - 0.5;
  bool up;
  if (half != 0.0)
    up = half > 0.0;
  else if (error != 0.0)
    up = error > 0.0;
  else
    up = std::fmod(whole, 2.0) != 0.0;
  *scaled = static_cast<unsigned long long>(whole) + (up ? 1 : 0);
  return true;
}

// Same text as printf's "%.*f" (to_chars is defined to match it); common
// values take a shortcut through integer digits, written from the right:
// the fraction's digits, the point, then the whole part's (at least one).
void WriteFixed(char* out, size_t size, double value, int digits) {
  unsigned long long scaled;
  if (ScaledRounded(value, digits, &scaled)) {
    char text[48];  // below 2^52: 16 digits, a point, a sign
    char* const end = text + sizeof text;
    char* p = end;
    for (int k = 0; k < digits; ++k) {
      *--p = static_cast<char>('0' + scaled % 10);
      scaled /= 10;
    }
    if (digits > 0) *--p = '.';
    do {
      *--p = static_cast<char>('0' + scaled % 10);
      scaled /= 10;
    } while (scaled > 0);
    if (std::signbit(value)) *--p = '-';
    CopyTruncated(out, size, p, static_cast<size_t>(end - p));
    return;
  }
  char buffer[512];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
  if (error != std::errc()) {
    std::snprintf(out, size, "%.*f", digits, value);
    return;
  }
  CopyTruncated(out, size, buffer, static_cast<size_t>(end - buffer));
}

// Same text as printf's "%02lld" for the non-negative fields of a time code.
char* WriteTwoDigitsAtLeast(char* p, long long v) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v > 0);
  if (n < 2) digits[n++] = '0';
  while (n > 0) *p++ = digits[--n];
  return p;
}

}  // namespace

void TimeCodeEdit::SetValue(double value, long decimals) {
  if (!m_hWnd) return;
  char text[TextSize];
  FormatTimeCode(value, text, IsInteger, decimals, sizeof text, Type, 0, 0, 0, 1e15);
  char shown[TextSize];
  ::GetWindowTextA(m_hWnd, shown, sizeof shown);
  if (std::strcmp(text, shown) != 0) ::SetWindowTextA(m_hWnd, text);
}

double TimeCodeEdit::GetValue(double def) {
  if (!m_hWnd) return def;
  char text[TextSize];
  ::GetWindowTextA(m_hWnd, text, sizeof text);
  double value;
  if (!ParseTimeCode(text, Type, 0, &value)) return def;
  return IsInteger ? std::trunc(value) : value;
}

void TimeCodeEdit::SetDisabled(long disabled) {
  IsDisabled = disabled != 0;
  if (m_hWnd) ::EnableWindow(m_hWnd, !IsDisabled);
}

void TimeCodeEdit::SetInteger(long integer) {
  IsInteger = integer != 0;
}
void TimeCodeEdit::SetTimeType(long type) {
  Type = type;
}

void TimeCodeEdit::FormatTimeCode(double value, char* out, long integer, long decimals, long size, long timeType,
                                  long frameRate, long, long, double limit) {
  if (!out || size <= 0) return;
  if (std::isnan(value)) value = 0.0;
  // fmax(-limit, fmin(limit, value)) for a value that is not NaN.
  if (limit > 0.0) value = value > limit ? limit : value < -limit ? -limit : value;
  if (timeType == 0) {
    if (integer || decimals <= 0) {
      WriteFixed(out, static_cast<size_t>(size), std::trunc(value), 0);
    } else {
      int digits = decimals > 15 ? 15 : static_cast<int>(decimals);
      WriteFixed(out, static_cast<size_t>(size), value, digits);
    }
    return;
  }
  long rate = frameRate > 0 ? frameRate : DefaultFrameRate;
  bool negative = value < 0.0;
  long long frames = static_cast<long long>(std::llround(std::fabs(value)));
  long long ff = frames % rate;
  long long seconds = frames / rate;
  if (!(std::fabs(value) < 0x1p62)) {
    // Frame counts beyond 64 bits keep the library's own rendering.
    std::snprintf(out, static_cast<size_t>(size), "%s%02lld:%02lld:%02lld:%02lld", negative ? "-" : "", seconds / 3600,
                  (seconds / 60) % 60, seconds % 60, ff);
    return;
  }
  char buffer[96];
  char* p = buffer;
  if (negative) *p++ = '-';
  p = WriteTwoDigitsAtLeast(p, seconds / 3600);
  *p++ = ':';
  p = WriteTwoDigitsAtLeast(p, (seconds / 60) % 60);
  *p++ = ':';
  p = WriteTwoDigitsAtLeast(p, seconds % 60);
  *p++ = ':';
  p = WriteTwoDigitsAtLeast(p, ff);
  CopyTruncated(out, static_cast<size_t>(size), buffer, static_cast<size_t>(p - buffer));
}

bool TimeCodeEdit::ParseTimeCode(const char* text, long, long frameRate, double* value) {
  if (!text || !value) return false;
  while (*text == ' ') ++text;
  if (!*text) return false;
  if (std::strchr(text, ':')) {
    long rate = frameRate > 0 ? frameRate : DefaultFrameRate;
    bool negative = *text == '-';
    if (negative) ++text;
    long long fields[4] = {0, 0, 0, 0};
    int count = 0;
    const char* p = text;
    while (*p && count < 4) {
      char* end;
      long long v = std::strtoll(p, &end, 10);
      if (end == p || v < 0) return false;
      fields[count++] = v;
      p = end;
      if (*p == ':')
        ++p;
      else
        break;
    }
    while (*p == ' ') ++p;
    if (*p) return false;
    // The last field counts frames, the ones before it seconds, minutes, hours.
    double frames = 0.0;
    double scale = 1.0;
    for (int i = count - 1, place = 0; i >= 0; --i, ++place) {
      frames += static_cast<double>(fields[i]) * scale;
      scale *= place == 0 ? static_cast<double>(rate) : 60.0;
    }
    *value = negative ? -frames : frames;
    return true;
  }
  char* end;
  double v = std::strtod(text, &end);
  if (end == text) return false;
  while (*end == ' ') ++end;
  if (*end) return false;
  if (!std::isfinite(v)) return false;
  *value = v;
  return true;
}
