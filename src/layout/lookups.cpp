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

// The shell's own path of one of its folders; its item list comes from the
// shell's allocator and goes back to it.
static int AskShellForFolder(int nFolder, LPSTR pszBuffer) {
  IMalloc *pMalloc;
  if (FAILED(SHGetMalloc(&pMalloc))) return 0;
  LPITEMIDLIST pidl;
  int nFound = 0;
  if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, nFolder, &pidl))) {
    nFound = SHGetPathFromIDListA(pidl, pszBuffer) && pszBuffer[0] != '\0';
    pMalloc->Free(pidl);
  }
  pMalloc->Release();
  return nFound;
}

// The user's Desktop or Send To folder: the Shell Folders value when it
// names an absolute folder, else the shell's answer. 0 when neither names a
// folder; then no link is made or deleted, never one at the root of the
// current drive or in the current folder.
int ReadShellFolder(LPCSTR pszValue, int nFolder, LPSTR pszBuffer) {
  if (ReadKeyText(HKEY_CURRENT_USER, g_szShellFoldersKey, pszValue, pszBuffer, MAX_PATH) &&
      IsAbsoluteFolder(pszBuffer))
    return 1;
  return AskShellForFolder(nFolder, pszBuffer);
}

// The shell extension library's place in the system folder.
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer) {
  return ComposePlatformPath(pszBuffer, GetSystemDirectoryA, g_szSystemShellExt);
}
