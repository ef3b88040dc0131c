// The windowing platform's umbrella header.
#pragma once

#include "windef.h"
#include "wingdi.h"
#include "winuser.h"
