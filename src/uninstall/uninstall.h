// The uninstall run, the whole of the "/d" mode.
#pragma once
#include <windows.h>

#include "../layout/platform.h"
#include "../layout/restart.h"

// The exit code of the unattended run: 3010 when a file goes at the next
// restart, 1603 when one stays.
UINT RunUninstall(void);
int ParseUninstallCommand(LPWSTR pwszCommand, LPSTR pszFolder);
int DeleteSettingsKeys(void);
void UnregisterShellExtension(void);
