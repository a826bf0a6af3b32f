// Runs the suite only where Wine (or Windows) uses code page 932: every text
// and Japanese file name of the installer depends on it. The end-to-end
// suite installs for real into the machine's own registry and system
// folder, so it runs only inside a Wine prefix, never on a Windows machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GetACP() != 932) {
    std::fprintf(stderr,
                 "\n*** The ANSI code page is %u, not 932. Generate the ja_JP.UTF-8 locale and run "
                 "Wine with LANG and LC_ALL set to it (scripts/setup, scripts/winerun). ***\n\n",
                 GetACP());
    return 1;
  }
#ifdef TOKAVI_WINE_ONLY
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
    std::fprintf(stderr,
                 "\n*** This suite changes the machine's own registry and system folder; it runs "
                 "only under Wine, in the prefix scripts/winerun makes. ***\n\n");
    return 1;
  }
#endif
  return RUN_ALL_TESTS();
}
