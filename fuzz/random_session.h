// A seeded random user and host: every registered control that has a
// gallery recipe is built as the gallery builds it, then driven with random
// mouse, keys, typing, clock, time, attribute lists (from the tags of
// frame/tags.h, with extreme and non-finite numbers, odd strings and
// nulls), host writes, undo and redo, disconnections (also in the middle of
// a drag), deleted controls, viewer zoom and pan, and module reloads.
//
// After every action it checks:
// - no non-finite value is written to an input unless the host put one in
//   that input before;
// - undo then redo gives back exactly the state before the undo;
// - disconnecting an input from its control leaves its value as it was;
// - no input keeps a control that was deleted.
// Memory errors and leaks are the sanitizer build's to report.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace qzh::fuzz {

struct Outcome {
  bool Failed = false;
  uint64_t Action = 0;  // the failing action, counted from 0
  uint64_t Done = 0;    // actions run
  std::string Message;
};

// Runs `actions` actions of seed `seed`; the same seed and count always run
// the same session. Describes each action on `trace` when it is not null.
Outcome RunSeed(uint64_t seed, uint64_t actions, std::ostream* trace);

}  // namespace qzh::fuzz
