// The file and registry helpers that the installation steps and the uninstall
// run share. They know nothing of the product.
#pragma once
#include <windows.h>

// On the definition of each of the program's texts and names: its bytes
// packed, without the 16-byte alignment the x64 ABI gives every array of 16
// bytes or more, whose padding took a tenth of the read-only data.
#define PACKED_TEXT __attribute__((aligned(1)))

// The DLLs the program imports from, by name, and a function of theirs
// looked up when the program runs.
extern const char g_szKernel32[];
extern const char g_szUser32[];
extern const char g_szAdvapi32[];
extern const char g_szShell32[];
// No 64-bit Windows is Windows 95: its branches are left out there.
#ifdef _WIN64
inline BOOL IsWindows95(void) { return FALSE; }
#else
BOOL IsWindows95(void);
#endif
FARPROC FindSystemFunction(LPCSTR pszModule, LPCSTR pszName);
FARPROC FindWideFunction(LPCSTR pszModule, LPCSTR pszName);
extern const char g_szPathFromIDListW[];

BOOL FindFileData(LPCSTR pszPath, WIN32_FIND_DATAA *pfd);
DWORD ProbeFile(LPCSTR pszPath);
BOOL IsSameFile(LPCSTR pszPath1, LPCSTR pszPath2);

// Keys are created or opened with full access, and text values are stored
// with their terminating zero.
BOOL CreateRegistryKey(HKEY hParent, LPCSTR pszKey, HKEY *phKey, DWORD *pdwDisposition);
LONG WriteRegistryText(HKEY hKey, LPCSTR pszValue, LPCSTR pszText);
BOOL WriteKeyText(HKEY hParent, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszText);
BOOL ReadRegistryText(HKEY hKey, LPCSTR pszValue, LPSTR pszBuffer, DWORD cbBuffer);
BOOL ReadKeyText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue, LPSTR pszBuffer, DWORD cbBuffer);
DWORD CountKeyEntries(HKEY hRoot, LPCSTR pszKey);
int DeleteKeyUnder(HKEY hRoot, LPCSTR pszPath);
BOOL DeleteKeyTree(HKEY hParent, LPCSTR pszKey);
