// The install folder and the files: the folder is checked and, after a
// question, created; the product files are copied into it, and the shell
// extension library is copied into the system folder.
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/restart.h"
#include "../layout/texts.h"
#include "../startup/startup.h"
#include "install.h"

static int ShowError(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3) {
  ShowMessage(hDlg, pszText1, pszText2, pszText3, g_szCaptionINSTALL, MB_ICONERROR);
  return 0;
}

// Whether every path and command the installation composes from the folder
// fits its buffer, the temporary names of the copies too. The platform
// makes those only in a folder of 246 bytes at most, its backslash
// included: with the longest name of the list (11 bytes), every path in the
// folder two bytes short of MAX_PATH. A text the edit held longer than its
// buffer arrives cut to 259 bytes, which never fits either.
static BOOL FitsInstallFolder(LPCSTR pszFolder) {
  char szPath[UNINSTALL_COMMAND_SIZE];
  for (int i = 0; i < g_cCopiedFiles; ++i)
    if (!ComposePath(szPath, MAX_PATH - 2, pszFolder, g_aszCopiedFiles[i])) return FALSE;
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

// A new empty file of a free temporary name in the folder that holds the
// file, so that the name stays free for this step: "Tok" (the platform
// takes three letters of the prefix), four hexadecimal digits, ".tmp".
static BOOL CreateTempFile(LPCSTR pszPath, LPSTR pszTemp) {
  char szFolder[MAX_PATH];
  lstrcpyA(szFolder, pszPath);
  *FindLastName(szFolder) = '\0';
  return (BOOL)GetTempFileNameA(szFolder, g_szMainExe, 0, pszTemp);
}

// A file this step made, whatever attributes its copy took from the source.
static void DeleteMadeFile(LPCSTR pszPath) {
  SetFileAttributesA(pszPath, FILE_ATTRIBUTE_ARCHIVE);
  DeleteFileA(pszPath);
}

// The destination moves aside under a temporary name, in pszKept (which
// stays "" when there is none), until the step ends. One that cannot be
// opened for writing alone (a program holds it, it is read-only) stays,
// and is an error, as when it was copied over: a running program or a
// loaded library would let itself be moved aside.
static BOOL KeepOldFile(LPCSTR pszDest, LPSTR pszKept) {
  HFILE hFile = _lopen(pszDest, OF_WRITE | OF_SHARE_EXCLUSIVE);
  if (hFile == HFILE_ERROR) return GetLastError() == ERROR_FILE_NOT_FOUND;
  CloseHandle((HANDLE)(INT_PTR)hFile);
  if (CreateTempFile(pszDest, pszKept) && DeleteFileA(pszKept) && MoveFileA(pszDest, pszKept))
    return TRUE;
  pszKept[0] = '\0';
  return FALSE;
}

// The copy arrives whole under a temporary name beside the destination and
// only then takes its place; the file it replaces is kept, in pszKept. 0
// when the copy is in place; otherwise the error, with the destination as
// it was and no temporary file left (an empty name names none). Plain
// moves: Windows 95 has no other.
static DWORD ReplaceWithCopy(LPCSTR pszSource, LPCSTR pszDest, LPSTR pszKept) {
  char szStaged[MAX_PATH];
  szStaged[0] = pszKept[0] = '\0';
  if (CreateTempFile(pszDest, szStaged) && CopyFileA(pszSource, szStaged, FALSE) &&
      KeepOldFile(pszDest, pszKept) && MoveFileA(szStaged, pszDest))
    return 0;
  DWORD dwError = GetLastError();
  if (pszKept[0]) MoveFileA(pszKept, pszDest);
  DeleteMadeFile(szStaged);
  return dwError;
}

// The file a copy replaced, once the step has succeeded; one still in use
// goes at the next restart.
static void DeleteKeptFile(LPCSTR pszKept) {
  if (pszKept[0]) DeleteOrSchedule(pszKept);
}

// The copied files from the i-th on, in order. A destination that is the
// source itself (the install folder is the product folder, however it was
// typed) is in place already. When a file cannot be copied, every one
// before it is put back as it was, and a new one deleted; when all are in
// place, the files they replaced go, or go at the next restart. The index
// of the file that failed, its error in *pdwError; -1 when all are in place.
static int CopyProductFilesFrom(int i, LPCSTR pszFolder, DWORD *pdwError) {
  if (i == g_cCopiedFiles) return -1;
  char szSource[MAX_PATH], szDest[MAX_PATH], szKept[MAX_PATH];
  if (!ComposeCopy(g_aszCopiedFiles[i], pszFolder, szSource, szDest) ||
      IsSameFile(szSource, szDest))
    return CopyProductFilesFrom(i + 1, pszFolder, pdwError);
  if ((*pdwError = ReplaceWithCopy(szSource, szDest, szKept)) != 0) return i;
  int iFailed = CopyProductFilesFrom(i + 1, pszFolder, pdwError);
  if (iFailed >= 0) {
    DeleteMadeFile(szDest);
    if (szKept[0]) MoveFileA(szKept, szDest);
  } else {
    DeleteKeptFile(szKept);
  }
  return iFailed;
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
  if (dwStamp == dwInPlace) return LIBRARY_IN_PLACE;
  char szKept[MAX_PATH];
  if (ReplaceWithCopy(szSource, szDest, szKept)) return LIBRARY_KEPT_OLD;
  DeleteKeptFile(szKept);
  return LIBRARY_IN_PLACE;
}

// The folder as typed is checked before anything is created, then every
// product file must be in it. Tokavi.exe keeps a message of its own, and a
// full disk is named as such.
int PrepareAndCopyFiles(HWND hDlg, LPCSTR pszFolder) {
  if (!IsAbsoluteFolder(pszFolder)) return ShowError(hDlg, g_szMsgFolderInvalid, "", "");
  if (!FitsInstallFolder(pszFolder)) return ShowError(hDlg, g_szMsgFolderTooLong, "", "");
  if (!EnsureInstallFolder(hDlg, pszFolder)) return 0;
  char szSource[MAX_PATH], szDest[MAX_PATH];
  if (!ComposeCopy(g_szMainExe, pszFolder, szSource, szDest))
    return ShowError(hDlg, g_szMsgSourceMissing1, g_szMsgSourceMissing2, "");
  DWORD dwError;
  int iFailed = CopyProductFilesFrom(0, pszFolder, &dwError);
  if (iFailed < 0) return 1;
  LPCSTR pszEnding = iFailed == 0 ? g_szMsgCannotCopyRunning : g_szMsgCannotCopyFile2;
  if (dwError == ERROR_DISK_FULL || dwError == ERROR_HANDLE_DISK_FULL) pszEnding = g_szMsgDiskFull;
  return ShowError(hDlg, g_szMsgCannotCopyFile1, g_aszCopiedFiles[iFailed], pszEnding);
}
