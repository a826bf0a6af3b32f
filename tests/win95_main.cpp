// Runs its tests in a process that Wine presents as Windows 95: where the
// platform is not Windows 95 yet, it sets Wine's per-program version for its
// own file name and runs itself again, passing its output and exit code on.
#include <gtest/gtest.h>

#include "test_platform.h"

namespace {

const char kRelaunched[] = "TOKAVI_TESTS_RELAUNCHED";

bool IsWindows95() { return (GetVersion() & 0x80000000) != 0; }

void AskWineForWindows95() {
  char szPath[MAX_PATH];
  GetModuleFileNameA(NULL, szPath, MAX_PATH);
  char szKey[MAX_PATH + 64] = "Software\\Wine\\AppDefaults\\";
  lstrcatA(szKey, strrchr(szPath, '\\') + 1);
  HKEY h;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, szKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL) != 0)
    return;
  RegSetValueExA(h, "Version", 0, REG_SZ, (const BYTE *)"win95", 6);
  RegCloseKey(h);
}

int RunAgain() {
  SetEnvironmentVariableA(kRelaunched, "1");
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(NULL, GetCommandLineA(), NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) return 1;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  return (int)code;
}

}  // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!IsTestPlatform()) return 1;
  if (!IsWindows95()) {
    if (GetEnvironmentVariableA(kRelaunched, NULL, 0)) {
      std::fprintf(stderr, "\n*** This platform cannot present itself as Windows 95. ***\n\n");
      return 1;
    }
    AskWineForWindows95();
    return RunAgain();
  }
  return RUN_ALL_TESTS();
}
