// Where the program's DLLs come from. It runs with administrator rights from
// the folder the user unpacked, most often the download folder, where any
// web page can drop a file: no DLL may come from there, nor from the current
// folder. The DLLs it imports are among those Windows always takes from the
// system folder.
#include "../layout/paths.h"
#include "../layout/platform.h"
#include "startup.h"

typedef BOOL(WINAPI *SETDEFAULTDLLDIRECTORIES)(DWORD);
typedef BOOL(WINAPI *SETDLLDIRECTORYA)(LPCSTR);

// The DLLs that the platform's own DLLs load by name while the program runs
// (the dialog and its theme, the folder picker and its common controls, the
// shell link object, COM, the registry's security), as one text of names
// each ended by a zero. LoadLibrary adds ".dll" to a name without an
// extension.
static const char s_szPlatformDlls[] PACKED_TEXT =
    "uxtheme\0userenv\0setupapi\0apphelp\0propsys\0dwmapi\0cryptbase\0oleacc\0clbcatq\0msimg32\0"
    "version\0ntmarta\0profapi\0comctl32\0";

// Each DLL of the list (names each ended by a zero, then a zero) that the
// system folder holds, loaded from there by its full path, its own imports
// searched from there too: a later load by name finds the one already
// loaded. A path that does not fit is skipped.
void PreloadSystemDlls(LPCSTR pszNames) {
  char szSystem[MAX_PATH], szPath[MAX_PATH];
  UINT cch = GetSystemDirectoryA(szSystem, MAX_PATH);
  if (cch == 0 || cch >= MAX_PATH) return;
  for (LPCSTR pszName = pszNames; *pszName; pszName += lstrlenA(pszName) + 1)
    if (ComposePath(szPath, MAX_PATH, szSystem, pszName))
      LoadLibraryExA(szPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void PreloadPlatformDlls(void) { PreloadSystemDlls(s_szPlatformDlls); }

// Windows 8, and Vista and 7 updated, search the system folder alone.
// Elsewhere the current folder leaves the search where that can be asked
// (XP SP1 on), and the DLLs loaded by name come from the system folder
// before anyone asks for them by name; Windows 95 has only that.
void RestrictDllSearch(void) {
  SETDEFAULTDLLDIRECTORIES pfnSetDefault = (SETDEFAULTDLLDIRECTORIES)(void *)FindSystemFunction(
      g_szKernel32, "SetDefaultDllDirectories");
  if (pfnSetDefault && pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  SETDLLDIRECTORYA pfnSetDirectory =
      (SETDLLDIRECTORYA)(void *)FindSystemFunction(g_szKernel32, "SetDllDirectoryA");
  if (pfnSetDirectory) pfnSetDirectory("");
  PreloadPlatformDlls();
}
