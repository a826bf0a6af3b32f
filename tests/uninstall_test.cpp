// The uninstall run: what it takes away, what it must leave, and that it
// never deletes at a wrong path.
#include "uninstall/uninstall.h"

#include <gtest/gtest.h>

#include "harness.h"
#include "layout/lookups.h"
#include "startup/startup.h"

namespace {

const char kClsid[] = "{7A41D2E3-3C55-11D0-8F6B-0A1B2C3D4E5F}";
const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tokavi";
const char kAsk[] = "TOKAVIをアンインストールします。";
const char kDone[] = "Tokaviのアンインストール終了。";

// HKEY_CLASSES_ROOT keys an installation with every option writes, one value
// of each as written, and whether the uninstall run removes them.
const struct {
  std::string key;
  bool removed;
  const char *value = NULL;
  std::string data = "x";
} kClassKeys[] = {
    {std::string("CLSID\\") + kClsid + "\\InProcServer32", true},
    {std::string("CLSID\\") + kClsid, true},
    {"*\\shellex\\ContextMenuHandlers\\ShTokavi", true},
    {"Directory\\shellex\\ContextMenuHandlers\\ShTokavi", true},
    {"Folder\\shellex\\DragDropHandlers\\ShTokavi", true},
    {"LzhFile\\shellex\\DropHandler", true, NULL, std::string(kClsid) + '\0'},
    {".lzh\\ShellNew", true, "NullFile", std::string("\0", 1)},
    {"ZipFile\\shellex\\DropHandler", false},
    {".zip\\ShellNew", false},
    {".lzh", false},
    {"LzhFile\\DefaultIcon", false},
    {"LzhFile\\shell\\open\\command", false},
    {".zip", false},
    {"ZipFile\\shell\\open\\command", false},
    {".cab", false},
    {"ｷｬﾋﾞﾈｯﾄﾌｧｲﾙ\\shell\\open\\command", false},
};

const char *const kProductFiles[] = {"Tokavi.exe", "Tokavi.txt", "Tokavi.hlp",  "Tokavi.cnt",
                                     "tokavi.gid", "Tokavi.inf", "history.txt", "ShTokavi.dll"};

// What an installation with every option leaves on the machine, as the
// uninstall run finds it: the files, the links, the library in the system
// folder, the settings the main application wrote, and the registry entries.
struct Installed {
  TempFolder folder{" 表"};
  TempFolder desktop;
  TempFolder sendTo;

  Installed() {
    for (const char *name : kProductFiles) WriteFile(folder / name, name);
    SetFileAttributesA((folder / "tokavi.gid").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    WriteFile(folder / "Install.exe", "installer");
    WriteFile(folder / "mine.lzh", "the user's own");
    WriteFile(desktop / "Tokavi.lnk", "link");
    WriteFile(sendTo / "Tokavi.lnk", "link");
    WriteFile(SystemLibrary(), "library");
    WriteValue(HKEY_CURRENT_USER, kShellFolders, "Desktop", desktop.path() + '\0');
    WriteValue(HKEY_CURRENT_USER, kShellFolders, "SendTo", sendTo.path() + '\0');
    WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Folders", "TokAviDir",
               folder.path() + '\0');
    WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Options", "View", "1");
    for (const auto &k : kClassKeys) WriteValue(HKEY_CLASSES_ROOT, k.key, k.value, k.data);
    WriteValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "ﾄｶｳﾞｨ");
  }
  ~Installed() { DeleteFileA(SystemLibrary().c_str()); }
};

std::vector<Box> RunUninstallAnswering(std::deque<int> answers) {
  Responder responder(answers);
  RunUninstall();
  return responder.boxes;
}

TEST(RunUninstall, LeavesExactlyTheResidue) {
  RegistrySandbox sandbox;
  Installed installed;
  std::vector<Box> boxes = RunUninstallAnswering({IDYES, IDOK});

  for (const char *name : kProductFiles) EXPECT_FALSE(FileExists(installed.folder / name)) << name;
  EXPECT_TRUE(FileExists(installed.folder / "Install.exe"));
  EXPECT_TRUE(FileExists(installed.folder / "mine.lzh"));
  EXPECT_FALSE(FileExists(installed.desktop / "Tokavi.lnk"));
  EXPECT_FALSE(FileExists(installed.sendTo / "Tokavi.lnk"));
  EXPECT_FALSE(FileExists(SystemLibrary()));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Kel"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"));
  for (const auto &k : kClassKeys)
    EXPECT_EQ(!k.removed, KeyExists(HKEY_CLASSES_ROOT, k.key)) << k.key;

  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(kAsk, boxes[0].text);
  EXPECT_EQ("TOKAVIのｱﾝｲﾝｽﾄｰﾙ", boxes[0].caption);
  EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), boxes[0].style);
  EXPECT_EQ(NULL, boxes[0].owner);
  EXPECT_EQ(kDone, boxes[1].text);
  EXPECT_EQ("終了ﾒｯｾｰｼﾞ", boxes[1].caption);
  EXPECT_EQ((UINT)MB_OK, boxes[1].style);
  EXPECT_EQ(NULL, boxes[1].owner);

  // A second run has nothing left to do and says so all the same.
  boxes = RunUninstallAnswering({IDYES, IDOK});
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(kAsk, boxes[0].text);
  EXPECT_EQ(kDone, boxes[1].text);
}

