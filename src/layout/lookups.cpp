#include "lookups.h"

#include <shlobj.h>

#include "layout.h"
#include "paths.h"

typedef LONG(WINAPI *REGQUERYVALUEEXW)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
typedef BOOL(WINAPI *SHGETPATHFROMIDLISTW)(LPCITEMIDLIST, LPWSTR);

// A REG_SZ value of the open key in UTF-16, as ReadRegistryText reads one in
// ANSI: on Windows NT as the registry holds it, on Windows 95, whose
// registry holds ANSI, converted from that.
static BOOL QueryWideText(HKEY hKey, LPCSTR pszValue, LPWSTR pwszText, DWORD cchText) {
  if (IsWindows95()) {
    char szText[UNINSTALL_COMMAND_SIZE];
    return ReadRegistryText(hKey, pszValue, szText, cchText) &&
           MultiByteToWideChar(CP_ACP, 0, szText, -1, pwszText, cchText);
  }
  REGQUERYVALUEEXW pfnQuery =
      (REGQUERYVALUEEXW)(void *)FindSystemFunction(g_szAdvapi32, "RegQueryValueExW");
  WCHAR wszValue[32];
  DWORD cbText = cchText * sizeof(WCHAR), dwType;
  if (!pfnQuery || !MultiByteToWideChar(CP_ACP, 0, pszValue, -1, wszValue, 32) ||
      pfnQuery(hKey, wszValue, NULL, &dwType, (LPBYTE)pwszText, &cbText) != 0 || dwType != REG_SZ)
    return FALSE;
  DWORD cch = cbText / sizeof(WCHAR);
  if (cch == 0 || pwszText[cch - 1]) {
    if (cch >= cchText) return FALSE;
    pwszText[cch] = 0;
  }
  return TRUE;
}

// A REG_SZ value in UTF-16 into a buffer of cchText characters (at most
// UNINSTALL_COMMAND_SIZE), always terminated. A size the registry reports
// is used only when the value was read; a value that does not fit with its
// terminating zero, or is of another type, counts as missing.
BOOL ReadWideText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue, LPWSTR pwszText, DWORD cchText) {
  HKEY hKey;
  if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return FALSE;
  BOOL bRead = QueryWideText(hKey, pszValue, pwszText, cchText);
  RegCloseKey(hKey);
  return bRead;
}

// The install folder the main application recorded, by a name that
// converts back to the one it recorded; an empty one counts as not
// recorded. The buffer is untouched unless it was found.
int ReadInstallFolder(LPSTR pszBuffer) {
  WCHAR wszFolder[MAX_PATH];
  char szFolder[MAX_PATH];
  if (!ReadWideText(HKEY_CURRENT_USER, g_szFoldersKey, g_szInstallDirValue, wszFolder, MAX_PATH) ||
      !wszFolder[0])
    return FOLDER_NONE;
  if (!ConvertFaithfully(wszFolder, szFolder, MAX_PATH)) return FOLDER_UNNAMED;
  lstrcpyA(pszBuffer, szFolder);
  return FOLDER_FOUND;
}

// The shell's own path of one of its folders, on Windows NT in UTF-16 and
// by a name that converts back to it; its item list comes from the shell's
// allocator and goes back to it.
static BOOL AskShellForFolder(int nFolder, LPSTR pszBuffer) {
  SHGETPATHFROMIDLISTW pfnPathW =
      (SHGETPATHFROMIDLISTW)(void *)FindSystemFunction(g_szShell32, g_szPathFromIDListW);
  IMalloc *pMalloc;
  if (FAILED(SHGetMalloc(&pMalloc))) return FALSE;
  LPITEMIDLIST pidl;
  BOOL bFound = FALSE;
  if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, nFolder, &pidl))) {
    WCHAR wszFolder[MAX_PATH];
    bFound = IsWindows95() ? SHGetPathFromIDListA(pidl, pszBuffer)
                           : pfnPathW && pfnPathW(pidl, wszFolder) &&
                                 ConvertFaithfully(wszFolder, pszBuffer, MAX_PATH);
    pMalloc->Free(pidl);
  }
  pMalloc->Release();
  return bFound;
}

// Our link's path, in a buffer of MAX_PATH bytes, in the user's Desktop or
// Send To folder: the one the Shell Folders value names when it is an
// absolute folder by a name that converts back, else the shell's own. A
// value that does not fit, with the link's name, counts as no folder too.
// 0 when neither has room for the link under an ANSI name; then no link is
// made or deleted, never one at the root of the current drive, in the
// current folder or in a look-alike of the user's folder.
int ComposeLinkPath(const SHORTCUTPLACE *pPlace, LPSTR pszLink) {
  WCHAR wszFolder[MAX_PATH];
  char szFolder[MAX_PATH];
  if (ReadWideText(HKEY_CURRENT_USER, g_szShellFoldersKey, pPlace->pszShellFolder, wszFolder,
                   MAX_PATH) &&
      ConvertFaithfully(wszFolder, szFolder, MAX_PATH) && IsAbsoluteFolder(szFolder) &&
      ComposePath(pszLink, MAX_PATH, szFolder, g_szLinkFile))
    return 1;
  return AskShellForFolder(pPlace->nFolder, szFolder) && szFolder[0] != '\0' &&
         ComposePath(pszLink, MAX_PATH, szFolder, g_szLinkFile);
}

BOOL FitsProductFiles(LPCSTR pszFolder, int cbPath, int cFiles) {
  char szPath[MAX_PATH];
  for (int i = 0; i < cFiles; ++i)
    if (!ComposePath(szPath, cbPath, pszFolder, g_aszCopiedFiles[i])) return FALSE;
  return TRUE;
}

BOOL ComposeBeside(LPSTR pszPath, LPCSTR pszDest, LPCSTR pszEnding) {
  lstrcpyA(pszPath, pszDest);
  return AppendText(pszPath, MAX_PATH, pszEnding);
}

void DeleteOwnFile(LPCSTR pszPath) {
  SetFileAttributesA(pszPath, FILE_ATTRIBUTE_ARCHIVE);
  DeleteFileA(pszPath);
}

BOOL DeleteLeftovers(LPCSTR pszPath) {
  const LPCSTR apszEndings[] = {g_szNewEnding, g_szOldEnding};
  BOOL bStays = FALSE;
  for (int i = 0; i < 2; ++i) {
    char szPath[MAX_PATH];
    if (!ComposeBeside(szPath, pszPath, apszEndings[i])) continue;
    DeleteOwnFile(szPath);
    bStays |= GetFileAttributesA(szPath) != INVALID_FILE_ATTRIBUTES;
  }
  return bStays;
}

// The shell extension library's place in the system folder.
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer) {
  return ComposePlatformPath(pszBuffer, GetSystemDirectoryA, g_szSystemShellExt);
}
