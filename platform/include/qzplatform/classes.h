// The system window classes ("BUTTON", "STATIC", "EDIT", ...) are registered
// by the standard-controls library, which installs its registrar here from a
// static initialiser. The window manager calls it lazily before the first
// class lookup and again after ResetPlatform.
#pragma once

namespace qz {

void SetSystemClassRegistrar(void (*registrar)());

}  // namespace qz
