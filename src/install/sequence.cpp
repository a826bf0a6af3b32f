// The OK command: one fixed sequence of steps. Only the first can stop it,
// and then the dialog stays; after it every step runs whatever became of the
// ones before, and the program ends. The unattended installation runs the
// same sequence from its unseen dialog.
#include <shlobj.h>

#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "install.h"

// Shows the texts one after the other. Every message the installation
// composes, a folder path included, fits the buffer.
int ShowMessage(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3, LPCSTR pszCaption,
                UINT uType) {
  char szText[1024] = "";
  AppendText(szText, sizeof szText, pszText1);
  AppendText(szText, sizeof szText, pszText2);
  AppendText(szText, sizeof szText, pszText3);
  return ShowMessageBox(hDlg, szText, pszCaption, uType);
}

static BOOL IsChosen(const INSTALLREQUEST *pRequest, int idCheckBox) {
  return (pRequest->dwOptions & OPTION_BIT(idCheckBox)) != 0;
}

// A link in each chosen shell folder that can be found.
static void CreateShortcuts(const INSTALLREQUEST *pRequest, LPCSTR pszTarget) {
  for (int i = 0; i < g_cShortcutPlaces; ++i) {
    const SHORTCUTPLACE *pPlace = &g_aShortcutPlaces[i];
    char szLink[MAX_PATH];
    if (IsChosen(pRequest, pPlace->idCheckBox) && ComposeLinkPath(pPlace, szLink))
      CreateShortcut(pszTarget, szLink, g_szLinkDescription);
  }
}

// The shortcuts point at the main executable's long path, the associations
// at its short one. A folder whose paths do not fit was refused before
// anything was copied.
static void LinkAndAssociate(const INSTALLREQUEST *pRequest) {
  char szExecutable[MAX_PATH];
  if (!ComposePath(szExecutable, MAX_PATH, pRequest->szFolder, g_szMainExe)) return;
  CreateShortcuts(pRequest, szExecutable);
  ShortenPath(szExecutable);
  for (int i = 0; i < g_cArchiveTypes; ++i)
    if (IsChosen(pRequest, g_aArchiveTypes[i].idCheckBox))
      RegisterFileType(g_aArchiveTypes[i].pszExtension, szExecutable);
}

// The exit code: a refusal's; 1603 when the entry could not be written;
// 3010 when the library waits for the restart.
UINT RunInstallation(HWND hDlg, const INSTALLREQUEST *pRequest) {
  UINT uCode = PrepareAndCopyFiles(hDlg, pRequest->szFolder, pRequest->pszSource);
  if (uCode) {
    SetFocus(GetDlgItem(hDlg, IDC_INSTALL_DIR));
    return uCode;
  }
  int nLibrary = PlaceShellExtension(pRequest->pszSource);
  LinkAndAssociate(pRequest);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_PATHA, NULL, NULL);
  if (!RegisterUninstallInfo(hDlg, pRequest->szFolder)) uCode = ERROR_INSTALL_FAILURE;
  // A library that is nowhere is not registered.
  if (IsChosen(pRequest, IDC_USE_SHELLEXT) && nLibrary != LIBRARY_MISSING) RegisterShellExtension();
  // A library the system folder kept is replaced by the platform's setup.
  if (nLibrary != LIBRARY_KEPT_OLD)
    ShowMessage(hDlg, g_szMsgInstalled1, g_szMsgInstalled2, "", g_szCaptionFinished, MB_OK);
  else if (!RunInfSetup(hDlg, pRequest->pszSource))
    uCode = ERROR_INSTALL_FAILURE;
  else if (!uCode)
    uCode = ERROR_SUCCESS_REBOOT_REQUIRED;
  SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  return uCode;
}
