// The application's profile: its INI contents and where they are kept.
#pragma once

#include "afxwin.h"
#include "ini_profile.h"

struct CWinApp::Profile {
  afx::IniProfile contents;
};