TEST(RunUninstall, NoChangesNothing) {
  RegistrySandbox sandbox;
  Installed installed;
  std::vector<Box> boxes = RunUninstallAnswering({IDNO});
  ASSERT_EQ(1u, boxes.size());
  for (const char *name : kProductFiles) EXPECT_TRUE(FileExists(installed.folder / name)) << name;
  EXPECT_TRUE(FileExists(installed.desktop / "Tokavi.lnk"));
  EXPECT_TRUE(FileExists(SystemLibrary()));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Options"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  for (const auto &k : kClassKeys) EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, k.key)) << k.key;
}

// The settings key goes with its whole subtree. Another product's key
// keeps the maker key.
TEST(DeleteSettingsKeys, RemovesTheWholeSubtree) {
  const struct {
    const char *name;
    std::vector<std::string> keys;
    std::vector<std::string> left;
  } cases[] = {
      {"two plain subkeys", {"TokAvi\\Folders", "TokAvi\\Options"}, {}},
      {"a grandchild",
       {"TokAvi", "TokAvi\\Folders", "TokAvi\\Folders\\Deeper", "TokAvi\\Options"},
       {}},
      {"another product", {"TokAvi\\Folders", "Other"}, {"", "\\Other"}},
  };
  for (const auto &c : cases) {
    RegistrySandbox sandbox;
    for (const auto &key : c.keys) WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\" + key, "v", "1");
    EXPECT_EQ(1, DeleteSettingsKeys()) << c.name;
    for (const auto &key : c.keys) {
      bool left = false;
      for (const auto &l : c.left) left |= "\\" + key == l;
      EXPECT_EQ(left, KeyExists(HKEY_CURRENT_USER, "Software\\Kel\\" + key)) << c.name;
    }
    EXPECT_EQ(!c.left.empty(), KeyExists(HKEY_CURRENT_USER, "Software\\Kel")) << c.name;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Options")) << c.name;
  }
}

TEST(DeleteSettingsKeys, FailsWithoutTheSettingsKey) {
  RegistrySandbox sandbox;
  WriteValue(HKEY_CURRENT_USER, "Software\\Kel", "v", "1");
  EXPECT_EQ(0, DeleteSettingsKeys());
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Kel"));
}

// Without a recorded folder nothing is deleted relative to the current
// drive or directory; the links and the rest still go, but never a link at
// the root of the current drive.
TEST(RunUninstall, DeletesNothingAtAWrongPath) {
  RegistrySandbox sandbox;
  TempFolder current;
  for (const char *name : kProductFiles) WriteFile(current / name, name);
  WriteFile("C:\\tokavi.exe", "not ours");
  WriteFile("C:\\Tokavi.lnk", "another program's link");
  TempFolder desktop;
  WriteFile(desktop / "Tokavi.lnk", "link");
  WriteValue(HKEY_CURRENT_USER, kShellFolders, "Desktop", desktop.path() + '\0');
  for (DWORD type : {REG_NONE, REG_SZ, REG_DWORD}) {
    if (type != REG_NONE)  // a number reads as C:\ in ANSI
      WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Folders", "TokAviDir",
                 type == REG_SZ ? "" : std::string("C:\\\0", 4), type);
    char szOld[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, szOld);
    SetCurrentDirectoryA(current.path().c_str());
    std::vector<Box> boxes = RunUninstallAnswering({IDYES, IDOK});
    SetCurrentDirectoryA(szOld);
    EXPECT_EQ(2u, boxes.size());
    for (const char *name : kProductFiles) EXPECT_TRUE(FileExists(current / name)) << name;
    EXPECT_TRUE(FileExists("C:\\tokavi.exe"));
  }
  // Without a Send To value the shell's own folder is used.
  EXPECT_TRUE(FileExists("C:\\Tokavi.lnk"));
  EXPECT_FALSE(FileExists(desktop / "Tokavi.lnk"));
  DeleteFileA("C:\\tokavi.exe");
  DeleteFileA("C:\\Tokavi.lnk");
}

