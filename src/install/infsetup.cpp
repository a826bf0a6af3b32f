// The platform's INF setup, launched when the shell extension library in the
// system folder could not be replaced: the DLL runner installs the default
// section of the product's INF from the source folder.
#include <shlobj.h>

#include "../layout/layout.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "install.h"

// The runner to launch, by its full path, into a buffer of MAX_PATH bytes:
// the system folder's rundll32.exe on Windows NT, the Windows folder's
// rundll.exe on Windows 95, never one that a search by name finds in the
// product folder first. Its parameters go into a buffer of
// INF_PARAMETERS_SIZE bytes. The folder it starts in, in a buffer of
// MAX_PATH bytes, holds the source folder, which on Windows 95 becomes its
// short form. The INF's path is not quoted: the Setup entry takes the rest
// of its command line as the path.
BOOL ComposeInfSetup(LPSTR pszProgram, LPSTR pszParameters, LPSTR pszFolder, BOOL bWindows95) {
  UINT(WINAPI * pfnGetFolder)(LPSTR, UINT) = GetSystemDirectoryA;
  LPCSTR pszRunner = g_szInfRunnerNT;
  lstrcpyA(pszParameters, g_szInfLibraryNT);
  if (bWindows95) {
    pfnGetFolder = GetWindowsDirectoryA;
    pszRunner = g_szInfRunner95;
    lstrcpyA(pszParameters, g_szInfLibrary95);
    ShortenPath(pszFolder);
  }
  return ComposePlatformPath(pszProgram, pfnGetFolder, pszRunner) &&
         AppendText(pszParameters, INF_PARAMETERS_SIZE, g_szInfEntry) &&
         AppendText(pszParameters, INF_PARAMETERS_SIZE,
                    g_bSilent ? g_szInfQuietMode : g_szInfMode) &&
         AppendText(pszParameters, INF_PARAMETERS_SIZE, pszFolder) &&
         AppendText(pszParameters, INF_PARAMETERS_SIZE, g_szInfFile);
}

// Does not wait for the runner. Only Windows NT hears that the new library
// takes effect after a restart, and only when the runner could be started.
// Whether it could.
BOOL RunInfSetup(HWND hDlg, LPCSTR pszSourceFolder) {
  char szProgram[MAX_PATH], szParameters[INF_PARAMETERS_SIZE], szFolder[MAX_PATH];
  BOOL bWindows95 = IsWindows95();
  lstrcpyA(szFolder, pszSourceFolder);
  if (!ComposeInfSetup(szProgram, szParameters, szFolder, bWindows95)) return FALSE;
  HINSTANCE hResult = ShellExecuteA(hDlg, g_szInfVerb, szProgram, szParameters, szFolder, SW_SHOW);
  if ((INT_PTR)hResult <= 32) return FALSE;
  if (!bWindows95) ShowMessageBox(hDlg, g_szMsgRestart, g_szCaptionInstall, MB_OK);
  return TRUE;
}
