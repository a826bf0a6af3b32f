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
// INF_PARAMETERS_SIZE bytes. The INF's path is not quoted: the Setup entry
// takes the rest of its command line as the path. On Windows 95 the source
// folder is rewritten in its short form, which the runner also starts in.
LPCSTR ComposeInfSetup(LPSTR pszParameters, BOOL bWindows95) {
  LPCSTR pszProgram = g_szInfRunnerNT;
  lstrcpyA(pszParameters, g_szInfLibraryNT);
  if (bWindows95) {
    pszProgram = g_szInfRunner95;
    lstrcpyA(pszParameters, g_szInfLibrary95);
    ShortenPath(g_szSourceDir);
  }
  if (!AppendText(pszParameters, INF_PARAMETERS_SIZE, g_szInfEntry) ||
      !AppendText(pszParameters, INF_PARAMETERS_SIZE, g_szSourceDir) ||
      !AppendText(pszParameters, INF_PARAMETERS_SIZE, g_szInfFile))
    return NULL;
  return pszProgram;
}

// Does not wait for the runner. Only Windows NT hears that the new library
// takes effect after a restart, and only when the runner could be started.
void RunInfSetup(HWND hDlg) {
  char szParameters[INF_PARAMETERS_SIZE];
  BOOL bWindows95 = IsWindows95();
  LPCSTR pszProgram = ComposeInfSetup(szParameters, bWindows95);
  if (!pszProgram) return;
  HINSTANCE hResult =
      ShellExecuteA(hDlg, g_szInfVerb, pszProgram, szParameters, g_szSourceDir, SW_SHOW);
  if ((INT_PTR)hResult > 32 && !bWindows95)
    MessageBoxA(hDlg, g_szMsgRestart, g_szCaptionInstall, MB_OK);
}