// A recorded folder so long that a file's path would not fit: that file is
// skipped, never a shortened path deleted in its place.
TEST(RunUninstall, SkipsPathsThatDoNotFit) {
  RegistrySandbox sandbox;
  TempFolder temp;
  std::string folder = temp.path();
  folder += "\\" + std::string(248 - folder.size() - 1, 'f');  // 248 bytes
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
  WriteFile(folder + "\\tokavi.exe", "fits: 259 bytes");
  WriteFile(folder + "\\History.txt", "does not fit");
  WriteFile(folder + "\\History.tx", "what a shortened path would name");
  WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Folders", "TokAviDir", folder + '\0');
  RunUninstallAnswering({IDYES, IDOK});
  EXPECT_FALSE(FileExists(folder + "\\tokavi.exe"));
  EXPECT_TRUE(FileExists(folder + "\\History.txt"));
  EXPECT_TRUE(FileExists(folder + "\\History.tx"));
}

// The folder of the entry's program, quoted or, as earlier versions wrote
// it, unquoted before the final " /d"; its last name part found by
// characters (表 ends in the byte of a backslash).
TEST(ParseUninstallCommand, FindsTheFolderOfTheProgram) {
  const struct {
    std::string command;
    const char *folder;  // NULL: refused; "?": a folder with no ANSI name
  } cases[] = {
      {"\"C:\\Program Files\\Tokavi\\install.exe\" /d", "C:\\Program Files\\Tokavi\\"},
      {"C:\\Tokavi\\install.exe /D", "C:\\Tokavi\\"},
      {"\\\\server\\share\\表\\install.exe /d", "\\\\server\\share\\表\\"},
      {"\"C:\\Tokavi\\表.exe\" /d", "C:\\Tokavi\\"},
      {"\"C:\\install.exe\" /d", "C:\\"},
      {"\"install.exe\" /d", NULL},
      {"bar\\install.exe /d", NULL},
      {"\"C:\\Tokavi\\install.exe /d", NULL},
      {"C:\\Tokavi\\install.exe", NULL},
      {"C:\\Tokavi\\install.exe/d", NULL},
      {" /d", NULL},
      {"", NULL},
      {"\"C:\\" + std::string(260, 'a') + "\\install.exe\" /d", "?"},
  };
  for (const auto &c : cases) {
    std::wstring command = Wide(c.command) + std::wstring(MAX_PATH, L'\0');
    char sz[MAX_PATH] = "untouched";
    int nFound = !c.folder ? FOLDER_NONE : *c.folder == '?' ? FOLDER_UNNAMED : FOLDER_FOUND;
    EXPECT_EQ(nFound, ParseUninstallCommand(&command[0], sz)) << c.command;
    EXPECT_STREQ(nFound == FOLDER_FOUND ? c.folder : "untouched", sz) << c.command;
  }
}

// WININIT.INI as text: the deletion's line goes right after the first
// [rename] header, in any case, or into a section of its own at the end;
// every other byte stays, and a text that would not fit changes nothing.
TEST(InsertWininitDeletion, InsertsOneLineAndKeepsEveryOtherByte) {
  const std::string kLine = "NUL=C:\\TOKAVI~1\\TOKAVI.EXE\r\n";
  const std::string kHead = "; kept\n\n[Other]\r\nNUL=X\r\n[ReName]\r\n";
  const std::string kTail = "; mine\r\n\r\nA=B\r\n[rename]\nNUL=Y";
  const struct {
    std::string text, expected;
    DWORD size;
  } cases[] = {
      {"", "[rename]\r\n" + kLine, 39},
      {"", "", 38},
      {"[other]\r\nA=B", "[other]\r\nA=B\r\n[rename]\r\n" + kLine, 64},
      {kHead + kTail, kHead + kLine + kTail, 200},
      {"[RENAME]", "[RENAME]\r\n" + kLine, 40},
      {"[renamed]\r\n", "[renamed]\r\n[rename]\r\n" + kLine, 80},
  };
  for (const auto &c : cases) {
    std::string buffer = c.text + std::string(c.size - c.text.size(), '\0');
    DWORD cch =
        InsertWininitDeletion(&buffer[0], (DWORD)c.text.size(), c.size, "C:\\TOKAVI~1\\TOKAVI.EXE");
    EXPECT_EQ(c.expected.size(), cch) << c.text;
    EXPECT_EQ(cch ? c.expected : c.text, buffer.substr(0, cch ? cch : c.text.size())) << c.text;
  }
}

TEST(DeleteOpenKey, DeletesOneKeyWithoutSubkeys) {
  RegistrySandbox sandbox;
  WriteValue(HKEY_CLASSES_ROOT, "A\\B", "v", "1");
  WriteValue(HKEY_CLASSES_ROOT, "A\\C", "v", "1");
  for (const char *key : {"A\\B", "A"}) {
    HKEY hKey = OpenOwnKey(HKEY_CLASSES_ROOT, key, 0, FALSE, NULL);
    EXPECT_EQ(key[1] != 0, DeleteOpenKey(HKEY_CLASSES_ROOT, key, hKey)) << key;
    RegCloseKey(hKey);
  }
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "A\\B"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "A\\C"));
}

}  // namespace
