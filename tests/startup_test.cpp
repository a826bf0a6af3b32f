// Start-up: the command-line tail, the mode it selects, and the checks the
// install mode makes before it opens its dialog.
#include "startup/startup.h"

#include <gtest/gtest.h>

#include "harness.h"

namespace {

const char kAskUninstall[] = "TOKAVIをアンインストールします。";
const char kRunning[] = "Tokavi が起動中です。終了させてください。";
const char kWrongFolder[] = "Install.exe は Tokavi.exe のあるﾌｫﾙﾀﾞから起動して下さい。";

TEST(SkipProgramName, LeavesTheTailUnchanged) {
  const struct {
    const char *commandLine;
    const char *tail;
  } cases[] = {
      {"Install.exe", ""},
      {"Install.exe /d", "/d"},
      {"Install.exe /d ", "/d "},
      {"Install.exe\t\t-d x", "-d x"},
      {"\"C:\\Program Files\\Tokavi\\install.exe\" /d", "/d"},
      {"\"C:\\Program Files\\Tokavi\\install.exe\"/d", "/d"},
      {"\"C:\\a b\\install.exe\" \t /u", "/u"},
      {"C:\\Program Files\\Tokavi\\install.exe /d", "Files\\Tokavi\\install.exe /d"},
      {"\"C:\\unterminated /d", ""},
      {"\"\" /d", "/d"},
  };
  for (const auto &c : cases) {
    std::string line = c.commandLine;
    EXPECT_STREQ(c.tail, SkipProgramName(&line[0])) << c.commandLine;
  }
}

// Only "/d" in any case uninstalls, followed by nothing but blanks and
// control characters; any other tail ends at once, silently.
TEST(WinMain, ChoosesTheModeFromTheWholeTail) {
  const struct {
    const char *tail;
    bool uninstalls;
  } cases[] = {
      {"/d", true},  {"/D", true},  {"/d ", true},  {"/d \t\r\n", true},
      {"-d", false}, {"/u", false}, {"/dd", false}, {"/d x", false},
  };
  for (const auto &c : cases) {
    RegistrySandbox sandbox;
    Responder responder({IDNO});
    std::string tail = c.tail;
    EXPECT_EQ(0, WinMain(GetModuleHandleA(NULL), NULL, &tail[0], SW_SHOW)) << c.tail;
    ASSERT_EQ(c.uninstalls ? 1u : 0u, responder.boxes.size()) << c.tail;
    if (c.uninstalls) {
      EXPECT_EQ(kAskUninstall, responder.boxes[0].text);
    }
  }
}

class RunningApplication : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "TokaviWClass";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowA("TokaviWClass", "Tokavi", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                          wc.hInstance, NULL);
    ASSERT_TRUE(hwnd_);
  }
  void TearDown() override {
    DestroyWindow(hwnd_);
    UnregisterClassA("TokaviWClass", GetModuleHandleA(NULL));
  }
  HWND hwnd_ = NULL;
};

TEST_F(RunningApplication, StopsTheInstallModeBeforeAnything) {
  RegistrySandbox sandbox;
  Responder responder;
  lstrcpyA(g_szSourceDir, "untouched");
  char tail[] = "";
  EXPECT_EQ(0, WinMain(GetModuleHandleA(NULL), NULL, tail, SW_SHOW));
  ASSERT_EQ(1u, responder.boxes.size());
  EXPECT_EQ(kRunning, responder.boxes[0].text);
  EXPECT_EQ("INSTALL", responder.boxes[0].caption);
  EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), responder.boxes[0].style);
  EXPECT_EQ(NULL, responder.boxes[0].owner);
  EXPECT_STREQ("untouched", g_szSourceDir);
}

TEST_F(RunningApplication, DoesNotStopTheUninstallMode) {
  RegistrySandbox sandbox;
  Responder responder({IDNO});
  char tail[] = "/d";
  EXPECT_EQ(0, WinMain(GetModuleHandleA(NULL), NULL, tail, SW_SHOW));
  ASSERT_EQ(1u, responder.boxes.size());
  EXPECT_EQ(kAskUninstall, responder.boxes[0].text);
}

