// The uninstall run, the whole of the "/d" mode.
#pragma once
#include <windows.h>

#include "../layout/platform.h"

void RunUninstall(void);
// Deletes the file; one that stays (a program has it open) is scheduled for
// deletion when Windows next starts. TRUE when it had to be scheduled, and
// was; FALSE when it is gone, or was never there.
BOOL DeleteOrSchedule(LPCSTR pszPath);
// Adds the line "NUL=<path>" to the lines of WININIT.INI's [rename]
// section: cchLines characters in a buffer of cbLines bytes, each line ended
// by a zero, the last by a second one, as the profile functions read and
// write a section. FALSE, the lines unchanged, when the result does not fit.
BOOL AddWininitDeletion(LPSTR pszLines, DWORD cchLines, DWORD cbLines, LPCSTR pszPath);
BOOL ParseUninstallCommand(LPCSTR pszCommand, LPSTR pszFolder);
int DeleteSettingsKeys(void);
void UnregisterShellExtension(void);
