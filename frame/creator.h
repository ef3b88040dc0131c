// Creators: `New<Class>` functions the host calls through a registration.
#pragma once

#include <new>

namespace qzc {

// One object of T from the ordinary allocator, returned as the host's base
// class; null when memory is exhausted. A throwing constructor releases the
// storage (the new-expression does) and the exception reaches the host.
template <typename T, typename Base>
Base* Create() {
  return new (std::nothrow) T();
}

}  // namespace qzc
