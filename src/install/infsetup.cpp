// The platform's INF setup, launched when the shell extension library in the
// system folder could not be replaced: the DLL runner installs the default
// section of the product's INF from the source folder. The only place where
// Windows 95 and Windows NT part ways.
#include <shlobj.h>

#include "../layout/layout.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "../startup/startup.h"
#include "install.h"

BOOL IsWindows95(void) {
  OSVERSIONINFOA vi;
  vi.dwOSVersionInfoSize = sizeof vi;
  return GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// The runner to launch, with its parameters in a buffer of
// INF_PARAMETERS_SIZE bytes, and the folder it starts in (MAX_PATH bytes):
// the source folder, on Windows 95 in its short form. The INF's path is not
// quoted: the Setup entry takes the rest of its command line as the path.
LPCSTR ComposeInfSetup(LPSTR pszParameters, LPSTR pszFolder, BOOL bWindows95) {
  LPCSTR pszProgram = g_szInfRunnerNT;
  lstrcpyA(pszParameters, g_szInfLibraryNT);
  lstrcpyA(pszFolder, g_szSourceDir);
  if (bWindows95) {
    pszProgram = g_szInfRunner95;
    lstrcpyA(pszParameters, g_szInfLibrary95);
    ShortenPath(pszFolder);
  }
  if (!AppendText(pszParameters, INF_PARAMETERS_SIZE, g_szInfEntry) ||
      !AppendText(pszParameters, INF_PARAMETERS_SIZE, pszFolder) ||
      !AppendText(pszParameters, INF_PARAMETERS_SIZE, g_szInfFile))
    return NULL;
  return pszProgram;
}

// Does not wait for the runner. Only Windows NT hears that the new library
// takes effect after a restart, and only when the runner could be started.
void RunInfSetup(HWND hDlg) {
  char szParameters[INF_PARAMETERS_SIZE], szFolder[MAX_PATH];
  BOOL bWindows95 = IsWindows95();
  LPCSTR pszProgram = ComposeInfSetup(szParameters, szFolder, bWindows95);
  if (!pszProgram) return;
  HINSTANCE hResult = ShellExecuteA(hDlg, g_szInfVerb, pszProgram, szParameters, szFolder, SW_SHOW);
  if ((INT_PTR)hResult > 32 && !bWindows95)
    MessageBoxA(hDlg, g_szMsgRestart, g_szCaptionInstall, MB_OK);
}