// The source folder is the current directory, whatever the program's own
// folder, with exactly one trailing backslash.
TEST(WinMain, TakesTheSourceFolderFromTheCurrentDirectory) {
  for (const char *suffix : {"", " 表", "ソ"}) {
    RegistrySandbox sandbox;
    TempFolder product(suffix);
    WriteFile(product / "Tokavi.exe", "stand-in");
    Responder responder;
    bool shown = false;
    EXPECT_EQ(0, RunInstallModeIn(product.path(), responder, [&](HWND h) {
                shown = true;
                Close(h);
              }));
    EXPECT_TRUE(shown) << suffix;
    EXPECT_EQ(product.path() + "\\", g_szSourceDir);
    EXPECT_TRUE(responder.boxes.empty());
  }
}

TEST(WinMain, DriveRootGetsNoSecondBackslash) {
  RegistrySandbox sandbox;
  WriteFile("C:\\tokavi.exe", "stand-in");
  Responder responder;
  bool shown = false;
  RunInstallModeIn("C:\\", responder, [&](HWND h) {
    shown = true;
    Close(h);
  });
  DeleteFileA("C:\\tokavi.exe");
  EXPECT_TRUE(shown);
  EXPECT_STREQ("C:\\", g_szSourceDir);
}

TEST(WinMain, InsistsOnTheMainExecutableInTheSourceFolder) {
  RegistrySandbox sandbox;
  TempFolder elsewhere;
  Responder responder;
  EXPECT_EQ(0, RunInstallModeIn(elsewhere.path(), responder, [](HWND h) {
              ADD_FAILURE() << "the dialog opened";
              Close(h);
            }));
  ASSERT_EQ(1u, responder.boxes.size());
  EXPECT_EQ(kWrongFolder, responder.boxes[0].text);
  EXPECT_EQ("Install", responder.boxes[0].caption);
  EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), responder.boxes[0].style);
  EXPECT_EQ(NULL, responder.boxes[0].owner);
}

// The real program, started as Windows starts it: the name quoted because of
// its blanks, the tail after blanks and tabs.
TEST(InstallExe, StartsInTheModeItsCommandLineSelects) {
  TempFolder folder(" with blanks");
  ASSERT_TRUE(
      CopyFileA((DistFolder() + "\\Install.exe").c_str(), (folder / "Install.exe").c_str(), FALSE));
  std::string program = "\"" + (folder / "Install.exe") + "\"";

  Program quiet = StartProgram(program + " /u", folder.path());
  EXPECT_EQ(0u, WaitForExit(quiet));

  Program uninstall = StartProgram(program + " \t/D", folder.path());
  HWND hwnd;
  ASSERT_TRUE(WaitForDialog(uninstall, &hwnd));
  Box box = ReadBox(hwnd);
  EXPECT_EQ(kAskUninstall, box.text);
  EXPECT_EQ("TOKAVIのｱﾝｲﾝｽﾄｰﾙ", box.caption);
  EXPECT_EQ((UINT)MB_YESNO, box.style);
  ClickButton(hwnd, IDNO);
  EXPECT_EQ(0u, WaitForExit(uninstall));

  // Started beside the product files but from another current directory.
  Program wrong = StartProgram("\"" + DistFolder() + "\\Install.exe\"", folder.path());
  ASSERT_TRUE(WaitForDialog(wrong, &hwnd));
  EXPECT_EQ(kWrongFolder, ReadBox(hwnd).text);
  ClickButton(hwnd, IDOK);
  EXPECT_EQ(0u, WaitForExit(wrong));
}

// Where the search for DLLs cannot be kept to the system folder, each DLL
// the platform loads by name is loaded from there first, by its full path.
TEST(PreloadPlatformDlls, LoadsEachFromTheSystemFolder) {
  PreloadPlatformDlls();
  char szSystem[MAX_PATH];
  GetSystemDirectoryA(szSystem, MAX_PATH);
  for (const char *name :
       {"uxtheme", "userenv", "setupapi", "apphelp", "propsys", "dwmapi", "cryptbase", "oleacc",
        "clbcatq", "version", "ntmarta", "profapi", "comctl32"}) {
    std::string path = std::string(szSystem) + "\\" + name + ".dll";
    if (!FileExists(path)) continue;
    char szLoaded[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA(name), szLoaded, MAX_PATH);
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), szLoaded)) << name << ": " << szLoaded;
  }
}

}  // namespace
