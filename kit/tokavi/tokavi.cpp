// Tokavi: the main program. It records its folder for the installer, as the
// file system names it, and its window shows the file it was asked to open,
// in the client area and in the title, so that an association can be seen
// to work.
#include <windows.h>

#include "startup/cmdline.h"

static const char g_szClassName[] = "TokaviWClass";
static const char g_szTitle[] = "Tokavi";
static const char g_szTitleSeparator[] = " - ";
static const char g_szFoldersKey[] = "Software\\Kel\\TokAvi\\Folders";
static const char g_szFolderValue[] = "TokAviDir";
static const WCHAR g_wszFolderValue[] = L"TokAviDir";

static char g_szFile[MAX_PATH];
static char g_szCaption[sizeof g_szTitle + sizeof g_szTitleSeparator + MAX_PATH];

typedef DWORD(WINAPI *GETMODULEFILENAMEW)(HMODULE, LPWSTR, DWORD);
typedef LONG(WINAPI *REGSETVALUEEXW)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD);

// The text before the last backslash, by characters: the second byte of a
// Shift-JIS character may be a backslash too. Its size in bytes with the
// terminating zero.
static DWORD CutProgramName(LPSTR pszPath) {
  LPSTR pszLast = pszPath;
  for (LPSTR p = pszPath; *p; p = CharNextA(p))
    if (*p == '\\') pszLast = p;
  *pszLast = '\0';
  return (DWORD)(pszLast - pszPath) + 1;
}

static DWORD CutProgramNameW(LPWSTR pwszPath) {
  LPWSTR pwszLast = pwszPath;
  for (LPWSTR p = pwszPath; *p; ++p)
    if (*p == '\\') pwszLast = p;
  *pwszLast = 0;
  return (DWORD)(pwszLast - pwszPath + 1) * sizeof(WCHAR);
}

// The program's folder, without a trailing backslash, as the file system
// names it: on Windows NT in UTF-16, since the ANSI name it gives where the
// folder's name has a character the code page lacks is a look-alike
// (C:\Cafe for C:\Café), which names another folder; on Windows 95, whose
// UTF-16 functions are stubs, in ANSI.
static void RecordProgramFolder(void) {
  GETMODULEFILENAMEW pfnGetNameW = (GETMODULEFILENAMEW)(void *)GetProcAddress(
      GetModuleHandleA("kernel32"), "GetModuleFileNameW");
  REGSETVALUEEXW pfnSetW =
      (REGSETVALUEEXW)(void *)GetProcAddress(GetModuleHandleA("advapi32"), "RegSetValueExW");
  BOOL bWide = (GetVersion() & 0x80000000) == 0 && pfnGetNameW && pfnSetW;
  union {
    char sz[MAX_PATH];
    WCHAR wsz[MAX_PATH];
  } folder;
  DWORD cch = bWide ? pfnGetNameW(NULL, folder.wsz, MAX_PATH)
                    : GetModuleFileNameA(NULL, folder.sz, MAX_PATH);
  if (cch == 0 || cch >= MAX_PATH) return;
  DWORD cbFolder = bWide ? CutProgramNameW(folder.wsz) : CutProgramName(folder.sz);
  HKEY hKey;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, g_szFoldersKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, NULL, &hKey, NULL) != ERROR_SUCCESS)
    return;
  if (bWide)
    pfnSetW(hKey, g_wszFolderValue, 0, REG_SZ, (const BYTE *)folder.wsz, cbFolder);
  else
    RegSetValueExA(hKey, g_szFolderValue, 0, REG_SZ, (const BYTE *)folder.sz, cbFolder);
  RegCloseKey(hKey);
}

// The file named by the tail, its surrounding quotes removed; a quoted name
// ends at its closing quote, an unquoted one at the end of the line.
static void ReadFileArgument(LPCSTR pszTail) {
  BOOL bQuoted = *pszTail == '"';
  lstrcpynA(g_szFile, bQuoted ? pszTail + 1 : pszTail, MAX_PATH);
  LPSTR pszEnd = g_szFile;
  for (LPSTR p = g_szFile; *p && !(bQuoted && *p == '"'); p = CharNextA(p)) {
    if (bQuoted || (unsigned char)*p > ' ') pszEnd = CharNextA(p);
  }
  *pszEnd = '\0';
}

static void ComposeCaption(void) {
  lstrcpyA(g_szCaption, g_szTitle);
  if (!g_szFile[0]) return;
  lstrcatA(g_szCaption, g_szTitleSeparator);
  lstrcatA(g_szCaption, g_szFile);
}

static void PaintFileName(HWND hWnd) {
  PAINTSTRUCT ps;
  RECT rc;
  HDC hdc = BeginPaint(hWnd, &ps);
  GetClientRect(hWnd, &rc);
  DrawTextA(hdc, g_szFile, -1, &rc,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  EndPaint(hWnd, &ps);
}

static LRESULT CALLBACK MainWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_PAINT:
      PaintFileName(hWnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

static BOOL RegisterMainClass(HINSTANCE hInstance) {
  WNDCLASSA wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWndProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = hInstance;
  wc.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
  wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  wc.lpszMenuName = NULL;
  wc.lpszClassName = g_szClassName;
  return RegisterClassA(&wc) != 0;
}

static int RunMessageLoop(void) {
  MSG msg;
  BOOL bResult;
  // GetMessageA yields -1 on an error, which ends the loop as well.
  while ((bResult = GetMessageA(&msg, NULL, 0, 0)) != 0 && bResult != -1) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return bResult == 0 ? (int)msg.wParam : 1;
}

static int RunTokavi(int nShowCmd) {
  HINSTANCE hInstance = GetModuleHandleA(NULL);
  RecordProgramFolder();
  ReadFileArgument(SkipProgramName(GetCommandLineA()));
  ComposeCaption();
  if (!RegisterMainClass(hInstance)) return 1;
  HWND hWnd = CreateWindowExA(0, g_szClassName, g_szCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 480, 160, NULL, NULL, hInstance, NULL);
  if (!hWnd) return 1;
  ShowWindow(hWnd, nShowCmd);
  UpdateWindow(hWnd);
  return RunMessageLoop();
}

// The program's own entry point: there is no C runtime.
extern "C" void WinMainCRTStartup(void) {
  STARTUPINFOA si;
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  int nShowCmd = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
  ExitProcess((UINT)RunTokavi(nShowCmd));
}
