#include "dialog.h"

#include <shlobj.h>

#include "../install/install.h"
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/platform.h"
#include "../layout/texts.h"

typedef UINT(WINAPI *GETDLGITEMTEXTW)(HWND, int, LPWSTR, int);
typedef BOOL(WINAPI *SETDLGITEMTEXTW)(HWND, int, LPCWSTR);
typedef BOOL(WINAPI *SHGETPATHFROMIDLISTW)(LPCITEMIDLIST, LPWSTR);

// What the folder picker put into its caller's buffer: the path in UTF-16.
#define PICKED_WIDE 2

// The folder recorded by the main application, by a name that converts back
// to it, else Program Files\Tokavi on the Windows drive.
static void ReadInitialFolder(LPSTR pszFolder) {
  if (ReadInstallFolder(pszFolder) == FOLDER_FOUND) return;
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

// The product folder comes with the dialog's creation and stays with it.
static INT_PTR InitInstallDialog(HWND hDlg, LPARAM lSourceFolder) {
  char szFolder[MAX_PATH];
  SetWindowLongPtrA(hDlg, DWLP_USER, lSourceFolder);
  ReadInitialFolder(szFolder);
  PlaceDialog(hDlg);
  SetDlgItemTextA(hDlg, IDC_INSTALL_DIR, szFolder);
  SendMessageA(GetDlgItem(hDlg, IDC_USE_SHELLEXT), BM_SETCHECK, BST_CHECKED, 0);
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
  char szFolder[MAX_PATH * sizeof(WCHAR)];
  GetDlgItemTextA(hDlg, IDC_INSTALL_DIR, szFolder, MAX_PATH);
  AppendBackslash(szFolder, MAX_PATH);
  int nPicked = BrowseForInstallFolder(hDlg, szFolder);
  if (nPicked) TypeFolderText(hDlg, szFolder, nPicked == PICKED_WIDE);
  return TRUE;
}

void TypeFolderText(HWND hDlg, LPCVOID pvFolder, BOOL bWide) {
  if (!bWide) {
    SetDlgItemTextA(hDlg, IDC_INSTALL_DIR, (LPCSTR)pvFolder);
    return;
  }
  SETDLGITEMTEXTW pfnSetText =
      (SETDLGITEMTEXTW)(void *)FindSystemFunction(g_szUser32, "SetDlgItemTextW");
  if (pfnSetText) pfnSetText(hDlg, IDC_INSTALL_DIR, (LPCWSTR)pvFolder);
}

// The folder edit's text into a buffer of MAX_PATH bytes, read in UTF-16 on
// Windows NT as the user sees it. One with no ANSI name of its own or of an
// existing folder's short form gives an empty text, which the installation
// refuses as no folder name; one longer than the buffer arrives cut to 259
// bytes, as through the ANSI function, which never fits.
static void ReadFolderText(HWND hDlg, LPSTR pszFolder) {
  if (IsWindows95()) {
    GetDlgItemTextA(hDlg, IDC_INSTALL_DIR, pszFolder, MAX_PATH);
    return;
  }
  GETDLGITEMTEXTW pfnGetText =
      (GETDLGITEMTEXTW)(void *)FindSystemFunction(g_szUser32, "GetDlgItemTextW");
  WCHAR wszFolder[MAX_PATH];
  char szFolder[MAX_PATH * 2];
  if (!pfnGetText || !pfnGetText(hDlg, IDC_INSTALL_DIR, wszFolder, MAX_PATH) ||
      !ConvertFaithfully(wszFolder, szFolder, sizeof szFolder))
    szFolder[0] = '\0';
  szFolder[MAX_PATH - 1] = '\0';
  lstrcpyA(pszFolder, szFolder);
}

// What OK hands the installation: the folder text and the options, read
// from the controls once. The exit code of the unattended installation,
// which presses OK unseen, is the command's result.
static INT_PTR InstallAsRequested(HWND hDlg) {
  INSTALLREQUEST request;
  ReadFolderText(hDlg, request.szFolder);
  request.dwOptions = 0;
  request.pszSource = (LPCSTR)GetWindowLongPtrA(hDlg, DWLP_USER);
  for (int id = IDC_USE_SHELLEXT; id <= IDC_LAST_OPTION; ++id)
    if (SendMessageA(GetDlgItem(hDlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED)
      request.dwOptions |= OPTION_BIT(id);
  SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, RunInstallation(hDlg, &request));
  return TRUE;
}

INT_PTR CALLBACK InstallDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_INITDIALOG:
      return InitInstallDialog(hDlg, lParam);
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

// The chosen folder's path into the caller's buffer: on Windows NT in
// UTF-16 (PICKED_WIDE); else, or when the item has no file-system path and
// the buffer keeps its text, in ANSI (1).
static int CopyPickedPath(LPCITEMIDLIST pidl, LPSTR pszName, LPSTR pszBuffer) {
  if (IsWindows95()) {
    if (SHGetPathFromIDListA(pidl, pszName)) lstrcpyA(pszBuffer, pszName);
    return 1;
  }
  SHGETPATHFROMIDLISTW pfnPathW =
      (SHGETPATHFROMIDLISTW)(void *)FindSystemFunction(g_szShell32, g_szPathFromIDListW);
  // Into the caller's buffer only once it is known to succeed: a failure
  // would empty the buffer.
  return pfnPathW && pfnPathW(pidl, (LPWSTR)pszName) && pfnPathW(pidl, (LPWSTR)pszBuffer)
             ? PICKED_WIDE
             : 1;
}

int BrowseForInstallFolder(HWND hwndOwner, LPSTR pszBuffer) {
  IMalloc *pMalloc;
  if (FAILED(SHGetMalloc(&pMalloc))) return 0;
  int nResult = 0;
  LPSTR pszName = (LPSTR)pMalloc->Alloc(MAX_PATH * sizeof(WCHAR));
  if (pszName) {
    BROWSEINFOA bi = {};
    bi.hwndOwner = hwndOwner;
    bi.pszDisplayName = pszName;
    bi.lpszTitle = g_szTitleBrowse;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pidl = SHBrowseForFolderA(&bi);
    if (pidl) {
      nResult = CopyPickedPath(pidl, pszName, pszBuffer);
      pMalloc->Free(pidl);
    }
    pMalloc->Free(pszName);
  }
  pMalloc->Release();
  return nResult;
}
