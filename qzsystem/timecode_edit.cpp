#include "qzsystem/timecodeedit.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long DefaultFrameRate = 24;
constexpr int TextSize = 64;

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
  if (limit > 0.0) value = std::fmax(-limit, std::fmin(limit, value));
  if (timeType == 0) {
    if (integer || decimals <= 0) {
      std::snprintf(out, static_cast<size_t>(size), "%.0f", std::trunc(value));
    } else {
      int digits = decimals > 15 ? 15 : static_cast<int>(decimals);
      std::snprintf(out, static_cast<size_t>(size), "%.*f", digits, value);
    }
    return;
  }
  long rate = frameRate > 0 ? frameRate : DefaultFrameRate;
  bool negative = value < 0.0;
  long long frames = static_cast<long long>(std::llround(std::fabs(value)));
  long long ff = frames % rate;
  long long seconds = frames / rate;
  std::snprintf(out, static_cast<size_t>(size), "%s%02lld:%02lld:%02lld:%02lld", negative ? "-" : "", seconds / 3600,
                (seconds / 60) % 60, seconds % 60, ff);
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
