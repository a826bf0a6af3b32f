// The OK command: one fixed sequence of steps. Only the first can stop it,
// and then the dialog stays; after it every step runs whatever became of the
// ones before, and the program ends.
#include <shlobj.h>

#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "../startup/startup.h"
#include "install.h"

// Shows the texts one after the other. Every message the installation
// composes, a folder path included, fits the buffer.
int ShowMessage(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3, LPCSTR pszCaption,
                UINT uType) {
  char szText[1024] = "";
  AppendText(szText, sizeof szText, pszText1);
  AppendText(szText, sizeof szText, pszText2);
  AppendText(szText, sizeof szText, pszText3);
  return MessageBoxA(hDlg, szText, pszCaption, uType);
}

static BOOL IsChecked(HWND hDlg, int idButton) {
  return IsDlgButtonChecked(hDlg, idButton) == BST_CHECKED;
}

// A link in the user's Desktop or Send To folder. A folder too long for the
// link's name gets no link.
static void CreateShortcutIn(LPCSTR pszShellFolder, LPCSTR pszTarget) {
  char szLink[MAX_PATH];
  if (ReadShellFolder(pszShellFolder, szLink) && AppendText(szLink, MAX_PATH, g_szLinkFile))
    CreateShortcut(pszTarget, szLink, g_szLinkDescription);
}

static void RegisterCheckedTypes(HWND hDlg, LPCSTR pszExecutable) {
  for (int i = 0; i < g_cArchiveTypes; ++i)
    if (IsChecked(hDlg, g_aArchiveTypes[i].idCheckBox))
      RegisterFileType(g_aArchiveTypes[i].pszExtension, pszExecutable);
}

// The shortcuts point at the main executable's long path, the associations
// at its short one. The folder is read from the edit afresh; one whose
// paths do not fit was refused before anything was copied.
static void LinkAndAssociate(HWND hDlg) {
  char szFolder[MAX_PATH], szExecutable[MAX_PATH];
  GetDlgItemTextA(hDlg, IDC_INSTALL_DIR, szFolder, MAX_PATH);
  if (!ComposePath(szExecutable, MAX_PATH, szFolder, g_szMainExe)) return;
  if (IsChecked(hDlg, IDC_DESKTOP_LINK)) CreateShortcutIn(g_szDesktopValue, szExecutable);
  if (IsChecked(hDlg, IDC_SENDTO_LINK)) CreateShortcutIn(g_szSendToValue, szExecutable);
  ShortenPath(szExecutable);
  RegisterCheckedTypes(hDlg, szExecutable);
}

INT_PTR RunInstallation(HWND hDlg) {
  if (!PrepareAndCopyFiles(hDlg)) {
    SetFocus(GetDlgItem(hDlg, IDC_INSTALL_DIR));
    return TRUE;
  }
  LinkAndAssociate(hDlg);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_PATHA, NULL, NULL);
  RegisterUninstallInfo(hDlg);
  if (IsChecked(hDlg, IDC_USE_SHELLEXT)) RegisterShellExtension();
  // A library the system folder kept is replaced by the platform's setup.
  if (g_bExtensionCopied)
    ShowMessage(hDlg, g_szMsgInstalled1, g_szMsgInstalled2, "", g_szCaptionFinished, MB_OK);
  else
    RunInfSetup(hDlg);
  SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  return TRUE;
}
