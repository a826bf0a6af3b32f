#include "startup.h"

#include "../dialog/dialog.h"
#include "../install/install.h"
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "../uninstall/uninstall.h"

char g_szSourceDir[MAX_PATH];

typedef DWORD(WINAPI *GETCURRENTDIRECTORYW)(DWORD, LPWSTR);
typedef DWORD(WINAPI *GETMODULEFILENAMEW)(HMODULE, LPWSTR, DWORD);

// The folder of the program's own file, with its backslash, into a buffer
// of MAX_PATH characters; 0 when it does not fit.
static DWORD ReadProgramFolder(LPWSTR pwszFolder) {
  GETMODULEFILENAMEW pfnGetFileName =
      (GETMODULEFILENAMEW)(void *)FindSystemFunction(g_szKernel32, "GetModuleFileNameW");
  DWORD cch = pfnGetFileName ? pfnGetFileName(NULL, pwszFolder, MAX_PATH) : 0;
  if (cch - 1 >= MAX_PATH - 1) return 0;
  // A full path, which has a backslash.
  while (pwszFolder[cch - 1] != '\\') --cch;
  pwszFolder[cch] = '\0';
  return cch;
}

// The current directory into the source folder, with its backslash, in its
// short form when asked; on Windows NT read in UTF-16 and used by a name
// that converts back to it, its own or its short one. The unattended
// installation takes the program's own folder there instead: deployment
// tools start it from folders of their own, winget from its caller's. The
// message that refuses it, or NULL.
static LPCSTR ReadCurrentFolder(BOOL bShort) {
  if (IsWindows95()) {
    DWORD cch = GetCurrentDirectoryA(MAX_PATH, g_szSourceDir);
    if (cch == 0 || cch >= MAX_PATH) return g_szMsgWrongFolder;
    if (bShort) ShortenPath(g_szSourceDir);
  } else {
    GETCURRENTDIRECTORYW pfnGetFolder =
        (GETCURRENTDIRECTORYW)(void *)FindSystemFunction(g_szKernel32, "GetCurrentDirectoryW");
    WCHAR wszFolder[MAX_PATH];
    DWORD cch = g_bSilent      ? ReadProgramFolder(wszFolder)
                : pfnGetFolder ? pfnGetFolder(MAX_PATH, wszFolder)
                               : 0;
    if (cch == 0 || cch >= MAX_PATH) return g_szMsgWrongFolder;
    if (bShort) ShortenWidePath(wszFolder);
    if (!ConvertFaithfully(wszFolder, g_szSourceDir, MAX_PATH)) return g_szMsgUnusableFolder;
  }
  return AppendBackslash(g_szSourceDir, MAX_PATH) ? NULL : g_szMsgWrongFolder;
}

// Whether every product file's path in the source folder fits, the
// library's too, so that none is skipped.
static BOOL FitsSourceFolder(void) {
  return FitsProductFiles(g_szSourceDir, MAX_PATH, g_cCopiedFiles + 1);
}

// The source folder is the current directory, not the program's folder: by
// its short form when a product file's path in it would not fit otherwise,
// and refused when it would not fit either way.
static LPCSTR ReadSourceFolder(void) {
  char szProbe[MAX_PATH];
  LPCSTR pszRefusal = ReadCurrentFolder(FALSE);
  if (!pszRefusal && !FitsSourceFolder()) {
    pszRefusal = ReadCurrentFolder(TRUE);
    if (!pszRefusal && !FitsSourceFolder()) pszRefusal = g_szMsgSourceTooLong;
  }
  if (pszRefusal) return pszRefusal;
  ComposePath(szProbe, MAX_PATH, g_szSourceDir, g_szMarkerFile);
  return ProbeFile(szProbe) ? NULL : g_szMsgWrongFolder;
}

