// How panel controls read and write their inputs' numbers: one place for
// "write a new Number through SetInputs and release it" and its relatives.
#pragma once

#include <cstdint>

class Input;
class InputControl;
class Parameter;

namespace qzc {

// The time of writes that belong to no frame: an input being disconnected
// keeps the control's last value.
constexpr double NoFrameTime = -1000000000.0;

// The document's current time; 0 while the control has no document.
double CurrentTime(const InputControl& control);

// A new Number of `value` through the control's own SetInputs at `time`
// under `index`, released afterwards; nothing when memory is exhausted.
void WriteNumber(InputControl& control, double value, double time, uint32_t index = 0);

// The same with an attribute set on the Number before it is sent, for a
// tool that wants to know what kind of change the value is.
void WriteNumber(InputControl& control, double value, double time, uint32_t index, uint32_t tag, intptr_t tagValue);

// The smallest change that counts with `decimals` digits shown: 10^-decimals,
// counted in integers; a negative count gives coarser steps of 10^|decimals|
// (the numbers are then shown with no decimals) instead of a division by zero.
double PrecisionFor(long decimals);

// A new Text holding `text` through the control's own SetInputs, released
// afterwards; nothing when memory is exhausted.
void WriteText(InputControl& control, const char* text, double time, uint32_t index = 0);
// A new Number of `value` stored in `input` itself (Input::SetValue, flag 1).
void StoreNumber(Input* input, double value, double time);

// The control's first connected input, read under the list's lock; null if none.
Input* FirstInput(InputControl& control);

// Truncation towards zero, saturating at +-10^15 (NaN gives 0), so that any
// stored number gives a whole number without overflow.
long WholeNumber(double value);

// The number a value holds; false for null or a value of another kind.
bool NumberOf(const Parameter* value, double* number);

// The number of `input` at the control's current time; false when it has none.
bool ReadNumber(const InputControl& control, Input* input, double* number);

}  // namespace qzc
