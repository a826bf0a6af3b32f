// The install folder and the files: the folder is checked and, after a
// question, created; the product files are copied into it, and the shell
// extension library is copied into the system folder.
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/restart.h"
#include "../layout/texts.h"
#include "install.h"

// The error message of a refusal; its exit code.
static UINT ShowError(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3) {
  ShowMessage(hDlg, pszText1, pszText2, pszText3, g_szCaptionINSTALL, MB_ICONERROR);
  return ERROR_INSTALL_FAILURE;
}

// Whether every path and command the installation composes from the folder
// fits its buffer, the names a copy and the file it replaces have beside
// it too. A text the edit held longer than its buffer arrives cut to 259
// bytes, which never fits.
static BOOL FitsInstallFolder(LPCSTR pszFolder) {
  char szCommand[UNINSTALL_COMMAND_SIZE];
  return FitsProductFiles(pszFolder, MAX_PATH - TEMP_ENDING_SIZE, g_cCopiedFiles) &&
         ComposeUninstallCommand(szCommand, pszFolder);
}

// Only the last level is created, and only after a Yes: a box that could
// not be shown, or one ended by the quit message or the dialog's closing,
// creates nothing. A missing parent makes it fail. Anything found under
// the name counts as the folder. The folder is asked about and created
// without one trailing backslash, except that a text of three bytes keeps
// it: a drive root such as "C:\" is no folder without it. 0 when the
// folder is there; else the exit code.
static UINT EnsureInstallFolder(HWND hDlg, LPCSTR pszTyped) {
  char szFolder[MAX_PATH];
  lstrcpyA(szFolder, pszTyped);
  if (lstrlenA(szFolder) != 3) RemoveTrailingBackslash(szFolder);
  if (ProbeFile(szFolder)) return 0;
  if (ShowMessage(hDlg, g_szMsgFolderMissing1, szFolder, g_szMsgFolderMissing2,
                  g_szCaptionCreateFolder, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return ERROR_INSTALL_FAILURE;
  if (CreateDirectoryA(szFolder, NULL)) return 0;
  return ShowError(hDlg, szFolder, g_szMsgCannotCreate, "");
}

// The source and destination of a product file. Every source path fits:
// start-up refused a product folder where one would not.
static BOOL ComposeCopy(LPCSTR pszName, const COPYSTEP *pStep, LPSTR pszSource, LPSTR pszDest) {
  return ComposePath(pszSource, MAX_PATH, pStep->pszSource, pszName) &&
         ComposePath(pszDest, MAX_PATH, pStep->pszFolder, pszName);
}

// A move that a program holding the file a moment (a virus scanner, the
// indexer) does not stop: a sharing violation or an access denial is tried
// again, ten times a tenth of a second apart.
static BOOL MoveWithRetry(LPCSTR pszFrom, LPCSTR pszTo) {
  for (int nTry = 0; !MoveFileA(pszFrom, pszTo); ++nTry) {
    DWORD dwError = GetLastError();
    if (nTry == 10 || (dwError != ERROR_SHARING_VIOLATION && dwError != ERROR_ACCESS_DENIED))
      return FALSE;
    Sleep(100);
  }
  return TRUE;
}

// The destination moves aside under our name, in pszKept (which stays ""
// when there is none), until the step ends. One that cannot be opened for
// writing alone (a program holds it) stays, and is an error, as when it was
// copied over: a running program or a loaded library would let itself be
// moved aside. A read-only one from an earlier installation is no file in
// use: its attributes go first.
static BOOL KeepOldFile(LPCSTR pszDest, LPSTR pszKept) {
  SetFileAttributesA(pszDest, FILE_ATTRIBUTE_ARCHIVE);
  HFILE hFile = _lopen(pszDest, OF_WRITE | OF_SHARE_EXCLUSIVE);
  if (hFile == HFILE_ERROR) return GetLastError() == ERROR_FILE_NOT_FOUND;
  CloseHandle((HANDLE)(INT_PTR)hFile);
  if (!ComposeBeside(pszKept, pszDest, g_szOldEnding)) return FALSE;
  if (MoveWithRetry(pszDest, pszKept)) return TRUE;
  pszKept[0] = '\0';
  return FALSE;
}

// The kept file back in its place, once the new one is out of the way:
// moved aside under our name and deleted, or, where a program still holds
// it, deleted at the next restart. *pbNotPutBack is set when the old one
// could not return.
static void PutBack(LPCSTR pszDest, LPCSTR pszKept, BOOL *pbNotPutBack) {
  char szAside[MAX_PATH];
  ComposeBeside(szAside, pszDest, g_szNewEnding);
  BOOL bGone = MoveWithRetry(pszDest, szAside);
  if (bGone) DeleteOrSchedule(szAside);
  if (!bGone || (pszKept[0] && !MoveWithRetry(pszKept, pszDest))) *pbNotPutBack = TRUE;
}

// The copy arrives whole under our name beside the destination, in a file
// it creates (one left there is never copied over), never read-only,
// hidden or system, and only then takes its place; the file it
// replaces is kept, in pszKept. 0 when the copy is in place; otherwise the
// error, with the destination as it was and no name of ours left. Plain
// moves: Windows 95 has no other.
static DWORD ReplaceWithCopy(LPCSTR pszSource, LPCSTR pszDest, LPSTR pszKept, BOOL *pbNotPutBack) {
  char szStaged[MAX_PATH];
  pszKept[0] = '\0';
  if (!ComposeBeside(szStaged, pszDest, g_szNewEnding)) return ERROR_FILENAME_EXCED_RANGE;
  if (CopyFileA(pszSource, szStaged, TRUE) &&
      SetFileAttributesA(szStaged, FILE_ATTRIBUTE_ARCHIVE) && KeepOldFile(pszDest, pszKept) &&
      MoveWithRetry(szStaged, pszDest))
    return 0;
  DWORD dwError = GetLastError();
  if (pszKept[0] && !MoveWithRetry(pszKept, pszDest)) *pbNotPutBack = TRUE;
  DeleteOwnFile(szStaged);
  return dwError;
}

// The file a copy replaced, once the step has succeeded; one still in use
// goes at the next restart.
static void DeleteKeptFile(LPCSTR pszKept) {
  if (pszKept[0]) DeleteOrSchedule(pszKept);
}

// The copied files from the i-th on, in order. A destination that is the
// source itself (the install folder is the product folder, however it was
// typed) is in place already; what an interrupted run left beside each
// destination goes first. When a file cannot be copied, every one
// before it is put back as it was, and a new one deleted; when all are in
// place, the files they replaced go, or go at the next restart. The index
// of the file that failed, its error in the step; -1 when all are in place.
static int CopyProductFilesFrom(int i, COPYSTEP *pStep) {
  if (i == g_cCopiedFiles) return -1;
  char szSource[MAX_PATH], szDest[MAX_PATH], szKept[MAX_PATH];
  BOOL bComposed = ComposeCopy(g_aszCopiedFiles[i], pStep, szSource, szDest);
  if (bComposed) DeleteLeftovers(szDest);
  if (!bComposed || !ProbeFile(szSource) || IsSameFile(szSource, szDest))
    return CopyProductFilesFrom(i + 1, pStep);
  pStep->dwError = ReplaceWithCopy(szSource, szDest, szKept, &pStep->bNotPutBack);
  if (pStep->dwError != 0) return i;
  int iFailed = CopyProductFilesFrom(i + 1, pStep);
  if (iFailed >= 0)
    PutBack(szDest, szKept, &pStep->bNotPutBack);
  else
    DeleteKeptFile(szKept);
  return iFailed;
}

// The library is copied to the system folder unless the one there has its
// stamp; the shipped copy stays, so the product folder can install again.
// One the system folder keeps (it is in use) is left to the platform's
// setup at the end.
int PlaceShellExtension(LPCSTR pszSourceFolder) {
  char szSource[MAX_PATH], szDest[MAX_PATH];
  if (!ComposePath(szSource, MAX_PATH, pszSourceFolder, g_szShellExtFile) ||
      !ComposeSystemLibraryPath(szDest))
    return LIBRARY_MISSING;
  DeleteLeftovers(szDest);
  DWORD dwStamp = ProbeFile(szSource), dwInPlace = ProbeFile(szDest);
  if (dwStamp == 0) return dwInPlace ? LIBRARY_IN_PLACE : LIBRARY_MISSING;
  if (dwStamp == dwInPlace) return LIBRARY_IN_PLACE;
  char szKept[MAX_PATH];
  BOOL bNotPutBack = FALSE;
  if (ReplaceWithCopy(szSource, szDest, szKept, &bNotPutBack)) return LIBRARY_KEPT_OLD;
  DeleteKeptFile(szKept);
  return LIBRARY_IN_PLACE;
}

// The folder as typed is checked before anything is created, then every
// product file must be in it. Tokavi.exe keeps a message of its own, a full
// disk is named as such, and a file that could not be put back is owned
// up to. 0 when every file is in place; else the exit code: a file in use
// and a full disk have their own.
UINT PrepareAndCopyFiles(HWND hDlg, LPCSTR pszFolder, LPCSTR pszSourceFolder) {
  if (!IsAbsoluteFolder(pszFolder)) return ShowError(hDlg, g_szMsgFolderInvalid, "", "");
  if (!FitsInstallFolder(pszFolder)) return ShowError(hDlg, g_szMsgFolderTooLong, "", "");
  UINT uCode = EnsureInstallFolder(hDlg, pszFolder);
  if (uCode) return uCode;
  COPYSTEP step = {pszSourceFolder, pszFolder, 0, FALSE};
  char szSource[MAX_PATH], szDest[MAX_PATH], szEnding[256];
  if (!ComposeCopy(g_szMainExe, &step, szSource, szDest) || !ProbeFile(szSource))
    return ShowError(hDlg, g_szMsgSourceMissing1, g_szMsgSourceMissing2, "");
  int iFailed = CopyProductFilesFrom(0, &step);
  if (iFailed < 0) return 0;
  lstrcpyA(szEnding, iFailed == 0 ? g_szMsgCannotCopyRunning : g_szMsgCannotCopyFile2);
  uCode = step.dwError == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : ERROR_INSTALL_FAILURE;
  if (step.dwError == ERROR_DISK_FULL || step.dwError == ERROR_HANDLE_DISK_FULL) {
    lstrcpyA(szEnding, g_szMsgDiskFull);
    uCode = ERROR_DISK_FULL;
  }
  if (step.bNotPutBack) lstrcatA(szEnding, g_szMsgNotPutBack);
  ShowError(hDlg, g_szMsgCannotCopyFile1, g_aszCopiedFiles[iFailed], szEnding);
  return uCode;
}
