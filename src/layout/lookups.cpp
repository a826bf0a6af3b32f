#include "lookups.h"

#include <shlobj.h>

#include "layout.h"
#include "paths.h"

// The install folder the main application recorded; an empty one counts as
// not recorded. The buffer is untouched when there is none.
int ReadInstallFolder(LPSTR pszBuffer) {
  char szFolder[MAX_PATH];
  if (!ReadKeyText(HKEY_CURRENT_USER, g_szFoldersKey, g_szInstallDirValue, szFolder, MAX_PATH) ||
      szFolder[0] == '\0')
    return 0;
  lstrcpyA(pszBuffer, szFolder);
  return 1;
}

// The registry and shell functions a shell folder is read by, which take
// and give texts in ANSI or in UTF-16 alike: their texts are passed through
// as they are.
typedef LONG(WINAPI *REGQUERYVALUEEX)(HKEY, LPCVOID, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
typedef BOOL(WINAPI *SHGETPATHFROMIDLIST)(LPCITEMIDLIST, LPVOID);

// One way of reading a shell folder: the functions, the value's name and
// the buffer of MAX_PATH characters, and the size of one character.
struct FOLDERREADER {
  REGQUERYVALUEEX pfnQuery;
  SHGETPATHFROMIDLIST pfnPath;
  LPCVOID pvValue;
  LPBYTE pbFolder;
  DWORD cbChar;
};

// The Shell Folders value, always terminated: one that does not fit with
// its terminating zero is refused.
static BOOL ReadFolderValue(const FOLDERREADER *pReader) {
  HKEY hKey;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, g_szShellFoldersKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return FALSE;
  DWORD cb = (MAX_PATH - 1) * pReader->cbChar;
  LONG lResult = pReader->pfnQuery(hKey, pReader->pvValue, NULL, NULL, pReader->pbFolder, &cb);
  RegCloseKey(hKey);
  DWORD i = cb / pReader->cbChar * pReader->cbChar;
  pReader->pbFolder[i] = pReader->pbFolder[i + pReader->cbChar - 1] = 0;
  return lResult == ERROR_SUCCESS;
}

// The shell's own path of one of its folders; its item list comes from the
// shell's allocator and goes back to it.
static BOOL AskShellForFolder(const FOLDERREADER *pReader, int nFolder) {
  IMalloc *pMalloc;
  if (FAILED(SHGetMalloc(&pMalloc))) return FALSE;
  LPITEMIDLIST pidl;
  BOOL bFound = FALSE;
  if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, nFolder, &pidl))) {
    bFound = pReader->pfnPath(pidl, pReader->pbFolder);
    pMalloc->Free(pidl);
  }
  pMalloc->Release();
  return bFound;
}

// The folder in ANSI: on Windows NT by a name that converts back to the
// UTF-16 one, its own or its short one.
static BOOL TakeFolder(const FOLDERREADER *pReader, LPSTR pszBuffer) {
  return pReader->cbChar == 1 || ConvertFaithfully((LPWSTR)pReader->pbFolder, pszBuffer, MAX_PATH);
}

// The user's Desktop or Send To folder: the Shell Folders value when it
// names an absolute folder, else the shell's answer; on Windows NT both in
// UTF-16. 0 when neither names a folder that has an ANSI name; then no
// link is made or deleted, never one at the root of the current drive, in
// the current folder or in a look-alike of the user's folder.
int ReadShellFolder(LPCSTR pszValue, int nFolder, LPSTR pszBuffer) {
  WCHAR wszValue[16], wszFolder[MAX_PATH];
  FOLDERREADER reader = {
      (REGQUERYVALUEEX)(void *)FindWideFunction(g_szAdvapi32, "RegQueryValueExW"),
      (SHGETPATHFROMIDLIST)(void *)FindWideFunction(g_szShell32, g_szPathFromIDListW), wszValue,
      (LPBYTE)wszFolder, sizeof(WCHAR)};
  MultiByteToWideChar(CP_ACP, 0, pszValue, -1, wszValue, 16);
  if (!reader.pfnQuery || !reader.pfnPath) {
    reader.pfnQuery = (REGQUERYVALUEEX)(void *)RegQueryValueExA;
    reader.pfnPath = (SHGETPATHFROMIDLIST)(void *)SHGetPathFromIDListA;
    reader.pvValue = pszValue;
    reader.pbFolder = (LPBYTE)pszBuffer;
    reader.cbChar = 1;
  }
  if (ReadFolderValue(&reader) && TakeFolder(&reader, pszBuffer) && IsAbsoluteFolder(pszBuffer))
    return 1;
  return AskShellForFolder(&reader, nFolder) && TakeFolder(&reader, pszBuffer) &&
         pszBuffer[0] != '\0';
}

// The shell extension library's place in the system folder.
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer) {
  return ComposePlatformPath(pszBuffer, GetSystemDirectoryA, g_szSystemShellExt);
}
