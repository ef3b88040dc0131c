// Holders that release (Recycle) a value when they go out of scope.
#pragma once

#include <utility>

#include "qzsystem/parameter.h"

template <typename T>
class AutoHolder {
 public:
  explicit AutoHolder(T* object = nullptr) : Held(object) {}
  ~AutoHolder() { Reset(); }
  AutoHolder(const AutoHolder&) = delete;
  AutoHolder& operator=(const AutoHolder&) = delete;
  AutoHolder(AutoHolder&& other) noexcept : Held(std::exchange(other.Held, nullptr)) {}
  AutoHolder& operator=(AutoHolder&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.Held, nullptr));
    return *this;
  }

  operator T*() const { return Held; }
  T* operator->() const { return Held; }
  T* Get() const { return Held; }
  // Gives up the reference without releasing it.
  T* Detach() { return std::exchange(Held, nullptr); }
  void Reset(T* object = nullptr) {
    if (T* old = std::exchange(Held, object)) old->Recycle();
  }

 private:
  T* Held;
};

using AutoNumber = AutoHolder<Number>;
using AutoParameter = AutoHolder<Parameter>;
using AutoClip = AutoHolder<Clip>;
