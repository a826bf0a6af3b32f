// The installation as the user runs it: the dialog's OK command from the
// product folder, and everything it leaves on the machine.
#include "install/install.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "harness.h"

namespace {

const char kClsid[] = "{7A41D2E3-3C55-11D0-8F6B-0A1B2C3D4E5F}";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tokavi";
const char kCompleted[] =
    "ｲﾝｽﾄｰﾙが完了しました。\n\n"
    "ｱﾝｲﾝｽﾄｰﾙはｺﾝﾄﾛｰﾙﾊﾟﾈﾙの'ｱﾌﾟﾘｹｰｼｮﾝの追加と削除'から実行してください。";
const char *const kFiles[] = {"Tokavi.exe",  "Tokavi.txt",  "Tokavi.hlp", "Tokavi.cnt",
                              "Install.exe", "history.txt", "Tokavi.inf"};
const int kShellExt = 1000, kDesktop = 1006, kSendTo = 1007, kTar = 1001;
const std::vector<int> kEvery = {kShellExt, kDesktop, kSendTo, 1008, 1011, 1012, kTar, 1002};
const char *const kTypes[][2] = {{".lzh", "LzhFile"},    {".zip", "ZipFile"}, {".arj", "ArjFile"},
                                 {".tar", "TarFile"},    {".taz", "TazFile"}, {".tgz", "TgzFile"},
                                 {".cab", "ｷｬﾋﾞﾈｯﾄﾌｧｲﾙ"}};

std::string Question(const std::string &folder) {
  return "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ '" + folder + "' は存在しません。\nﾌｫﾙﾀﾞを新規に作成しますか?";
}

// A message box as "text|caption|style|owned by the dialog".
std::string Describe(const Box &box, HWND hDlg) {
  return box.text + "|" + box.caption + "|" + std::to_string(box.style) + "|" +
         (box.owner == hDlg ? "owned" : "unowned");
}
std::string Expected(const std::string &text, const char *caption, UINT style) {
  return text + "|" + caption + "|" + std::to_string(style) + "|owned";
}

std::string Text(HKEY root, const std::string &key, const char *value = NULL) {
  DWORD type = 0;
  std::string data;
  if (!ReadValue(root, key, value, &type, &data)) return "(none)";
  return type == REG_SZ ? data : "(not REG_SZ)";
}
std::string Sz(const std::string &text) { return text + '\0'; }

std::string ShortPath(const std::string &path) {
  char sz[MAX_PATH] = "";
  GetShortPathNameA(path.c_str(), sz, MAX_PATH);
  return sz;
}

// A shortcut as the shell reads it back: target|description|arguments|
// working folder|icon|hot key|show command.
std::string ReadLink(const std::string &path) {
  CoInitialize(NULL);
  std::string link = "(none)";
  IShellLinkA *pLink;
  IPersistFile *pFile;
  WCHAR wsz[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wsz, MAX_PATH);
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 (void **)&pLink))) {
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, (void **)&pFile)) &&
        SUCCEEDED(pFile->Load(wsz, STGM_READ))) {
      char sz[5][MAX_PATH] = {};
      int iIcon, nShow;
      WORD wHotkey;
      pLink->GetPath(sz[0], MAX_PATH, NULL, SLGP_RAWPATH);
      pLink->GetDescription(sz[1], MAX_PATH);
      pLink->GetArguments(sz[2], MAX_PATH);
      pLink->GetWorkingDirectory(sz[3], MAX_PATH);
      pLink->GetIconLocation(sz[4], MAX_PATH, &iIcon);
      pLink->GetHotkey(&wHotkey);
      pLink->GetShowCmd(&nShow);
      link = std::string(sz[0]) + "|" + sz[1] + "|" + sz[2] + "|" + sz[3] + "|" + sz[4] + "|" +
             std::to_string(wHotkey) + "|" + std::to_string(nShow);
      pFile->Release();
    }
    pLink->Release();
  }
  CoUninitialize();
  return link;
}

// Another program holding the file open without letting others write it.
struct HeldOpen {
  explicit HeldOpen(const std::string &path)
      : h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL)) {}
  ~HeldOpen() { CloseHandle(h); }
  HANDLE h;
};