static int RunMessageLoop(HWND hDlg) {
  MSG msg;
  BOOL bResult;
  // GetMessageA yields -1 on an error, which ends the loop as well.
  while ((bResult = GetMessageA(&msg, NULL, 0, 0)) != 0 && bResult != -1) {
    if (!IsDialogMessageA(hDlg, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return bResult == 0 ? (int)msg.wParam : 0;
}

// Blanks and control characters at the end of the tail are no part of the
// switch. The second byte of a Shift-JIS character is never one of them.
static void TrimTail(LPSTR pszTail) {
  LPSTR pszEnd = pszTail + lstrlenA(pszTail);
  while (pszEnd > pszTail && (BYTE)pszEnd[-1] <= ' ') --pszEnd;
  *pszEnd = '\0';
}

typedef void(WINAPI *INITCOMMONCONTROLS)(void);
static const char s_szCommonControls[] PACKED_TEXT = "comctl32";
static const char s_szInitCommonControls[] PACKED_TEXT = "InitCommonControls";
static const char s_szImageLibrary[] PACKED_TEXT = "msimg32\0";

// The common controls by name, now that DLLs come from the system folder
// alone: the manifest's dependency makes that version 6, from the
// side-by-side store, whose window classes Windows XP registers when this is
// called. Never imported: Windows 95 to 2000 would take an imported one from
// the program's folder before any of the program runs. Their drawing
// library was loaded first, at the start.
static void InitVisualStyles(void) {
  INITCOMMONCONTROLS pfnInit = (INITCOMMONCONTROLS)(void *)GetProcAddress(
      LoadLibraryExA(s_szCommonControls, NULL, 0), s_szInitCommonControls);
  if (pfnInit) pfnInit();
}

// The folder at the end of the tail typed into the folder edit: on Windows
// NT in UTF-16, as the command line's last characters, blanks and control
// characters after them left out as from the tail, which converts them one
// by one.
static void TypeTailFolder(HWND hDlg, LPCSTR pszText) {
  if (IsWindows95()) return TypeFolderText(hDlg, pszText, FALSE);
  LPWSTR pwszLine = GetCommandLineW(), pwszEnd = pwszLine;
  while (*pwszEnd) ++pwszEnd;
  while (pwszEnd[-1] <= ' ') --pwszEnd;  // the tail holds "/D=" before
  *pwszEnd = '\0';
  int cch = MultiByteToWideChar(CP_ACP, 0, pszText, -1, NULL, 0) - 1;
  TypeFolderText(hDlg, cch <= pwszEnd - pwszLine ? pwszEnd - cch : L"", TRUE);
}

// The option bit of the task name at *pp, which a comma, a blank or the end
// of the tail ends; *pp then points past the comma. 0 for no task's name.
static DWORD ReadTask(LPSTR *pp) {
  LPCSTR pszName = g_szTaskNames;
  for (DWORD dwBit = 1; dwBit <= OPTION_BIT(IDC_LAST_OPTION);
       dwBit <<= 1, pszName += lstrlenA(pszName) + 1) {
    LPSTR pszEnd = SkipSwitch(*pp, pszName);
    if (*pszName && pszEnd && (*pszEnd == ',' || (BYTE)*pszEnd <= ' ')) {
      *pp = pszEnd + (*pszEnd == ',');
      return dwBit;
    }
  }
  return 0;
}

// The dialog filled in as the tail after "/S" says, as a user fills it in:
// "/TASKS=" and the check boxes by task name, separated by commas, in any
// order and case, checks those alone; then "/D=" types the rest of the
// tail, blanks and all, as the folder. Either may be left out, and the
// dialog keeps what it starts with. FALSE when the tail is malformed.
static BOOL FillInDialog(HWND hDlg, LPSTR p) {
  LPSTR pszTasks = SkipSwitch(p, g_szTasksSwitch);
  if (pszTasks) {
    DWORD dwOptions = 0;
    for (p = pszTasks; (BYTE)*p > ' ';) {
      DWORD dwBit = ReadTask(&p);
      if (!dwBit) return FALSE;
      dwOptions |= dwBit;
    }
    for (int id = IDC_USE_SHELLEXT; id <= IDC_LAST_OPTION; ++id)
      SendMessageA(GetDlgItem(hDlg, id), BM_SETCHECK, dwOptions >> (id - IDC_USE_SHELLEXT) & 1, 0);
    p = SkipBlanks(p);
  }
  LPSTR pszFolder = SkipSwitch(p, g_szFolderSwitch);
  if (pszFolder)
    TypeTailFolder(hDlg, pszFolder);
  else if (*p)
    return FALSE;
  return TRUE;
}

// The dialog with COM set up on its thread, as the folder picker needs it;
// every successful setup is balanced. Unattended (pszSilentTail), it stays
// unseen: filled in as the tail says, its OK pressed, and the result is the
// exit code.
static int RunInstallDialog(HINSTANCE hInstance, int nShowCmd, LPSTR pszSilentTail) {
  HRESULT hrCom = CoInitialize(NULL);
  int nResult = ERROR_INSTALL_FAILURE;
  InitVisualStyles();
  HWND hDlg = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_INSTALL), NULL, InstallDlgProc,
                                 (LPARAM)g_szSourceDir);
  if (hDlg && pszSilentTail) {
    nResult = FillInDialog(hDlg, pszSilentTail) ? (int)SendMessageA(hDlg, WM_COMMAND, IDOK, 0)
                                                : ERROR_INVALID_PARAMETER;
  } else if (hDlg) {
    ShowWindow(hDlg, nShowCmd);
    UpdateWindow(hDlg);
    nResult = RunMessageLoop(hDlg);
  }
  if (SUCCEEDED(hrCom)) CoUninitialize();
  return nResult;
}

// The error message that ends the run; the exit code of the unattended
// run it ends.
static int Refuse(LPCSTR pszText, LPCSTR pszCaption, UINT uCode) {
  ShowMessageBox(NULL, pszText, pszCaption, MB_ICONERROR);
  return uCode;
}

#ifndef _WIN64
typedef BOOL(WINAPI *ISWOW64PROCESS)(HANDLE, PBOOL);

// Whether the registry's view holds our entry in the list of installed
// programs: on 64-bit Windows the 32-bit program sees the 32-bit view,
// where only a 32-bit installation writes it.
static BOOL HoldsUninstallEntry(void) {
  HKEY hKey;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, g_szUninstallKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return FALSE;
  RegCloseKey(hKey);
  return TRUE;
}

// The 32-bit program on 64-bit Windows, where its library and registration
// would land in the 32-bit views, which 64-bit Explorer never reads.
static BOOL IsWow64(void) {
  BOOL bWow64 = FALSE;
  ISWOW64PROCESS pfnIsWow64Process =
      (ISWOW64PROCESS)(void *)FindSystemFunction(g_szKernel32, "IsWow64Process");
  // The process's own pseudo handle, as GetCurrentProcess gives it.
  return pfnIsWow64Process && pfnIsWow64Process((HANDLE)-1, &bWow64) && bWow64;
}
#endif

// "/d", or "/d /S" unattended; any other tail ends at once. The 32-bit
// program on 64-bit Windows removes only a 32-bit installation; beside a
// 64-bit one it would take the files and leave the registration.
static int RunUninstallMode(LPSTR pszTail) {
  LPSTR pszRest = SkipWord(pszTail, g_szUninstallSwitch);
  if (!pszRest) return 0;
  if (*pszRest) {
    pszRest = SkipWord(pszRest, g_szSilentSwitch);
    if (!pszRest || *pszRest) return 0;
    g_bSilent = TRUE;
  }
#ifndef _WIN64
  if (IsWow64() && !HoldsUninstallEntry())
    return Refuse(g_szMsgWrongBuild, g_szCaptionInstall, ERROR_INSTALL_FAILURE);
#endif
  return RunUninstall();
}

// The dialog, or, with the tail after "/S", the unattended installation.
static int RunInstallMode(HINSTANCE hInstance, LPSTR pszSilentTail, int nShowCmd) {
  if (FindWindowA(g_szMainWindowClass, NULL))
    return Refuse(g_szMsgAppRunning, g_szCaptionINSTALL, ERROR_SHARING_VIOLATION);
#ifndef _WIN64
  if (IsWow64()) return Refuse(g_szMsgWrongBuild, g_szCaptionInstall, ERROR_INSTALL_FAILURE);
#endif
  LPCSTR pszRefusal = ReadSourceFolder();
  if (pszRefusal) return Refuse(pszRefusal, g_szCaptionInstall, ERROR_INSTALL_FAILURE);
  return RunInstallDialog(hInstance, nShowCmd, pszSilentTail);
}

// The common controls' drawing library comes first, by its full path in
// the system folder, before any window or message box: a loader that looks
// for the controls' imports in the program's folder, as Wine does for this
// one, then finds it loaded. The runs with a person at the screen end
// with 0; the unattended ones with the code of what became of them.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nShowCmd) {
  PreloadSystemDlls(s_szImageLibrary);
  TrimTail(lpCmdLine);
  LPSTR pszSilentTail = SkipWord(lpCmdLine, g_szSilentSwitch);
  g_bSilent = pszSilentTail != NULL;
  int nCode = *lpCmdLine && !g_bSilent ? RunUninstallMode(lpCmdLine)
                                       : RunInstallMode(hInstance, pszSilentTail, nShowCmd);
  return g_bSilent ? nCode : 0;
}
