// The platform's virtual key for an SDL key.
#pragma once

#include <SDL_keycode.h>

namespace qzh {

// The virtual key of `key`, or 0 for a key the platform has no key for (its
// text then arrives as characters).
int VirtualKeyOf(SDL_Keycode key);

}  // namespace qzh
