// Files that cannot be deleted now, because a program still has them open,
// deleted when Windows next starts. The uninstall run and the installation
// both schedule files this way.
#pragma once
#include <windows.h>

// Deletes the file; one that stays (a program has it open) is scheduled for
// deletion when Windows next starts. TRUE when it had to be scheduled, and
// was; FALSE when it is gone, or was never there.
BOOL DeleteOrSchedule(LPCSTR pszPath);
// Inserts the line "NUL=<path>" into the text of WININIT.INI, cchText bytes
// ended by a zero in a buffer of cbText: right after the first [rename]
// header, or in a [rename] section appended when there is none; every
// other byte stays. The new length; 0, the text unchanged, when the result
// does not fit.
DWORD InsertWininitDeletion(LPSTR pszText, DWORD cchText, DWORD cbText, LPCSTR pszPath);
