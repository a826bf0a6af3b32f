#include "dialog.h"

#include <shlobj.h>

#include "../install/install.h"
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"

// The folder recorded by the main application, else Program Files\Tokavi on
// the Windows drive.
static void ReadInitialFolder(LPSTR pszFolder) {
  if (ReadInstallFolder(pszFolder)) return;
  char szWindows[MAX_PATH];
  if (GetWindowsDirectoryA(szWindows, MAX_PATH) == 0) szWindows[0] = 'C';
  pszFolder[0] = szWindows[0];
  pszFolder[1] = '\0';
  lstrcatA(pszFolder, g_szDefaultFolderTail);
}

// Centred across the screen, at one third of the free height from the top.
static void PlaceDialog(HWND hDlg) {
  RECT rc;
  GetWindowRect(hDlg, &rc);
  int x = (GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 3;
  SetWindowPos(hDlg, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

static INT_PTR InitInstallDialog(HWND hDlg) {
  char szFolder[MAX_PATH];
  ReadInitialFolder(szFolder);
  PlaceDialog(hDlg);
  SetDlgItemTextA(hDlg, IDC_INSTALL_DIR, szFolder);
  CheckDlgButton(hDlg, IDC_USE_SHELLEXT, BST_CHECKED);
  return TRUE;
}

static INT_PTR ConfirmCancel(HWND hDlg) {
  if (MessageBoxA(hDlg, g_szMsgConfirmCancel, g_szCaptionConfirmQuit, MB_YESNO | MB_ICONQUESTION) ==
      IDNO)
    return FALSE;
  SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  return TRUE;
}

// The picker starts at the desktop, not at the folder typed; the typed text
// is only what the edit keeps when the chosen item has no file-system path.
static INT_PTR BrowseFromDialog(HWND hDlg) {
  char szFolder[MAX_PATH];
  GetDlgItemTextA(hDlg, IDC_INSTALL_DIR, szFolder, MAX_PATH);
  AppendBackslash(szFolder, MAX_PATH);
  if (BrowseForInstallFolder(hDlg, szFolder)) SetDlgItemTextA(hDlg, IDC_INSTALL_DIR, szFolder);
  return TRUE;
}

// What OK hands the installation: the folder text and the options, read
// from the controls once.
static INT_PTR InstallAsRequested(HWND hDlg) {
  INSTALLREQUEST request;
  GetDlgItemTextA(hDlg, IDC_INSTALL_DIR, request.szFolder, MAX_PATH);
  request.dwOptions = 0;
  for (int id = IDC_USE_SHELLEXT; id <= IDC_LAST_OPTION; ++id)
    if (IsDlgButtonChecked(hDlg, id) == BST_CHECKED) request.dwOptions |= OPTION_BIT(id);
  return RunInstallation(hDlg, &request);
}

INT_PTR CALLBACK InstallDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
  switch (uMsg) {
    case WM_INITDIALOG:
      return InitInstallDialog(hDlg);
    case WM_COMMAND:
      // The whole wParam is compared: clicks, Enter and Escape only.
      if (wParam == IDOK) return InstallAsRequested(hDlg);
      if (wParam == IDCANCEL) return ConfirmCancel(hDlg);
      if (wParam == IDC_BROWSE) return BrowseFromDialog(hDlg);
      return FALSE;
    case WM_SYSCOMMAND:
      // The close box quits at once, without the question Cancel asks.
      if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
      PostQuitMessage(0);
      return TRUE;
  }
  return FALSE;
}

int BrowseForInstallFolder(HWND hwndOwner, LPSTR pszBuffer) {
  IMalloc *pMalloc;
  if (FAILED(SHGetMalloc(&pMalloc))) return 0;
  int nResult = 0;
  LPSTR pszName = (LPSTR)pMalloc->Alloc(MAX_PATH);
  if (pszName) {
    BROWSEINFOA bi = {};
    bi.hwndOwner = hwndOwner;
    bi.pszDisplayName = pszName;
    bi.lpszTitle = g_szTitleBrowse;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pidl = SHBrowseForFolderA(&bi);
    if (pidl) {
      if (SHGetPathFromIDListA(pidl, pszName)) lstrcpyA(pszBuffer, pszName);
      pMalloc->Free(pidl);
      nResult = 1;
    }
    pMalloc->Free(pszName);
  }
  pMalloc->Release();
  return nResult;
}
