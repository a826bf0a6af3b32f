#include "lookups.h"

#include "layout.h"
#include "paths.h"

// 0: nothing there; 1: a folder; otherwise the low 32 bits of the file's
// last-write time, which the installer compares as a version stamp.
DWORD ProbeFile(LPCSTR pszPath) {
  WIN32_FIND_DATAA fd;
  HANDLE hFind = FindFirstFileA(pszPath, &fd);
  if (hFind == INVALID_HANDLE_VALUE) return 0;
  DWORD dwResult =
      (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : fd.ftLastWriteTime.dwLowDateTime;
  FindClose(hFind);
  return dwResult;
}

// Reads a string value into a MAX_PATH buffer, always terminated. A stored
// value may lack its terminating zero; one that does not fit with it is
// refused rather than cut short. The buffer is untouched on failure.
BOOL ReadRegistryText(HKEY hKey, LPCSTR pszValue, LPSTR pszBuffer) {
  char szText[MAX_PATH];
  DWORD cbText = sizeof szText;
  if (RegQueryValueExA(hKey, pszValue, NULL, NULL, (LPBYTE)szText, &cbText) != ERROR_SUCCESS)
    return FALSE;
  if (cbText == 0 || szText[cbText - 1] != '\0') {
    if (cbText >= sizeof szText) return FALSE;
    szText[cbText] = '\0';
  }
  lstrcpyA(pszBuffer, szText);
  return TRUE;
}

// The install folder the main application recorded; an empty one counts as
// not recorded.
int ReadInstallFolder(LPSTR pszBuffer) {
  char szKey[MAX_PATH];
  lstrcpyA(szKey, g_szSettingsKey);
  lstrcatA(szKey, g_szFoldersSubkey);
  HKEY hKey;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, szKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return 0;
  char szFolder[MAX_PATH];
  BOOL bRead = ReadRegistryText(hKey, g_szInstallDirValue, szFolder) && szFolder[0] != '\0';
  RegCloseKey(hKey);
  if (!bRead) return 0;
  lstrcpyA(pszBuffer, szFolder);
  return 1;
}

// The user's Desktop or Send To folder. Success means only that the Shell
// Folders key exists: a missing or unusable value leaves the buffer empty.
int ReadShellFolder(LPCSTR pszValue, LPSTR pszBuffer) {
  pszBuffer[0] = '\0';
  HKEY hKey;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, g_szShellFoldersKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return 0;
  ReadRegistryText(hKey, pszValue, pszBuffer);
  RegCloseKey(hKey);
  return 1;
}

// The shell extension library's place in the system folder.
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer) {
  UINT cch = GetSystemDirectoryA(pszBuffer, MAX_PATH);
  return cch != 0 && cch < MAX_PATH && AppendText(pszBuffer, MAX_PATH, g_szSystemShellExt);
}
