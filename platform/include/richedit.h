// Rich edit control (version 1.0 class "RICHEDIT").
#pragma once

#include "windows.h"

#define RICHEDIT_CLASSA "RICHEDIT"

#define EM_EXLIMITTEXT (WM_USER + 53)
#define EM_GETEVENTMASK (WM_USER + 59)
#define EM_SETBKGNDCOLOR (WM_USER + 67)
#define EM_SETEVENTMASK (WM_USER + 69)

#define ENM_NONE 0x00000000
#define ENM_CHANGE 0x00000001
#define ENM_UPDATE 0x00000002
#define ENM_SELCHANGE 0x00080000

// Loads the rich edit library, registering its window class; returns a module handle.
HMODULE LoadLibraryA(LPCSTR name);
