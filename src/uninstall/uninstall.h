// The uninstall run, the whole of the "/d" mode.
#pragma once
#include <windows.h>

void RunUninstall(void);
int DeleteKeyUnder(HKEY hRoot, LPCSTR pszPath);
int DeleteSettingsKeys(void);
void UnregisterShellExtension(void);
