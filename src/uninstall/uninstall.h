// The uninstall run, the whole of the "/d" mode.
#pragma once
#include <windows.h>

#include "../layout/platform.h"
#include "../layout/restart.h"

void RunUninstall(void);
int ParseUninstallCommand(LPWSTR pwszCommand, LPSTR pszFolder);
int DeleteSettingsKeys(void);
void UnregisterShellExtension(void);
