// An input observer that writes down what it is told.
#pragma once

#include <optional>
#include <vector>

#include "qzsystem/input.h"
#include "qzsystem/parameter.h"

struct Recorder : InputObserver {
  void InputChanged(Input* input, Parameter* value) override {
    Inputs.push_back(input);
    auto* number = dynamic_cast<Number*>(value);
    Values.push_back(number ? std::optional<double>(number->Value) : std::nullopt);
  }
  void InputConnected(Input*, Output* output) override { Connections.push_back(output); }

  std::vector<Input*> Inputs;
  std::vector<std::optional<double>> Values;
  std::vector<Output*> Connections;
};

// The input's value at `time` as a double, or nullopt.
inline std::optional<double> ValueOf(Input* input, double time) {
  Parameter* value = input->GetValue(time);
  if (!value) return std::nullopt;
  auto* number = dynamic_cast<Number*>(value);
  std::optional<double> result = number ? std::optional<double>(number->Value) : std::nullopt;
  value->Recycle();
  return result;
}

// Writes a new Number and releases it, as the controls do.
inline uint32_t Write(Input* input, double value, double time = 0.0) {
  auto* number = new Number(value);
  const uint32_t changed = input->SetValue(number, time, 1);
  number->Recycle();
  return changed;
}