// A product folder, the user's Desktop and Send To folders, a folder to
// install under, and the system folder cleaned up before and after.
struct Machine {
  RegistrySandbox sandbox;
  TempFolder product, shell, target;
  explicit Machine(const std::string &targetSuffix = "") : target(targetSuffix) {
    DeleteFileA(SystemLibrary().c_str());
    CopyProductFiles(product.path());
    for (const char *place : {"Desktop", "SendTo"}) {
      CreateDirectoryA((shell / place).c_str(), NULL);
      WriteValue(HKEY_CURRENT_USER,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", place,
                 Sz(shell / place));
    }
  }
  ~Machine() {
    WaitForRunners();
    DeleteFileA(SystemLibrary().c_str());
  }
};

struct Outcome {
  std::vector<std::string> boxes;  // as Describe() gives them
  bool closed = false;             // the installation closed the dialog
  bool focusOnEdit = false;
};

// Types the folder, sets exactly the given check boxes and clicks OK.
WNDPROC g_pfnDialogProc;
bool g_bClosed;
LRESULT CALLBACK WatchClose(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) g_bClosed = true;
  return CallWindowProcA(g_pfnDialogProc, hwnd, uMsg, wParam, lParam);
}
Outcome Install(
    const Machine &machine, const std::string &folder, const std::vector<int> &checked,
    std::deque<int> answers = {}, std::function<void()> beforeOk = [] {}) {
  Responder responder(std::move(answers));
  Outcome outcome;
  HWND hDlg = NULL;
  RunInstallModeIn(machine.product.path(), responder, [&](HWND h) {
    hDlg = h;
    SetDlgItemTextA(h, 1010, folder.c_str());
    for (int id : kEvery) CheckDlgButton(h, id, BST_UNCHECKED);
    for (int id : checked) CheckDlgButton(h, id, BST_CHECKED);
    g_bClosed = false;
    g_pfnDialogProc = (WNDPROC)SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)WatchClose);
    beforeOk();
    SetFocus(GetDlgItem(h, IDOK));
    SendMessageA(h, WM_COMMAND, IDOK, 0);
    outcome.closed = g_bClosed;
    outcome.focusOnEdit = GetFocus() == GetDlgItem(h, 1010);
    if (!g_bClosed) Close(h);
  });
  for (const Box &box : responder.boxes) outcome.boxes.push_back(Describe(box, hDlg));
  return outcome;
}

