#include "frame/values.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/inputcontrol.h"

namespace qzc {

double CurrentTime(const InputControl& control) {
  return control.Doc ? control.Doc->CurrentTime : 0.0;
}

void WriteNumber(InputControl& control, double value, double time, uint32_t index) {
  AutoNumber number(new (std::nothrow) Number(value));
  if (number) control.SetInputs(number, time, index);
}

void WriteNumber(InputControl& control, double value, double time, uint32_t index, uint32_t tag, intptr_t tagValue) {
  AutoNumber number(new (std::nothrow) Number(0.0));
  if (!number) return;
  number->Value = value;
  number->Attrs.Set(tag, tagValue, 1);
  control.SetInputs(number, time, index);
}

double PrecisionFor(long decimals) {
  const long digits = decimals < 0 ? (decimals < -18 ? 18 : -decimals) : (decimals > 18 ? 18 : decimals);
  int64_t power = 1;
  for (long i = 0; i < digits; ++i) power *= 10;
  return decimals >= 0 ? 1.0 / static_cast<double>(power) : static_cast<double>(power);
}

void WriteText(InputControl& control, const char* text, double time, uint32_t index) {
  AutoParameter value(new (std::nothrow) Text(text));
  if (value) control.SetInputs(value, time, index);
}

void StoreNumber(Input* input, double value, double time) {
  if (!input) return;
  AutoNumber number(new (std::nothrow) Number(value));
  if (number) input->SetValue(number, time, 1);
}

Input* FirstInput(InputControl& control) {
  control.Inputs.ObtainReadLock();
  ListNode* first = control.Inputs.GetFirst();
  Input* input = first ? static_cast<Input*>(first->Obj()) : nullptr;
  control.Inputs.ReleaseReadLock();
  return input;
}

long WholeNumber(double value) {
  if (std::isnan(value)) return 0;
  if (value > 1e15) return 1000000000000000L;
  if (value < -1e15) return -1000000000000000L;
  return static_cast<long>(value);
}

bool NumberOf(const Parameter* value, double* number) {
  if (!value || value->ID != Number::ClassID) return false;
  *number = static_cast<const Number*>(value)->Value;
  return true;
}

bool ReadNumber(const InputControl& control, Input* input, double* number) {
  if (!input) return false;
  AutoParameter value(input->GetValue(CurrentTime(control)));
  return NumberOf(value, number);
}

}  // namespace qzc
