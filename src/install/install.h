// The installation the dialog's OK command runs, and its steps.
#pragma once
#include <windows.h>

#include "../layout/layout.h"
#include "../layout/platform.h"

// The INF setup's parameters: the Setup library and entry around a source
// folder of up to MAX_PATH bytes and the INF's name.
#define INF_PARAMETERS_SIZE (MAX_PATH + 64)

// "major.minor.build.revision", each part up to 65535, the zero and the dot
// composed before the first part.
#define VERSION_TEXT_SIZE 25

// The uninstall entry's texts, in the order of their names.
enum {
  ENTRY_COMMAND,
  ENTRY_QUIET_COMMAND,
  ENTRY_NAME,
  ENTRY_ICON,
  ENTRY_LOCATION,
  ENTRY_PUBLISHER,
  ENTRY_VERSION,
  ENTRY_TEXTS
};

// One bit of INSTALLREQUEST's options per check box of the dialog.
#define OPTION_BIT(idCheckBox) (1u << ((idCheckBox)-IDC_USE_SHELLEXT))
#define IDC_LAST_OPTION IDC_ASSOC_ARJ

// What the user asked for, read from the dialog once when OK is pressed.
struct INSTALLREQUEST {
  char szFolder[MAX_PATH];  // the folder edit's text, as typed
  DWORD dwOptions;          // OPTION_BIT of every checked box
  LPCSTR pszSource;         // the product folder, with its backslash
};

// The copy step's folders, and what became of it.
struct COPYSTEP {
  LPCSTR pszSource;  // the product folder, with its backslash
  LPCSTR pszFolder;  // the install folder, as typed
  DWORD dwError;     // the error of the file that could not be copied
  BOOL bNotPutBack;  // a file it replaced could not be put back
};

// What became of the shell extension library in the system folder: none is
// there, the shipped one (or one of its stamp) is, or an older one stays
// because it is in use.
enum { LIBRARY_MISSING, LIBRARY_IN_PLACE, LIBRARY_KEPT_OLD };

// The dialog's OK, pressed by the user or, on the unseen dialog, by the
// unattended installation; the exit code of what became of it.
UINT RunInstallation(HWND hDlg, const INSTALLREQUEST *pRequest);
int ShowMessage(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3, LPCSTR pszCaption,
                UINT uType);

UINT PrepareAndCopyFiles(HWND hDlg, LPCSTR pszFolder, LPCSTR pszSourceFolder);
int PlaceShellExtension(LPCSTR pszSourceFolder);
HRESULT CreateShortcut(LPCSTR pszTarget, LPCSTR pszLink, LPCSTR pszDescription);
int RegisterFileType(LPCSTR pszExtension, LPCSTR pszExecutable);
void RegisterShellExtension(void);
BOOL ComposeUninstallCommand(LPSTR pszCommand, LPCSTR pszFolder);
LPCSTR ReadFileVersion(LPCSTR pszPath, LPSTR pszBuffer);
BOOL RegisterUninstallInfo(HWND hDlg, LPCSTR pszFolder);
BOOL ComposeInfSetup(LPSTR pszProgram, LPSTR pszParameters, LPSTR pszFolder, BOOL bWindows95);
BOOL RunInfSetup(HWND hDlg, LPCSTR pszSourceFolder);
