// Runs the suite only where Wine (or Windows) uses code page 932: every text
// and Japanese file name of the installer depends on it.
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
  return RUN_ALL_TESTS();
}
