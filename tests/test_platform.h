// Every test program runs only where Wine uses code page 932, since every
// text and Japanese file name of the installer depends on it, and only under
// Wine itself: the suites write the system folder, the root of C:\ and, end
// to end, the machine's own registry, which must never happen on a real
// Windows machine.
#pragma once
#include <windows.h>

#include <cstdio>

inline bool IsTestPlatform() {
  if (GetACP() != 932) {
    std::fprintf(stderr,
                 "\n*** The ANSI code page is %u, not 932. Generate the ja_JP.UTF-8 locale and run "
                 "Wine with LANG and LC_ALL set to it (scripts/setup, scripts/winerun). ***\n\n",
                 GetACP());
    return false;
  }
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
    std::fprintf(stderr,
                 "\n*** This suite changes the machine's system folder and registry; it runs "
                 "only under Wine, in the prefix scripts/winerun makes. ***\n\n");
    return false;
  }
  return true;
}
