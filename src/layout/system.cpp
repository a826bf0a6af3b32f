#include "platform.h"

#ifndef _WIN64
// Windows 95, 98 and Me; everything else counts as Windows NT.
BOOL IsWindows95(void) {
  OSVERSIONINFOA vi;
  vi.dwOSVersionInfoSize = sizeof vi;
  return GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}
#endif

const char g_szKernel32[] = "kernel32";
const char g_szUser32[] = "user32";
const char g_szAdvapi32[] = "advapi32";
const char g_szShell32[] = "shell32";

// A function of a DLL the program imports from, looked up when it runs: one
// that Windows 95 lacks, or has only as a stub, or one of later versions of
// Windows. NULL where the DLL does not export it.
FARPROC FindSystemFunction(LPCSTR pszModule, LPCSTR pszName) {
  return GetProcAddress(GetModuleHandleA(pszModule), pszName);
}

// A UTF-16 function, on Windows NT only: the ANSI functions would turn a
// character that code page 932 lacks into a look-alike (é into e), naming a
// folder nobody chose. Windows 95's UTF-16 functions are stubs.
FARPROC FindWideFunction(LPCSTR pszModule, LPCSTR pszName) {
  return IsWindows95() ? NULL : FindSystemFunction(pszModule, pszName);
}

const char g_szPathFromIDListW[] PACKED_TEXT = "SHGetPathFromIDListW";
