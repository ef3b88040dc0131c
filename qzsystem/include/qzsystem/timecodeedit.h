// The host's number edit field: an "EDIT" window that shows a value with a
// given number of decimals, or as a time code, and reads back what the user
// typed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "afxwin.h"

class TimeCodeEdit : public CEdit {
 public:
  TimeCodeEdit() = default;

  // Shows `value` with `decimals` digits after the point (none when the
  // field takes whole numbers, or when decimals is negative). The text is
  // only replaced when it differs, so the caret survives an unchanged value.
  void SetValue(double value, long decimals);
  // The number the user typed; `def` when the text is not a number.
  double GetValue(double def);
  void SetDisabled(long disabled);
  void SetInteger(long integer);
  void SetTimeType(long type);

  long Disabled() const { return IsDisabled; }
  long Integer() const { return IsInteger; }
  long TimeType() const { return Type; }

  // Writes `value` as the host shows times: with time type 0 a plain number
  // (whole when `integer`, else with `decimals` digits); otherwise a time
  // code hh:mm:ss:ff at `frameRate` frames per second (24 when 0). Values
  // beyond +-limit are clamped. At most size - 1 characters and a NUL.
  static void FormatTimeCode(double value, char* out, long integer, long decimals, long size, long timeType,
                             long frameRate, long reserved1, long reserved2, double limit);
  // Reads text written by FormatTimeCode (or typed): a number, or a time code
  // with ':' separated fields. False when the text is neither.
  static bool ParseTimeCode(const char* text, long timeType, long frameRate, double* value);

 private:
  long IsDisabled = 0;
  long IsInteger = 0;
  long Type = 0;
};
