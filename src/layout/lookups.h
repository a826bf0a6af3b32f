// The folder lookups that the installer and the uninstall run share, over
// the file and registry helpers.
#pragma once
#include <windows.h>

#include "platform.h"

// What a folder lookup found: nothing; the folder, in ANSI; a folder that
// has no ANSI name, neither its own nor a short one, to be used by.
enum { FOLDER_NONE, FOLDER_FOUND, FOLDER_UNNAMED };

BOOL ReadWideText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue, LPWSTR pwszText, DWORD cchText);
int ReadInstallFolder(LPSTR pszBuffer);
#include "layout.h"

int ComposeLinkPath(const SHORTCUTPLACE *pPlace, LPSTR pszLink);
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer);
