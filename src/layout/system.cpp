#include "platform.h"

#ifndef _WIN64
// Windows 95, 98 and Me; everything else counts as Windows NT. ntdll's
// answer is the platform's own: a compatibility mode ("Windows 95" on
// Windows NT) changes only what GetVersion and GetVersionExA report. Without
// it, GetVersion's top bit tells Windows 95.
BOOL IsWindows95By(RTLGETVERSION pfnRtlGetVersion) {
  OSVERSIONINFOW vi;
  vi.dwOSVersionInfoSize = sizeof vi;
  if (pfnRtlGetVersion && pfnRtlGetVersion(&vi) == 0)
    return vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  return (GetVersion() & 0x80000000) != 0;
}

BOOL IsWindows95(void) {
  return IsWindows95By((RTLGETVERSION)(void *)FindSystemFunction(g_szNtdll, "RtlGetVersion"));
}
#endif

const char g_szKernel32[] = "kernel32";
const char g_szUser32[] = "user32";
const char g_szAdvapi32[] = "advapi32";
const char g_szShell32[] = "shell32";
const char g_szNtdll[] = "ntdll";

// A function of a system DLL the program has loaded, looked up when it runs:
// one that Windows 95 lacks, or has only as a stub, or one of later versions
// of Windows. NULL where the DLL is not there (Windows 95 has no ntdll) or
// does not export it.
FARPROC FindSystemFunction(LPCSTR pszModule, LPCSTR pszName) {
  HMODULE hModule = GetModuleHandleA(pszModule);
  return hModule ? GetProcAddress(hModule, pszName) : NULL;
}

BOOL g_bSilent;

int ShowMessageBox(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType) {
  return g_bSilent ? IDYES : MessageBoxA(hWnd, pszText, pszCaption, uType);
}

const char g_szPathFromIDListW[] PACKED_TEXT = "SHGetPathFromIDListW";