// Every option and none, into a new folder with a blank, over an earlier
// entry and another program's ZIP association: the files, the library, the
// shortcuts, the associations, the shell extension (registered once more
// for good measure), the uninstall entry, and its command started as
// Windows starts it.
TEST(Installation, LeavesItsWholeFootprint) {
  for (bool every : {true, false}) {
    Machine machine(" Program Files");
    const std::string folder = machine.target / "Tokavi";
    WriteValue(HKEY_CLASSES_ROOT, ".zip", NULL, Sz("OtherZip"));
    WriteValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", Sz("old.ico"));
    Outcome outcome = Install(machine, folder, every ? kEvery : std::vector<int>{}, {IDYES});
    EXPECT_TRUE(outcome.closed);
    EXPECT_EQ((std::vector<std::string>{
                  Expected(Question(folder), "ﾌｫﾙﾀﾞ作成確認", MB_YESNO | MB_ICONQUESTION),
                  Expected(kCompleted, "終了ﾒｯｾｰｼﾞ", MB_OK)}),
              outcome.boxes);
    for (const char *name : kFiles)
      EXPECT_EQ(ReadFileText(DistFolder() + "\\" + name), ReadFileText(folder + "\\" + name));
    EXPECT_EQ(ReadFileText(DistFolder() + "\\ShTokavi.dll"), ReadFileText(SystemLibrary()));
    EXPECT_TRUE(FileExists(machine.product / "ShTokavi.dll"));

    const std::string link = folder + "\\Tokavi.exe|TokAvi||||0|1";
    EXPECT_EQ(every ? link : "(none)", ReadLink(machine.shell / "Desktop\\Tokavi.lnk"));
    EXPECT_EQ(every ? link : "(none)", ReadLink(machine.shell / "SendTo\\Tokavi.lnk"));
    const std::string exe = ShortPath(folder + "\\Tokavi.exe");
    EXPECT_EQ(std::string::npos, exe.find(' ')) << exe;
    for (const auto &t : kTypes) {
      const std::string type = t[1];
      EXPECT_EQ(every                         ? Sz(type)
                : t[0] == std::string(".zip") ? Sz("OtherZip")
                                              : "(none)",
                Text(HKEY_CLASSES_ROOT, t[0]));
      EXPECT_EQ(every ? Sz(type) : "(none)", Text(HKEY_CLASSES_ROOT, type));
      EXPECT_EQ(every ? Sz(exe + ",0") : "(none)", Text(HKEY_CLASSES_ROOT, type + "\\DefaultIcon"));
      EXPECT_EQ(every ? Sz(exe + " \"%1\"") : "(none)",
                Text(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command"));
    }
    const std::string server = std::string("CLSID\\") + kClsid;
    const struct {
      std::string key;
      const char *value;
      std::string data;
    } entries[] = {{server + "\\InProcServer32", NULL, SystemLibrary()},
                   {server + "\\InProcServer32", "ThreadingModel", "Apartment"},
                   {server, NULL, "ShTokavi"},
                   {"*\\shellex\\ContextMenuHandlers\\ShTokavi", NULL, kClsid},
                   {"Directory\\shellex\\ContextMenuHandlers\\ShTokavi", NULL, kClsid},
                   {"Folder\\shellex\\DragDropHandlers\\ShTokavi", NULL, kClsid},
                   {"LzhFile\\shellex\\DropHandler", NULL, kClsid},
                   {".lzh\\ShellNew", "NullFile", ""},
                   {"ZipFile\\shellex\\DropHandler", NULL, kClsid},
                   {".zip\\ShellNew", "NullFile", ""}};
    for (int pass = 0; pass < (every ? 2 : 1); ++pass) {
      for (const auto &e : entries)
        EXPECT_EQ(every ? Sz(e.data) : "(none)", Text(HKEY_CLASSES_ROOT, e.key, e.value)) << e.key;
      if (every) RegisterShellExtension();  // registered again, the same entries
    }

    const std::string command = "\"" + folder + "\\install.exe\" /d";
    EXPECT_EQ(Sz("ﾄｶｳﾞｨ"), Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
    EXPECT_EQ(Sz(command), Text(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ(Sz(folder + "\\Tokavi.exe"), Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"));
    Program uninstall = StartProgram(command, "");
    HWND hwnd;
    ASSERT_TRUE(WaitForDialog(uninstall, &hwnd));
    EXPECT_EQ("TOKAVIをアンインストールします。", ReadBox(hwnd).text);
    ClickButton(hwnd, IDNO);
    EXPECT_EQ(0u, WaitForExit(uninstall));
  }
}

// However the folder ends (a typed backslash, a Shift-JIS character whose
// second byte is a backslash), every path has one separator. TAR stands
// for three types of its own.
TEST(Installation, SeparatesTheFolderOnce) {
  const char *const cases[][2] = {{"", "\\"}, {" 表", ""}, {" 表", "\\"}, {"ソ", ""}};
  for (const auto &c : cases) {
    Machine machine(c[0]);
    const std::string exe = machine.target / "Tokavi.exe";
    EXPECT_TRUE(Install(machine, machine.target.path() + c[1], {kDesktop, kTar}).closed);
    EXPECT_EQ(exe + "|TokAvi||||0|1", ReadLink(machine.shell / "Desktop\\Tokavi.lnk"));
    for (const char *type : {"TarFile", "TazFile", "TgzFile"})
      EXPECT_EQ(Sz(ShortPath(exe) + ",0"),
                Text(HKEY_CLASSES_ROOT, std::string(type) + "\\DefaultIcon"));
    EXPECT_EQ(Sz("TgzFile"), Text(HKEY_CLASSES_ROOT, ".tgz"));
    EXPECT_EQ("(none)", Text(HKEY_CLASSES_ROOT, ".lzh"));
    EXPECT_EQ(Sz("\"" + machine.target / "install.exe\" /d"),
              Text(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
  }
}

// When the first step refuses, the dialog stays with the focus in the
// folder edit, and nothing is copied or registered.
TEST(Installation, StaysInTheDialogWhenTheFolderIsRefused) {
  TempFolder parent;
  const std::string fits = parent / std::string(241 - parent.path().size(), 'f');
  const std::string none = parent / "none\\new", made = parent / "new";
  const struct {
    std::string folder;
    std::deque<int> answers;  // the folder question comes first when answered
    std::string error;        // the error message after it, if any
    bool removeSource;
  } cases[] = {
      {made, {IDNO}, "", false},
      {none, {IDYES}, none + " を作成できません。", false},
      {"", {}, "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ名が正しくありません。", false},
      {"C:\\", {IDYES}, "C:\\ を作成できません。", false},
      {fits + "g", {}, "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ名が長すぎます。", false},
      {fits, {IDNO}, "", false},
      {made,
       {IDYES},
       "ｺﾋﾟｰ元のﾌｧｲﾙが 'Install.exe'と同じﾌｫﾙﾀﾞにありません。\n'install.exe'は "
       "'Tokavi.exe'(その関連ﾌｧｲﾙを含む)と同じﾌｫﾙﾀﾞに置いて実行して下さい。",
       true},
      {parent.path(),
       {},
       "'Tokavi.exe' がコピーできません。\n\n'Tokavi.exe' "
       "が起動中であれば終了させてからインストールしてください。",
       false},
  };
  ASSERT_EQ(242u, fits.size());
  WriteFile(parent / "Tokavi.exe", "running");
  HeldOpen running(parent / "Tokavi.exe");
  for (const auto &c : cases) {
    Machine machine;
    Outcome outcome = Install(machine, c.folder, kEvery, c.answers, [&] {
      if (c.removeSource) DeleteFileA((machine.product / "Tokavi.exe").c_str());
    });
    std::vector<std::string> boxes;
    if (!c.answers.empty())
      boxes.push_back(Expected(Question(c.folder), "ﾌｫﾙﾀﾞ作成確認", MB_YESNO | MB_ICONQUESTION));
    if (!c.error.empty()) boxes.push_back(Expected(c.error, "INSTALL", MB_ICONERROR));
    EXPECT_EQ(boxes, outcome.boxes) << c.folder;
    EXPECT_FALSE(outcome.closed) << c.folder;
    EXPECT_TRUE(outcome.focusOnEdit) << c.folder;
    EXPECT_FALSE(FileExists(c.folder + "\\Tokavi.txt")) << c.folder;
    EXPECT_TRUE(FileExists(machine.product / "ShTokavi.dll")) << c.folder;
    EXPECT_EQ("(none)", Text(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    RemoveDirectoryA(made.c_str());
  }
}

// The library is copied to the system folder when the stamps differ (even
// when the one in place is newer), also when installing into the source
// folder typed as the same text, where nothing else is copied onto itself;
// it is left alone when the stamps are the same. The shipped copy stays. One held open is left
// to the platform's INF setup: the restart notice instead of the
// completion message, even with the shell extension unchecked.
TEST(Installation, PlacesTheLibraryByItsStamp) {
  const struct {
    const char *name;
    DWORD inPlace, shipped;  // stamps; 0: none in the system folder
    bool intoSource, holdOpen, copied;
  } cases[] = {
      {"into the source folder", 0, 0x22222222, true, false, true},
      {"same stamp", 0x22222222, 0x22222222, false, false, false},
      {"newer in place", 0x33333333, 0x22222222, false, false, true},
      {"held open", 0x33333333, 0x22222222, false, true, false},
  };
  for (const auto &c : cases) {
    Machine machine;
    const std::string shipped = ReadFileText(machine.product / "ShTokavi.dll");
    if (c.inPlace) {
      WriteFile(SystemLibrary(), "in place");
      SetFileTime(SystemLibrary(), c.inPlace);
    }
    SetFileTime(machine.product / "ShTokavi.dll", c.shipped);
    std::string folder = c.intoSource ? machine.product.path() : machine.target.path();
    for (char &ch : folder)  // the same text, letter case aside
      if (c.intoSource && ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
    Outcome outcome;
    {
      HeldOpen held(c.holdOpen ? SystemLibrary() : "");
      outcome = Install(machine, folder, {});
    }
    EXPECT_TRUE(outcome.closed) << c.name;
    EXPECT_EQ(
        std::vector<std::string>{
            c.holdOpen
                ? Expected("ｼｪﾙ拡張の更新は、Winodws再起動後、有効になります。", "Install", MB_OK)
                : Expected(kCompleted, "終了ﾒｯｾｰｼﾞ", MB_OK)},
        outcome.boxes)
        << c.name;
    for (const char *name : kFiles)
      EXPECT_EQ(ReadFileText(DistFolder() + "\\" + name), ReadFileText(folder + "\\" + name));
    if (!c.holdOpen) {  // the INF setup may since have replaced the one held open
      EXPECT_EQ(c.copied ? shipped : "in place", ReadFileText(SystemLibrary())) << c.name;
    }
    EXPECT_TRUE(FileExists(machine.product / "ShTokavi.dll")) << c.name;
  }
}

}  // namespace
