// The folder lookups that the installer and the uninstall run share, over
// the file and registry helpers.
#pragma once
#include <windows.h>

#include "platform.h"

int ReadInstallFolder(LPSTR pszBuffer);
int ReadShellFolder(LPCSTR pszValue, int nFolder, LPSTR pszBuffer);
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer);
