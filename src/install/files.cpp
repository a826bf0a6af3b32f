// The install folder and the files: the folder is checked and, after a
// question, created; the product files are copied into it, and the shell
// extension library is placed in the system folder.
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "../startup/startup.h"
#include "install.h"

static int ShowError(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2) {
  ShowMessage(hDlg, pszText1, pszText2, "", g_szCaptionINSTALL, MB_ICONERROR);
  return 0;
}

// The edit text without one trailing backslash, except that a text of three
// bytes keeps it: a drive root such as "C:\" is no folder without it.
static void ReadInstallFolderText(HWND hDlg, LPSTR pszFolder) {
  GetDlgItemTextA(hDlg, IDC_INSTALL_DIR, pszFolder, MAX_PATH);
  if (lstrlenA(pszFolder) != 3) RemoveTrailingBackslash(pszFolder);
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

// Only the last level is created; a missing parent makes it fail. Anything
// found under the name counts as the folder.
static int EnsureInstallFolder(HWND hDlg, LPCSTR pszFolder) {
  if (ProbeFile(pszFolder)) return 1;
  if (ShowMessage(hDlg, g_szMsgFolderMissing1, pszFolder, g_szMsgFolderMissing2,
                  g_szCaptionCreateFolder, MB_YESNO | MB_ICONQUESTION) == IDNO)
    return 0;
  if (CreateDirectoryA(pszFolder, NULL)) return 1;
  return ShowError(hDlg, pszFolder, g_szMsgCannotCreate);
}

// The source and destination of a product file. A source path that does not
// fit names no file there.
static BOOL ComposeCopy(LPCSTR pszName, LPCSTR pszFolder, LPSTR pszSource, LPSTR pszDest) {
  return ComposePath(pszSource, MAX_PATH, g_szSourceDir, pszName) &&
         ComposePath(pszDest, MAX_PATH, pszFolder, pszName) && ProbeFile(pszSource) != 0;
}

// The main executable must be there and must be copied, unless the install
// folder is the source folder typed as the same text.
static int CopyMainExecutable(HWND hDlg, LPCSTR pszFolder) {
  char szSource[MAX_PATH], szDest[MAX_PATH];
  if (!ComposeCopy(g_szMainExe, pszFolder, szSource, szDest))
    return ShowError(hDlg, g_szMsgSourceMissing1, g_szMsgSourceMissing2);
  if (IsSamePathText(szSource, szDest) || CopyFileA(szSource, szDest, FALSE)) return 1;
  return ShowError(hDlg, g_szMsgCannotCopy1, g_szMsgCannotCopy2);
}

// The other files are copied where they are shipped. A failed copy, such as
// one onto itself, is no reason to stop.
static void CopyOtherFiles(LPCSTR pszFolder) {
  for (int i = 1; i < g_cCopiedFiles; ++i) {
    char szSource[MAX_PATH], szDest[MAX_PATH];
    if (ComposeCopy(g_aszCopiedFiles[i], pszFolder, szSource, szDest))
      CopyFileA(szSource, szDest, FALSE);
  }
}

// The library moves to the system folder unless the one there has its
// stamp. One the system folder keeps (it is in use) is left to the
// platform's setup at the end.
static void PlaceShellExtension(void) {
  char szSource[MAX_PATH], szDest[MAX_PATH];
  if (!ComposePath(szSource, MAX_PATH, g_szSourceDir, g_szShellExtFile) ||
      !ComposeSystemLibraryPath(szDest))
    return;
  DWORD dwStamp = ProbeFile(szSource);
  if (dwStamp == 0 || dwStamp == ProbeFile(szDest)) return;
  if (CopyFileA(szSource, szDest, FALSE))
    DeleteFileA(szSource);
  else
    g_bExtensionCopied = 0;
}

int PrepareAndCopyFiles(HWND hDlg) {
  char szFolder[MAX_PATH];
  ReadInstallFolderText(hDlg, szFolder);
  if (!FitsInstallFolder(szFolder)) return ShowError(hDlg, g_szMsgFolderTooLong, "");
  if (!EnsureInstallFolder(hDlg, szFolder) || !CopyMainExecutable(hDlg, szFolder)) return 0;
  CopyOtherFiles(szFolder);
  PlaceShellExtension();
  return 1;
}
