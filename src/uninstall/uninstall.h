// The uninstall run, the whole of the "/d" mode.
#pragma once
#include <windows.h>

#include "../platform/platform.h"

void RunUninstall(void);
BOOL ParseUninstallCommand(LPCSTR pszCommand, LPSTR pszFolder);
int DeleteSettingsKeys(void);
void UnregisterShellExtension(void);
