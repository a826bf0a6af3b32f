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
extern const char g_szNtdll[];
// No 64-bit Windows is Windows 95: its branches are left out there. On
// Windows 95 the program takes every text in ANSI, since its UTF-16
// functions are stubs; on Windows NT texts it holds in UTF-16 (folders,
// registry values) are read so, as the ANSI functions would turn a
// character that code page 932 lacks into a look-alike (é into e), naming
// a folder nobody chose. Every Windows NT has those UTF-16 functions.
#ifdef _WIN64
inline BOOL IsWindows95(void) { return FALSE; }
#else
BOOL IsWindows95(void);
typedef LONG(NTAPI *RTLGETVERSION)(OSVERSIONINFOW *);
BOOL IsWindows95By(RTLGETVERSION pfnRtlGetVersion);
#endif
FARPROC FindSystemFunction(LPCSTR pszModule, LPCSTR pszName);
// The unattended runs show no message box: every question is answered Yes,
// and what a box would have said becomes the exit code. Start-up sets it.
extern BOOL g_bSilent;
int ShowMessageBox(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType);
extern const char g_szPathFromIDListW[];

BOOL FindFileData(LPCSTR pszPath, WIN32_FIND_DATAA *pfd);
DWORD ProbeFile(LPCSTR pszPath);
BOOL IsSameFile(LPCSTR pszPath1, LPCSTR pszPath2);

// A key of ours at the path under hRoot, opened name by name: its first
// cShared names as they come (keys others share, such as CLSID, which may
// be links the system made), every later one as itself. A link at one of
// ours is deleted as the link, never followed: bCreate then makes a real
// key in its place, as it makes every missing name; else the key counts as
// gone. Our keys are opened with full access. The key; NULL when it is not
// there or could not be had.
HKEY OpenOwnKey(HKEY hRoot, LPCSTR pszKey, int cShared, BOOL bCreate, DWORD *pdwDisposition);
// Deletes the open key that OpenOwnKey gave for the path: on Windows NT
// through its own handle, a link as the link and a key only while it has no
// subkeys; on Windows 95, which has no links, by its path, with its
// subtree. TRUE when it is gone.
BOOL DeleteOpenKey(HKEY hRoot, LPCSTR pszKey, HKEY hKey);
BOOL DeleteKeyTree(HKEY hRoot, LPCSTR pszKey, int cShared);
// Text values are stored with their terminating zero.
LONG WriteRegistryText(HKEY hKey, LPCSTR pszValue, LPCSTR pszText);
BOOL WriteKeyText(HKEY hRoot, LPCSTR pszKey, int cShared, LPCSTR pszValue, LPCSTR pszText);
BOOL ReadRegistryText(HKEY hKey, LPCSTR pszValue, LPSTR pszBuffer, DWORD cbBuffer);
DWORD CountKeyEntries(HKEY hKey);
