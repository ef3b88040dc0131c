// `qzhost run` in a build without SDL2: says so instead of opening a window.
#include <cstdio>

#include "run.h"

namespace qzh {

int RunInteractive(const RunOptions&) {
  std::fprintf(stderr,
               "qzhost run: this qzhost was built without SDL2, so it cannot open a window; "
               "install libsdl2-dev and build again\n");
  return 1;
}

}  // namespace qzh
