// The shell extension's registration: the library in the system folder as
// an in-process server, its handlers and the new-file entries. Silent; only
// the server's own key decides whether anything is written.
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "install.h"

void RegisterShellExtension(void) {
  char szLibrary[MAX_PATH];
  if (!ComposeSystemLibraryPath(szLibrary)) return;
  for (int i = 0; i < g_cShellExtValues; ++i) {
    const SHELLEXTVALUE *pEntry = &g_aShellExtValues[i];
    LPCSTR pszData = pEntry->pszData ? pEntry->pszData : szLibrary;
    if (!WriteKeyText(HKEY_CLASSES_ROOT, pEntry->pszKey, pEntry->cShared, pEntry->pszValue,
                      pszData) &&
        i == 0)
      break;
  }
}
