// The command-line rule Windows programs start by: the tail after the
// program's own name.
#pragma once
#include <windows.h>

LPSTR SkipProgramName(LPSTR pszCommandLine);
