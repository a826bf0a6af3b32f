// Files that cannot be deleted now, because a program still has them open,
// deleted when Windows next starts. The uninstall run and the installation
// both schedule files this way.
#pragma once
#include <windows.h>

// Deletes the file; one that stays (a program has it open) is scheduled for
// deletion when Windows next starts. TRUE when it had to be scheduled, and
// was; FALSE when it is gone, or was never there.
BOOL DeleteOrSchedule(LPCSTR pszPath);
// Adds the line "NUL=<path>" to the lines of WININIT.INI's [rename]
// section: cchLines characters in a buffer of cbLines bytes, each line ended
// by a zero, the last by a second one, as the profile functions read and
// write a section. FALSE, the lines unchanged, when the result does not fit.
BOOL AddWininitDeletion(LPSTR pszLines, DWORD cchLines, DWORD cbLines, LPCSTR pszPath);
