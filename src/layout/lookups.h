// The file probe and the folder lookups that the installer and the uninstall
// run share.
#pragma once
#include <windows.h>

DWORD ProbeFile(LPCSTR pszPath);
int ReadInstallFolder(LPSTR pszBuffer);
int ReadShellFolder(LPCSTR pszValue, LPSTR pszBuffer);
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer);
BOOL ReadRegistryText(HKEY hKey, LPCSTR pszValue, LPSTR pszBuffer);
