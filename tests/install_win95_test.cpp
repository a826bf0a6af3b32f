// The INF setup on Windows 95: "rundll.exe" with "setupx.dll", from the
// source folder's short form; the source folder itself stays as it was.
// Wine's 16-bit loader runs the Windows folder's rundll.exe, whose Setup
// library installs the product's INF as on Windows 95; nothing is said.
#include <gtest/gtest.h>

#include "harness.h"
#include "install/install.h"
#include "startup/startup.h"

namespace {

TEST(Windows95, InfSetupStartsInTheShortSourceFolderAndSaysNothing) {
  ASSERT_TRUE(IsWindows95());
  DeleteFileA(SystemLibrary().c_str());
  TempFolder source(" Tokavi Setup");
  CopyProductFiles(source.path());
  const std::string sourceDir = source.path() + "\\";
  char szShort[MAX_PATH];
  ASSERT_NE(0u, GetShortPathNameA(sourceDir.c_str(), szShort, MAX_PATH));
  ASSERT_NE(sourceDir, szShort);
  Responder responder;
  RunInfSetup(NULL, sourceDir.c_str());
  EXPECT_TRUE(responder.boxes.empty());
  // The runner is a 32-bit program: in a 64-bit prefix its system folder is
  // the 32-bit one.
  char szRunnersSystem[MAX_PATH];
  if (!GetSystemWow64DirectoryA(szRunnersSystem, MAX_PATH))
    GetSystemDirectoryA(szRunnersSystem, MAX_PATH);
  const std::string installed = std::string(szRunnersSystem) + "\\ShTokavi.dll";
  for (int waited = 0; waited < 300 && !FileExists(installed); ++waited) Sleep(100);
  WaitForRunners();
  EXPECT_EQ(ReadFileText(DistFolder() + "\\ShTokavi.dll"), ReadFileText(installed));
  DeleteFileA(installed.c_str());
  char szProgram[MAX_PATH], szParameters[INF_PARAMETERS_SIZE], szFolder[MAX_PATH];
  lstrcpyA(szFolder, sourceDir.c_str());
  ASSERT_TRUE(ComposeInfSetup(szProgram, szParameters, szFolder, TRUE));
  char szWindows[MAX_PATH];
  GetWindowsDirectoryA(szWindows, MAX_PATH);
  EXPECT_EQ(std::string(szWindows) + "\\rundll.exe", szProgram);
  EXPECT_EQ(
      std::string("setupx.dll,InstallHinfSection DefaultInstall 132 ") + szShort + "tokavi.inf",
      szParameters);
  EXPECT_STREQ(szShort, szFolder);
}

}  // namespace
