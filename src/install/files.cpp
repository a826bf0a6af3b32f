// The install folder and the files: the folder is checked and, after a
// question, created; the product files are copied into it, and the shell
// extension library is copied into the system folder.
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "../startup/startup.h"
#include "install.h"

static int ShowError(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3) {
  ShowMessage(hDlg, pszText1, pszText2, pszText3, g_szCaptionINSTALL, MB_ICONERROR);
  return 0;
}

// Whether every path and command the installation composes from the folder
// fits its buffer. A text the edit held longer than its buffer arrives cut
// to 259 bytes, which never fits either.
static BOOL FitsInstallFolder(LPCSTR pszFolder) {
  char szPath[UNINSTALL_COMMAND_SIZE];
  for (int i = 0; i < g_cCopiedFiles; ++i)
    if (!ComposePath(szPath, MAX_PATH, pszFolder, g_aszCopiedFiles[i])) return FALSE;
  return ComposeUninstallCommand(szPath, pszFolder);
}

// Only the last level is created, and only after a Yes: a box that could
// not be shown, or one ended by the quit message or the dialog's closing,
// creates nothing. A missing parent makes it fail. Anything found under
// the name counts as the folder. The folder is asked about and created
// without one trailing backslash, except that a text of three bytes keeps
// it: a drive root such as "C:\" is no folder without it.
static int EnsureInstallFolder(HWND hDlg, LPCSTR pszTyped) {
  char szFolder[MAX_PATH];
  lstrcpyA(szFolder, pszTyped);
  if (lstrlenA(szFolder) != 3) RemoveTrailingBackslash(szFolder);
  if (ProbeFile(szFolder)) return 1;
  if (ShowMessage(hDlg, g_szMsgFolderMissing1, szFolder, g_szMsgFolderMissing2,
                  g_szCaptionCreateFolder, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return 0;
  if (CreateDirectoryA(szFolder, NULL)) return 1;
  return ShowError(hDlg, szFolder, g_szMsgCannotCreate, "");
}

// The source and destination of a product file. A source path that does not
// fit names no file there.
static BOOL ComposeCopy(LPCSTR pszName, LPCSTR pszFolder, LPSTR pszSource, LPSTR pszDest) {
  return ComposePath(pszSource, MAX_PATH, g_szSourceDir, pszName) &&
         ComposePath(pszDest, MAX_PATH, pszFolder, pszName) && ProbeFile(pszSource) != 0;
}

// A destination that is the source itself (the install folder is the
// product folder, however it was typed) is in place already. A failed copy
// leaves nothing of itself behind, but never deletes a file that was there
// before.
static BOOL CopyProductFile(LPCSTR pszSource, LPCSTR pszDest) {
  if (IsSameFile(pszSource, pszDest)) return TRUE;
  BOOL bExisted = GetFileAttributesA(pszDest) != INVALID_FILE_ATTRIBUTES;
  if (CopyFileA(pszSource, pszDest, FALSE)) return TRUE;
  if (!bExisted) DeleteFileA(pszDest);
  return FALSE;
}

// Every file of the list that the source folder holds, in order; the index
// of the first that could not be copied, or -1 when all are in place.
static int CopyProductFiles(LPCSTR pszFolder) {
  for (int i = 0; i < g_cCopiedFiles; ++i) {
    char szSource[MAX_PATH], szDest[MAX_PATH];
    if (ComposeCopy(g_aszCopiedFiles[i], pszFolder, szSource, szDest) &&
        !CopyProductFile(szSource, szDest))
      return i;
  }
  return -1;
}

// The library is copied to the system folder unless the one there has its
// stamp; the shipped copy stays, so the product folder can install again.
// One the system folder keeps (it is in use) is left to the platform's
// setup at the end.
int PlaceShellExtension(void) {
  char szSource[MAX_PATH], szDest[MAX_PATH];
  if (!ComposePath(szSource, MAX_PATH, g_szSourceDir, g_szShellExtFile) ||
      !ComposeSystemLibraryPath(szDest))
    return LIBRARY_MISSING;
  DWORD dwStamp = ProbeFile(szSource), dwInPlace = ProbeFile(szDest);
  if (dwStamp == 0) return dwInPlace ? LIBRARY_IN_PLACE : LIBRARY_MISSING;
  if (dwStamp == dwInPlace || CopyFileA(szSource, szDest, FALSE)) return LIBRARY_IN_PLACE;
  return LIBRARY_KEPT_OLD;
}

// The folder as typed is checked before anything is created, then every
// product file must be in it. Tokavi.exe keeps a message of its own.
int PrepareAndCopyFiles(HWND hDlg, LPCSTR pszFolder) {
  if (!IsAbsoluteFolder(pszFolder)) return ShowError(hDlg, g_szMsgFolderInvalid, "", "");
  if (!FitsInstallFolder(pszFolder)) return ShowError(hDlg, g_szMsgFolderTooLong, "", "");
  if (!EnsureInstallFolder(hDlg, pszFolder)) return 0;
  char szSource[MAX_PATH], szDest[MAX_PATH];
  if (!ComposeCopy(g_szMainExe, pszFolder, szSource, szDest))
    return ShowError(hDlg, g_szMsgSourceMissing1, g_szMsgSourceMissing2, "");
  int iFailed = CopyProductFiles(pszFolder);
  if (iFailed < 0) return 1;
  if (iFailed == 0) return ShowError(hDlg, g_szMsgCannotCopy1, g_szMsgCannotCopy2, "");
  return ShowError(hDlg, g_szMsgCannotCopyFile1, g_aszCopiedFiles[iFailed], g_szMsgCannotCopyFile2);
}
