// End to end: the real Install.exe, started as a user starts it from the
// unpacked product folder, driven through its dialog and its messages, and
// judged by its whole footprint on the prefix's registry and folders.
#include <gtest/gtest.h>

#include <cstdio>

#include "../harness.h"
#include "clients.h"
#include "footprint.h"
#include "product.h"
#include "session.h"

namespace {

const char kCaptionInstall[] = "INSTALL";
const char kRunning[] = "Tokavi が起動中です。終了させてください。";
const char kAskCancel[] = "ｲﾝｽﾄｰﾙを中止しますか？";
const char kCaptionCancel[] = "終了確認";
const char kAskUninstall[] = "TOKAVIをアンインストールします。";
const char kCaptionUninstall[] = "TOKAVIのｱﾝｲﾝｽﾄｰﾙ";
const char kUninstalled[] = "Tokaviのアンインストール終了。";
const char kCaptionFinished[] = "終了ﾒｯｾｰｼﾞ";
const char kFoldersKey[] = "Software\\Kel\\TokAvi\\Folders";

std::string SystemFolder() {
  char sz[MAX_PATH];
  GetSystemDirectoryA(sz, MAX_PATH);
  return sz;
}

std::string ShellFolder(const char *name) {
  DWORD type;
  std::string data;
  ReadValue(HKEY_CURRENT_USER,
            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name, &type,
            &data);
  return data.c_str();
}

// A copy of the distribution folder, as a user unpacks it: an installation
// moves the library out of it.
struct ProductFolder : TempFolder {
  ProductFolder() : TempFolder(" dist") {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((DistFolder() + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        CopyFileA((DistFolder() + "\\" + fd.cFileName).c_str(), (*this / fd.cFileName).c_str(),
                  FALSE);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  std::string installer() const { return "\"" + (*this / "Install.exe") + "\""; }
};

std::string RestorePointFile() {
  char sz[MAX_PATH];
  GetTempPathA(MAX_PATH, sz);
  return std::string(sz) + "tokavi-e2e-restore-point";
}

// The temporary folders a scenario cut short left: their names come back
// with the process identifiers Wine hands out again.
void RemoveTemporaryFolders() {
  char sz[MAX_PATH];
  GetTempPathA(MAX_PATH, sz);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((std::string(sz) + "tokavi-*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      RemoveTree(Wide(sz + std::string(fd.cFileName)));
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

void CloseApplications() {
  for (HWND hwnd : WindowsOfClass("TokaviWClass")) CloseApplication({hwnd, "", ""});
}

// Each scenario starts from the prefix as it found it and leaves it so. The
// state it found is kept in a file until it is restored: after a scenario
// cut short (a timeout), the next one restores it first.
class EndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    CloseApplications();
    Footprint unfinished;
    if (unfinished.Load(RestorePointFile())) {
      std::printf("restoring the prefix after a scenario that was cut short\n");
      ASSERT_EQ("", Restore(unfinished, Take()));
      RemoveTemporaryFolders();
    }
    before_ = Take();
    ASSERT_TRUE(before_.Save(RestorePointFile()));
  }

  void TearDown() override {
    CloseApplications();
    EXPECT_EQ("", Restore(before_, Take()));
    EXPECT_EQ("", Differences(before_, Take())) << "the prefix was not restored";
    DeleteFileA(RestorePointFile().c_str());
  }

  // The registry and the folders an installation touches, and `more`.
  Footprint Take(const std::vector<std::string> &more = {}) {
    Footprint fp;
    fp.TakeRegistry();
    fp.TakeFolder(system_, false, false);
    fp.TakeFolder(desktop_, false, true);
    fp.TakeFolder(sendTo_, false, true);
    fp.TakeFolder(kDefaultFolder, true, true);
    for (const auto &folder : more) fp.TakeFolder(folder, true, true);
    return fp;
  }

  // Waits for the next message box and checks it as the user sees it, then
  // answers it.
  void ExpectBox(Session &session, HWND owner, const std::string &text, const std::string &caption,
                 UINT style, int answer) {
    MessageBoxSeen box = session.WaitForBox();
    ASSERT_TRUE(box.hwnd) << "no message box \"" << Utf8FromAnsi(text) << "\"";
    EXPECT_EQ(Utf8FromAnsi(text), Utf8FromAnsi(box.text));
    EXPECT_EQ(Utf8FromAnsi(caption), Utf8FromAnsi(box.caption));
    EXPECT_EQ(style, box.style) << Utf8FromAnsi(text);
    EXPECT_EQ(owner, box.owner) << Utf8FromAnsi(text);
    session.Answer(box, answer);
  }

  Installation InstallationOf(const ProductFolder &product, const std::string &folder,
                              const Options &options) {
    return {product.path(), folder, options, system_, desktop_, sendTo_};
  }

  // Add/Remove Programs as Wine has it: the entry is listed by its display
  // name, and removing it runs the recorded command as the platform runs
  // it, from the install folder; the uninstall run then asks and reports.
  void UninstallThroughWine(const Installation &installation) {
    std::string list = RunForOutput("uninstaller.exe --list");
    EXPECT_NE(std::string::npos, list.find("Tokavi|||ﾄｶｳﾞｨ\r\n")) << Utf8FromAnsi(list);
    Session remover("uninstaller.exe --remove Tokavi", "");
    ExpectBox(remover, NULL, kAskUninstall, kCaptionUninstall, MB_YESNO | MB_ICONQUESTION, IDYES);
    ExpectBox(remover, NULL, kUninstalled, kCaptionFinished, MB_OK, IDOK);
    EXPECT_EQ(0u, remover.WaitForExit());
    std::string program = installation.folder + "\\install.exe";
    bool ran = false;
    for (const auto &p : remover.processes())
      ran |= lstrcmpiA(p.image.c_str(), program.c_str()) == 0 &&
             p.commandLine == "\"" + program + "\" /d";
    EXPECT_TRUE(ran) << "the recorded command did not run";
  }

  const std::string kDefaultFolder = "C:\\Program Files\\Tokavi";
  const std::string system_ = SystemFolder();
  const std::string desktop_ = ShellFolder("Desktop");
  const std::string sendTo_ = ShellFolder("SendTo");
  Footprint before_;
};

// Cancel asks first: No keeps the dialog, Yes ends the program, and nothing
// is written either way.
TEST_F(EndToEnd, CancelAsksNoKeepsTheDialogYesQuits) {
  ProductFolder product;
  Footprint before = Take({product.path()});
  Session installer(product.installer(), product.path());
  HWND hDlg = installer.WaitForDialogWith(1010);
  ASSERT_TRUE(hDlg);
  EXPECT_EQ("TOKAVIインストール", WindowTitle(hDlg));
  ASSERT_TRUE(FillInstallDialog(hDlg, NULL, kEveryOption));

  PressButton(hDlg, IDCANCEL);
  ExpectBox(installer, hDlg, kAskCancel, kCaptionCancel, MB_YESNO | MB_ICONQUESTION, IDNO);
  EXPECT_EQ((DWORD)STILL_ACTIVE, installer.WaitForExit(500));
  EXPECT_TRUE(IsWindowVisible(hDlg));

  PressButton(hDlg, IDCANCEL);
  ExpectBox(installer, hDlg, kAskCancel, kCaptionCancel, MB_YESNO | MB_ICONQUESTION, IDYES);
  EXPECT_EQ(0u, installer.WaitForExit());
  EXPECT_EQ("", Differences(before, Take({product.path()})));
}

// While the main application runs, the installer says so and ends.
TEST_F(EndToEnd, MainApplicationRunningStopsTheInstaller) {
  ProductFolder product;
  ApplicationWindow application = StartApplication(product / "Tokavi.exe");
  ASSERT_TRUE(application.hwnd);
  Footprint before = Take({product.path()});
  Session installer(product.installer(), product.path());
  ExpectBox(installer, NULL, kRunning, kCaptionInstall, MB_OK | MB_ICONERROR, IDOK);
  EXPECT_EQ(0u, installer.WaitForExit());
  EXPECT_EQ("", Differences(before, Take({product.path()})));
  EXPECT_TRUE(CloseApplication(application));
}

// What an installation into the default folder leaves, planted without
// one, with the settings the main application records when it runs: Wine's
// Add/Remove Programs finds the entry and its command takes everything away
// but the residue.
TEST_F(EndToEnd, AddRemoveProgramsUninstallsAPlantedInstallation) {
  ProductFolder product;
  Installation installation = InstallationOf(product, kDefaultFolder, kEveryOption);
  ASSERT_TRUE(CreateDirectoryA(installation.folder.c_str(), NULL));
  WriteFile(installation.folder + "\\メモ.txt", "the user's own");
  Footprint planted = Take({product.path()});
  ExpectInstalled(planted, installation);
  planted.SetString(HKEY_CURRENT_USER, kFoldersKey, "TokAviDir", installation.folder);
  planted.SetString(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Options", "View", "1");
  for (const char *name : {"Tokavi.exe", "Tokavi.txt", "Tokavi.hlp", "Tokavi.cnt", "Install.exe",
                           "history.txt", "Tokavi.inf"})
    ASSERT_TRUE(
        CopyFileA((product / name).c_str(), (installation.folder + "\\" + name).c_str(), FALSE));
  ASSERT_TRUE(MoveFileA((product / "ShTokavi.dll").c_str(), (system_ + "\\ShTokavi.dll").c_str()));
  WriteFile(desktop_ + "\\Tokavi.lnk", "link");
  WriteFile(sendTo_ + "\\Tokavi.lnk", "link");
  ASSERT_EQ("", Restore(planted, Take({product.path()})));
  ASSERT_EQ("", Differences(planted, Take({product.path()})));

  UninstallThroughWine(installation);
  Footprint residue = planted;
  ExpectUninstalled(residue, installation, true);
  EXPECT_EQ("", Differences(residue, Take({product.path()})));
}

}  // namespace
