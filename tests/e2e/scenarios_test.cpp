// End to end: the real Install.exe, started as a user starts it from the
// unpacked product folder, driven through its dialog and its messages, and
// judged by its whole footprint on the prefix's registry and folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "../harness.h"
#include "clients.h"
#include "footprint.h"
#include "product.h"
#include "session.h"

// After windows.h, which it needs.
#include <sddl.h>

namespace {

const char kCaptionInstall[] = "INSTALL";
const char kRunning[] = "Tokavi が起動中です。終了させてください。";
const char kAskCancel[] = "ｲﾝｽﾄｰﾙを中止しますか？";
const char kCaptionCancel[] = "終了確認";
const char kAskUninstall[] = "TOKAVIをアンインストールします。";
const char kCaptionUninstall[] = "TOKAVIのｱﾝｲﾝｽﾄｰﾙ";
const char kUninstalled[] = "Tokaviのアンインストール終了。";
const char kDeletedAtRestart[] = "\n\n使用中のﾌｧｲﾙは Windows の再起動後に削除されます。";
const char kFilesLeft[] = "\n\n削除できなかったﾌｧｲﾙがあります。";
const char kWrongBuild[] =
    "このｲﾝｽﾄｰﾗは 32 ﾋﾞｯﾄ版 Windows 用です。64 ﾋﾞｯﾄ版のﾊﾟｯｹｰｼﾞをお使いください。";
const char kCaptionFinished[] = "終了ﾒｯｾｰｼﾞ";
const char kFoldersKey[] = "Software\\Kel\\TokAvi\\Folders";
const char kInstalled[] =
    "ｲﾝｽﾄｰﾙが完了しました。\n\n"
    "ｱﾝｲﾝｽﾄｰﾙはｺﾝﾄﾛｰﾙﾊﾟﾈﾙの'ｱﾌﾟﾘｹｰｼｮﾝの追加と削除'から実行してください。";
const char kCaptionCreate[] = "ﾌｫﾙﾀﾞ作成確認";
const char kCannotCopy[] =
    "'Tokavi.exe' がコピーできません。\n\n"
    "'Tokavi.exe' が起動中であれば終了させてからインストールしてください。";
const char kInvalidFolder[] = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ名が正しくありません。";
const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kRestartNotice[] = "ｼｪﾙ拡張の更新は、Winodws再起動後、有効になります。";
const char kCaptionNotice[] = "Install";
const char kSourceTooLong[] =
    "Install.exe のあるﾌｫﾙﾀﾞの名前が長すぎます。別のﾌｫﾙﾀﾞに移してから起動して下さい。";
const wchar_t kClsidText[] = L"{7A41D2E3-3C55-11D0-8F6B-0A1B2C3D4E5F}";

std::string AskCreate(const std::string &folder) {
  return "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ '" + folder + "' は存在しません。\nﾌｫﾙﾀﾞを新規に作成しますか?";
}

// A program or DLL built beside the tests, as a Windows path.
std::string BuiltBeside(const char *unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

// A Win32 program that opens a window and ends.
std::string TrivialProgram() { return BuiltBeside(TOKAVI_TRIVIAL_EXE); }

bool SamePath(const std::string &a, const std::string &b) {
  char szA[MAX_PATH] = "", szB[MAX_PATH] = "";
  GetLongPathNameA(a.c_str(), szA, MAX_PATH);
  GetLongPathNameA(b.c_str(), szB, MAX_PATH);
  return szA[0] && lstrcmpiA(szA, szB) == 0;
}

// The text after "name :" on the line of lnkinfo's report that names it.
std::string LnkField(const std::string &report, const std::string &name) {
  size_t at = report.find("\t" + name);
  if (at == std::string::npos) return "";
  size_t start = report.find(": ", at);
  size_t end = report.find('\n', at);
  if (start == std::string::npos || start > end) return "";
  return report.substr(start + 2, end - start - 2);
}

// A file held open the way a running program holds its image: others may
// read it, but not write or replace it.
struct HeldOpen {
  explicit HeldOpen(const std::string &path)
      : handle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0,
                           NULL)) {}
  ~HeldOpen() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  HANDLE handle;
};

// Whether a process of the session was started with the program at that
// path and `parameters`, as its command line says: Wine runs a 16-bit
// program in a process of its own 16-bit loader.
bool Ran(Session &session, const std::string &program, const std::string &parameters) {
  for (const auto &p : session.processes())
    if (p.commandLine.find(program) != std::string::npos &&
        p.commandLine.find(parameters) != std::string::npos)
      return true;
  return false;
}

// The programs the session ran, with their command lines, one a line.
std::string ProcessList(Session &session) {
  std::string list;
  for (const auto &p : session.processes()) list += p.image + ": " + p.commandLine + "\n";
  return list;
}

// Whether a process of the session ran a program from the folder other than
// Install.exe.
bool RanFrom(Session &session, const std::string &folder) {
  for (const auto &p : session.processes()) {
    size_t slash = p.image.rfind('\\');
    if (slash != std::string::npos &&
        lstrcmpiA(p.image.substr(0, slash).c_str(), folder.c_str()) == 0 &&
        lstrcmpiA(p.image.substr(slash + 1).c_str(), "Install.exe") != 0)
      return true;
  }
  return false;
}

std::string SystemFolder() {
  char sz[MAX_PATH];
  GetSystemDirectoryA(sz, MAX_PATH);
  return sz;
}

std::string WindowsFolder() {
  char sz[MAX_PATH];
  GetWindowsDirectoryA(sz, MAX_PATH);
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

// A copy of the distribution folder, as a user unpacks it.
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

// A disk of 96 KiB as drive T:: a tmpfs mounted beside the prefix and
// linked into its drives. It goes again afterwards, and one that a run cut
// short left is taken away first.
struct SmallDisk {
  SmallDisk() {
    Remove();
    RunUnixProgram({"/bin/sh", "-c",
                    "mkdir -p \"$0\" && mount -t tmpfs -o size=96k tmpfs \"$0\" && "
                    "ln -s \"$0\" \"$1\"",
                    mount, link});
  }
  ~SmallDisk() { Remove(); }
  void Remove() {
    RunUnixProgram({"/bin/sh", "-c",
                    "rm -f \"$1\"; umount \"$0\" || umount -l \"$0\"; rmdir \"$0\"; true", mount,
                    link});
  }
  const std::string prefix = UnixPath("C:\\") + "..";  // drive_c's parent
  const std::string mount = prefix + "/smalldisk", link = prefix + "/dosdevices/t:";
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
    session.Answer(box.hwnd, answer);
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
    EXPECT_TRUE(ran) << "the recorded command did not run; seen:\n"
                     << Utf8FromAnsi(ProcessList(remover));
  }

  // Starts Install.exe from the product folder as a user does and waits for
  // its dialog, which starts with the default folder (nothing is recorded)
  // and the shell extension alone checked; fills it in.
  HWND StartInstaller(Session &installer, const std::string *folder, const Options &options) {
    HWND hDlg = installer.WaitForDialogWith(1010);
    EXPECT_TRUE(hDlg) << "no installation dialog";
    if (!hDlg) return NULL;
    EXPECT_EQ("TOKAVIインストール", WindowTitle(hDlg));
    EXPECT_EQ(kDefaultFolder, DialogFolder(hDlg));
    EXPECT_TRUE(DialogOptions(hDlg) == kStartOptions);
    EXPECT_TRUE(FillInstallDialog(hDlg, folder, options));
    return hDlg;
  }

  // OK, Yes to creating the folder when it is missing, and the completion
  // message; then the installer and all it started have ended.
  void InstallWithOk(Session &installer, HWND hDlg, const std::string &folder, bool create) {
    PressButton(hDlg, IDOK);
    if (create) {
      ASSERT_NO_FATAL_FAILURE(ExpectBox(installer, hDlg, AskCreate(folder), kCaptionCreate,
                                        MB_YESNO | MB_ICONQUESTION, IDYES));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectBox(installer, hDlg, kInstalled, kCaptionFinished, MB_OK, IDOK));
    EXPECT_EQ(0u, installer.WaitForExit());
    EXPECT_TRUE(installer.WaitForAll());
  }

  // Programs nobody here wrote use what the installation wrote: the shell
  // opens a file of each associated type with the installed program (or
  // the user starts it, when nothing is associated; it records its folder
  // either way), lnkinfo reads the shortcuts, and COM creates the shell
  // extension's object from the library in the system folder.
  void UseAsClients(const Installation &in) {
    std::string program = in.folder + "\\Tokavi.exe";
    TempFolder documents(" 書類");
    std::vector<std::string> extensions = AssociatedExtensions(in.options);
    for (const auto &extension : extensions) {
      std::string file = documents / ("アーカイブ 表" + extension);
      WriteFile(file, "archive");
      ApplicationWindow window = OpenAsTheShellDoes(file);
      EXPECT_TRUE(window.hwnd) << "opening " << Utf8FromAnsi(file);
      EXPECT_TRUE(SamePath(program, window.image)) << Utf8FromAnsi(window.image);
      EXPECT_TRUE(CloseApplication(window));
    }
    if (extensions.empty()) {
      ApplicationWindow window = StartApplication(program);
      EXPECT_TRUE(window.hwnd);
      EXPECT_TRUE(CloseApplication(window));
    }
    DWORD type;
    std::string recorded;
    EXPECT_TRUE(ReadValue(HKEY_CURRENT_USER, kFoldersKey, "TokAviDir", &type, &recorded));
    EXPECT_TRUE(SamePath(in.folder, recorded.c_str())) << Utf8FromAnsi(recorded);

    const struct {
      bool Options::*option;
      std::string folder;
    } links[] = {{&Options::desktop, in.desktop}, {&Options::sendTo, in.sendTo}};
    for (const auto &link : links) {
      if (!(in.options.*link.option)) continue;
      std::string report = LnkInfo(link.folder + "\\Tokavi.lnk");
      EXPECT_EQ(Utf8FromAnsi(program), LnkField(report, "Local path")) << report;
      EXPECT_EQ("TokAvi", LnkField(report, "Description")) << report;
    }

    ComCreation com = CreateThroughCom(kClsidText);
    if (in.options.shellExtension) {
      EXPECT_EQ(S_OK, com.result);
      EXPECT_EQ(0, lstrcmpiA((in.system + "\\ShTokavi.dll").c_str(), com.module.c_str()))
          << com.module;
      EXPECT_TRUE(com.unloaded) << "COM keeps the library loaded";
    } else {
      EXPECT_EQ(REGDB_E_CLASSNOTREG, com.result);
    }
  }

  // Starts the installed program with "/d", as its entry's command does, or
  // with another tail.
  void UninstallWithSlashD(const Installation &installation, const std::string &tail = "/d",
                           const std::string &finished = kUninstalled) {
    Session uninstaller("\"" + installation.folder + "\\Install.exe\" " + tail,
                        installation.folder);
    ExpectBox(uninstaller, NULL, kAskUninstall, kCaptionUninstall, MB_YESNO | MB_ICONQUESTION,
              IDYES);
    ExpectBox(uninstaller, NULL, finished, kCaptionFinished, MB_OK, IDOK);
    EXPECT_EQ(0u, uninstaller.WaitForExit());
  }

  // An older library in the system folder: another time stamp than the
  // shipped one, so the installation means to replace it.
  std::string PlantOlderLibrary(const ProductFolder &product) {
    std::string library = system_ + "\\ShTokavi.dll";
    EXPECT_TRUE(CopyFileA((product / "ShTokavi.dll").c_str(), library.c_str(), TRUE));
    EXPECT_TRUE(SetFileTime(library, 0x12345678));
    return library;
  }

  enum Uninstaller { kSlashD, kAddRemovePrograms };

  // The whole life of an installation: installed with OK, its footprint
  // exactly the product's tables; used by the clients; uninstalled, leaving
  // exactly the residue. `typed` is what goes into the folder edit (null:
  // the default stays); a folder that does not exist yet is created after
  // the question.
  void InstallUseUninstall(const Installation &in, const std::string *typed, Uninstaller way) {
    bool create = GetFileAttributesA(in.folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    std::vector<std::string> folders = {in.source, in.folder};
    if (in.desktop != desktop_) folders.push_back(in.desktop);
    Footprint installed = Take(folders);
    Session installer("\"" + in.source + "\\Install.exe\"", in.source);
    HWND hDlg = StartInstaller(installer, typed, in.options);
    ASSERT_TRUE(hDlg);
    ASSERT_NO_FATAL_FAILURE(InstallWithOk(installer, hDlg, in.folder, create));
    ExpectInstalled(installed, in);
    ASSERT_EQ("", Differences(installed, Take(folders)));

    UseAsClients(in);
    if (way == kSlashD)
      UninstallWithSlashD(in);
    else
      UninstallThroughWine(in);
    Footprint residue = installed;
    ExpectUninstalled(residue, in, true);
    EXPECT_EQ("", Differences(residue, Take(folders)));
  }

  // OK on a filled-in dialog that is refused: Yes to creating `created`
  // when given, then `error`; the dialog stays, the folder edit focused.
  void ExpectRefusal(Session &installer, HWND hDlg, const std::string &created,
                     const std::string &error) {
    PressButton(hDlg, IDOK);
    if (!created.empty()) {
      ASSERT_NO_FATAL_FAILURE(ExpectBox(installer, hDlg, AskCreate(created), kCaptionCreate,
                                        MB_YESNO | MB_ICONQUESTION, IDYES));
    }
    ASSERT_NO_FATAL_FAILURE(
        ExpectBox(installer, hDlg, error, kCaptionInstall, MB_OK | MB_ICONERROR, IDOK));
    EXPECT_EQ((DWORD)STILL_ACTIVE, installer.WaitForExit(300));
    EXPECT_EQ(GetDlgItem(hDlg, 1010), FocusOf(hDlg));
  }

  // The product installed over an installation and refused: all stays.
  void ExpectReinstallRefused(const ProductFolder &product, const std::string &folder,
                              const std::string &error, const std::vector<std::string> &folders) {
    Footprint installed = Take(folders);
    Session installer(product.installer(), product.path());
    HWND hDlg = StartInstaller(installer, &folder, kEveryOption);
    ASSERT_TRUE(hDlg);
    ExpectRefusal(installer, hDlg, "", error);
    EXPECT_EQ("", Differences(installed, Take(folders)));
  }

  // The files an installation leaves, copied without one into the existing
  // install folder, and both links; false when a copy failed.
  static bool PlantFiles(const Installation &in) {
    bool copied = true;
    for (const char *name : {"Tokavi.exe", "Tokavi.txt", "Tokavi.hlp", "Tokavi.cnt", "Install.exe",
                             "history.txt", "Tokavi.inf"})
      copied &= CopyFileA((in.source + "\\" + name).c_str(), (in.folder + "\\" + name).c_str(),
                          FALSE) != 0;
    copied &= CopyFileA((in.source + "\\ShTokavi.dll").c_str(),
                        (in.system + "\\ShTokavi.dll").c_str(), FALSE) != 0;
    WriteFile(in.desktop + "\\Tokavi.lnk", "link");
    WriteFile(in.sendTo + "\\Tokavi.lnk", "link");
    return copied;
  }

  // What an installation leaves, planted without one: the files, the
  // library, the links and the registry entries, with `recorded` as the
  // folder the main application recorded (none when empty), and what
  // `also` adds. The footprint of the product and install folders.
  Footprint Plant(
      const Installation &in, const std::string &recorded,
      const std::function<void(Footprint &)> &also = [](Footprint &) {}) {
    std::vector<std::string> folders = {in.source, in.folder};
    CreateDirectoryA(in.folder.c_str(), NULL);
    PlantFiles(in);
    Footprint planted = Take(folders);
    ExpectInstalled(planted, in);
    if (!recorded.empty()) planted.SetString(HKEY_CURRENT_USER, kFoldersKey, "TokAviDir", recorded);
    also(planted);
    EXPECT_EQ("", Restore(planted, Take(folders)));
    EXPECT_EQ("", Differences(planted, Take(folders)));
    return planted;
  }

  // Install.exe from the product folder with `typed` and the options, OK,
  // the completion message; then exactly `expected` in the registry and
  // the folders.
  void InstallExpecting(const ProductFolder &product, const std::string &typed,
                        const Options &options, const Footprint &expected,
                        const std::vector<std::string> &folders) {
    Session installer(product.installer(), product.path());
    HWND hDlg = StartInstaller(installer, &typed, options);
    ASSERT_TRUE(hDlg);
    ASSERT_NO_FATAL_FAILURE(InstallWithOk(installer, hDlg, typed, false));
    EXPECT_EQ("", Differences(expected, Take(folders)));
  }

  // The installed program with "/d" and `tail`; then exactly the residue of
  // `installed` in the product and install folders and the registry.
  void UninstallExpecting(const Installation &in, Footprint installed,
                          const std::string &tail = "/d") {
    UninstallWithSlashD(in, tail);
    ExpectUninstalled(installed, in, true);
    EXPECT_EQ("", Differences(installed, Take({in.source, in.folder})));
  }

  // The program with the unattended `tail`, from `folder`: it shows no
  // message box; its exit code once it and all it started have ended.
  DWORD RunUnattended(const std::string &program, const std::string &tail,
                      const std::string &folder) {
    Session run("\"" + program + "\" " + tail, folder);
    DWORD code = run.WaitForExit();
    EXPECT_TRUE(run.WaitForAll());
    EXPECT_FALSE(run.WaitForBox(0).hwnd) << tail;
    return code;
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
  ASSERT_TRUE(PlantFiles(installation));
  ASSERT_EQ("", Restore(planted, Take({product.path()})));
  ASSERT_EQ("", Differences(planted, Take({product.path()})));

  UninstallThroughWine(installation);
  Footprint residue = planted;
  ExpectUninstalled(residue, installation, true);
  EXPECT_EQ("", Differences(residue, Take({product.path()})));
}

// Every option, into an existing folder that holds a file of the user's;
// uninstalled from Wine's Add/Remove Programs.
TEST_F(EndToEnd, EveryOption) {
  ProductFolder product;
  TempFolder folder(" 全部");
  WriteFile(folder / "メモ.txt", "the user's own");
  InstallUseUninstall(InstallationOf(product, folder.path(), kEveryOption), &folder.path(),
                      kAddRemovePrograms);
}

// No option at all: the files, the library and the uninstall entry still.
TEST_F(EndToEnd, NoOption) {
  ProductFolder product;
  TempFolder folder;
  InstallUseUninstall(InstallationOf(product, folder.path(), kNoOption), &folder.path(), kSlashD);
}

// The default folder, with its blanks, created after the question; the
// typical choice of LZH and the Desktop shortcut besides the shell
// extension. Add/Remove Programs runs the quoted command.
TEST_F(EndToEnd, DefaultFolderWithBlanksIsCreated) {
  ProductFolder product;
  Options options = kStartOptions;
  options.lzh = options.desktop = true;
  InstallUseUninstall(InstallationOf(product, kDefaultFolder, options), NULL, kAddRemovePrograms);
}

// A folder that must be created, ending in 表, whose second byte is a
// backslash: one separator everywhere, in the question too.
TEST_F(EndToEnd, FolderEndingInABackslashByteIsCreated) {
  ProductFolder product;
  TempFolder parent;
  Options options = kStartOptions;
  options.desktop = options.sendTo = options.zip = options.cab = true;
  std::string folder = parent / "書庫表";
  InstallUseUninstall(InstallationOf(product, folder, options), &folder, kSlashD);
}

// An existing folder ending in ソ, typed with a trailing backslash.
TEST_F(EndToEnd, ExistingFolderEndingInABackslashByteTypedWithOne) {
  ProductFolder product;
  TempFolder folder(" ソ");
  Options options = kNoOption;
  options.tar = true;
  std::string typed = folder.path() + "\\";
  InstallUseUninstall(InstallationOf(product, folder.path(), options), &typed, kSlashD);
}

// A second installation over the first, from a fresh copy of the product:
// the library in the system folder has the shipped stamp, so it stays and
// the shipped copy is kept; the choices add up, the entry is written anew.
TEST_F(EndToEnd, SecondInstallationOverTheFirst) {
  TempFolder folder;
  ProductFolder first, second;
  Options firstOptions = kStartOptions, secondOptions = kStartOptions;
  firstOptions.lzh = firstOptions.desktop = true;
  secondOptions.zip = secondOptions.sendTo = true;
  Installation one = InstallationOf(first, folder.path(), firstOptions);
  Installation two = InstallationOf(second, folder.path(), secondOptions);
  std::vector<std::string> folders = {first.path(), second.path(), folder.path()};
  Footprint expected = Take(folders);

  for (const Installation *in : {&one, &two}) {
    Session installer("\"" + in->source + "\\Install.exe\"", in->source);
    HWND hDlg = StartInstaller(installer, &folder.path(), in->options);
    ASSERT_TRUE(hDlg);
    ASSERT_NO_FATAL_FAILURE(InstallWithOk(installer, hDlg, folder.path(), false));
    ExpectInstalled(expected, *in, in == &one);
    ASSERT_EQ("", Differences(expected, Take(folders)));
  }

  Installation both = two;
  both.options.lzh = both.options.desktop = true;
  UseAsClients(both);
  UninstallWithSlashD(both);
  ExpectUninstalled(expected, both, true);
  EXPECT_EQ("", Differences(expected, Take(folders)));
}

// Tokavi.exe in the install folder cannot be replaced: the installer says
// so, the dialog stays with the folder edit focused, and nothing is written,
// before or after the close box ends it.
TEST_F(EndToEnd, HeldOpenTokaviExeKeepsTheDialog) {
  ProductFolder product;
  TempFolder folder;
  WriteFile(folder / "Tokavi.exe", "an earlier Tokavi.exe, running");
  HeldOpen held(folder / "Tokavi.exe");
  ASSERT_NE(INVALID_HANDLE_VALUE, held.handle);
  std::vector<std::string> folders = {product.path(), folder.path()};
  Footprint before = Take(folders);

  Session installer(product.installer(), product.path());
  HWND hDlg = StartInstaller(installer, &folder.path(), kEveryOption);
  ASSERT_TRUE(hDlg);
  PressButton(hDlg, IDOK);
  ASSERT_NO_FATAL_FAILURE(
      ExpectBox(installer, hDlg, kCannotCopy, kCaptionInstall, MB_OK | MB_ICONERROR, IDOK));
  EXPECT_EQ((DWORD)STILL_ACTIVE, installer.WaitForExit(500));
  EXPECT_TRUE(IsWindowVisible(hDlg));
  EXPECT_EQ(GetDlgItem(hDlg, 1010), FocusOf(hDlg));
  EXPECT_EQ("", Differences(before, Take(folders)));

  PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(0u, installer.WaitForExit());
  EXPECT_EQ("", Differences(before, Take(folders)));
}

// Windows 95 runs only the 32-bit Install.exe; the 64-bit one leaves its
// branches out.
const bool kRunsOnWindows95 = sizeof(void *) == 4;

// Wine presents the platform to Install.exe as Windows 95: the setting is
// Wine's, per program.
void PresentInstallExeAsWindows95() {
  WriteValue(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Install.exe", "Version",
             std::string("win95") + '\0');
}

// There RegDeleteKeyA deletes whole subtrees: the uninstall run must still
// leave another product's key under the maker key.
TEST_F(EndToEnd, Windows95KeepsAnotherProductsSettings) {
  if (!kRunsOnWindows95) GTEST_SKIP() << "a 64-bit program";
  PresentInstallExeAsWindows95();
  WriteValue(HKEY_CURRENT_USER, std::string(kMakerKey) + "\\Other", "Setting",
             std::string("1") + '\0');
  ProductFolder product;
  TempFolder folder;
  InstallUseUninstall(InstallationOf(product, folder.path(), kEveryOption), &folder.path(),
                      kSlashD);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kMakerKey) + "\\Other"));
}

// Shell Folders without the Send To value. The shell writes it again when
// a program asks it for the folder.
void RemoveSendToValue() {
  HKEY hKey;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS)
    return;
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(hKey, "SendTo"));
  RegCloseKey(hKey);
}

// A subkey named in Hangul (한글, written as its UTF-16 units), which code
// page 932 cannot hold, with a value.
void PlantHangulSubkey(HKEY root, const std::string &key) {
  HKEY h;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, (Wide(key) + L"\\\xD55C\xAE00").c_str(), 0, NULL,
                                           0, KEY_SET_VALUE, NULL, &h, NULL));
  RegSetValueExW(h, L"x", 0, REG_SZ, (const BYTE *)L"1", 2 * sizeof(WCHAR));
  RegCloseKey(h);
}

// The ANSI form of a UTF-16 path's short name.
std::string AnsiShortPath(const std::wstring &path) {
  WCHAR wsz[MAX_PATH] = L"";
  char sz[MAX_PATH] = "";
  GetShortPathNameW(path.c_str(), wsz, MAX_PATH);
  WideCharToMultiByte(CP_ACP, 0, wsz, -1, sz, MAX_PATH, NULL, NULL);
  return sz;
}

void WriteValueW(HKEY root, const std::string &key, const wchar_t *value,
                 const std::wstring &data) {
  HKEY h;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL));
  RegSetValueExW(h, value, 0, REG_SZ, (const BYTE *)data.c_str(),
                 (DWORD)((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
}

// The user's key as the registry's links name it: \Registry\User\<SID>.
std::wstring UserRegistryPath() {
  HANDLE token;
  BYTE info[256];
  DWORD cb;
  LPWSTR sid = NULL;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    GetTokenInformation(token, TokenUser, info, sizeof info, &cb);
    ConvertSidToStringSidW(((TOKEN_USER *)info)->User.Sid, &sid);
    CloseHandle(token);
  }
  std::wstring path = L"\\Registry\\User\\" + std::wstring(sid ? sid : L"");
  LocalFree(sid);
  return path;
}

// A link key to the key the registry's path names; and its deletion as the
// link itself, which RegDeleteKey cannot do.
void PlantLink(const std::wstring &link, const std::wstring &target,
               HKEY root = HKEY_CURRENT_USER) {
  HKEY h;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, link.c_str(), 0, NULL, REG_OPTION_CREATE_LINK,
                                           KEY_ALL_ACCESS, NULL, &h, NULL));
  RegSetValueExW(h, L"SymbolicLinkValue", 0, REG_LINK, (const BYTE *)target.data(),
                 (DWORD)(target.size() * sizeof(wchar_t)));
  RegCloseKey(h);
}
void DeleteLink(const std::wstring &link, HKEY root = HKEY_CURRENT_USER) {
  HKEY h;
  if (RegOpenKeyExW(root, link.c_str(), REG_OPTION_OPEN_LINK, DELETE, &h)) return;
  ((LONG(WINAPI *)(HANDLE))(void *)GetProcAddress(GetModuleHandleA("ntdll"), "NtDeleteKey"))(h);
  RegCloseKey(h);
}

// The ASCII letters of a text in lower case, for paths compared as Windows
// compares them.
std::string Lower(std::string text) {
  for (char &c : text)
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  return text;
}

// Posts the quit message to the thread of a window, as a program ending
// the thread's loops does.
void PostQuit(HWND hwnd) {
  PostThreadMessageA(GetWindowThreadProcessId(hwnd, NULL), WM_QUIT, 0, 0);
}

// The DLLs the platform loads by name while Install.exe runs, as a file
// planted in the product folder could stand in for them; Wine is told to
// prefer a DLL found there, as Windows does for every name outside its
// KnownDLLs. Not version.dll nor comctl32.dll: Wine's own user32 and shell32
// import them, so Wine would load them, planted, before Install.exe's first
// instruction, where Windows' DLLs do not import them.
const char *const kPlantedDlls[] = {"uxtheme", "userenv", "setupapi",  "apphelp",
                                    "propsys", "dwmapi",  "cryptbase", "oleacc",
                                    "clbcatq", "ntmarta", "profapi",   "msimg32"};

// Each of those DLLs, and the two DLL runners, planted in the product
// folder: a DLL that leaves "<name>.dll.loaded" once loaded, and a program
// whose start the session records.
void PlantDllsAndRunners(const TempFolder &product) {
  for (const char *name : kPlantedDlls) {
    CopyFileA(BuiltBeside(TOKAVI_PLANTED_DLL).c_str(),
              (product / (std::string(name) + ".dll")).c_str(), FALSE);
    WriteValue(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Install.exe\\DllOverrides", name,
               std::string("native,builtin") + '\0');
  }
  for (const char *runner : {"rundll32.exe", "rundll.exe"})
    CopyFileA(TrivialProgram().c_str(), (product / runner).c_str(), FALSE);
}

// The world is not tidy: each scenario plants what a user may find, acts
// as the user does and expects the footprint and the messages. Each runs as
// a test of its own, with its own time: under an emulated 32-bit loader the
// table as one test outlasted any one test's limit.
class UntidyWorld : public EndToEnd, public testing::WithParamInterface<int> {
 protected:
  // Runs the scenario on Windows NT, then, for the 32-bit Install.exe, again
  // from the prefix as it was found, presented as Windows 95.
  void OnEachPlatform(const std::function<void(bool windows95)> &scenario) {
    for (bool windows95 : {false, true}) {
      if (windows95 && !kRunsOnWindows95) break;
      SCOPED_TRACE(windows95 ? "Windows 95" : "Windows NT");
      ASSERT_EQ("", Restore(before_, Take()));
      if (windows95) PresentInstallExeAsWindows95();
      scenario(windows95);
    }
  }
};

const int kUntidyScenarios = 26;

TEST_P(UntidyWorld, Scenario) {
  const struct {
    const char *name;
    std::function<void()> run;
  } scenarios[] = {
      {"a copy that does not fit the disk, or a file held open, puts back what the copy "
       "replaced, on a first installation and under a larger product",
       [&] {
         SmallDisk disk;
         ProductFolder first, second;
         WriteFile(second / "Tokavi.txt", "a newer text");
         WriteFile(second / "Tokavi.exe",
                   ReadFileText(first / "Tokavi.exe") + std::string(12000, 'x'));
         const std::string
             folder = "T:\\Tokavi",
             error = "'Install.exe' がコピーできません。\n\nﾃﾞｨｽｸの空き容量が足りません。";
         const std::vector<std::string> folders = {first.path(), second.path(), folder};
         Footprint expected = Take(folders);
         expected.AddFolder(folder);
         WriteFile("T:\\filler", std::string(60000, 'x'));
         Session installer(first.installer(), first.path());
         HWND hDlg = StartInstaller(installer, &folder, kEveryOption);
         ASSERT_TRUE(hDlg);
         ExpectRefusal(installer, hDlg, folder, error);
         EXPECT_EQ("", Differences(expected, Take(folders)));
         DeleteFileA("T:\\filler");
         ASSERT_NO_FATAL_FAILURE(InstallWithOk(installer, hDlg, folder, false));
         ExpectReinstallRefused(second, folder, error, folders);
         HeldOpen held(folder + "\\Tokavi.hlp");
         ExpectReinstallRefused(second, folder, "'Tokavi.hlp' がコピーできません。", folders);
       }},
      {"the product folder by its short name and in lower case: nothing is copied onto itself",
       [&] {
         ProductFolder product;
         for (const std::string &typed : {ShortPath(product.path()), Lower(product.path())}) {
           Footprint expected = Take({product.path()});
           ExpectInstalled(expected, InstallationOf(product, product.path(), kNoOption));
           // The entry names the folder as it was typed.
           expected.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString",
                              "\"" + typed + "\\install.exe\" /d");
           expected.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString",
                              "\"" + typed + "\\install.exe\" /d /S");
           expected.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon",
                              typed + "\\Tokavi.exe");
           expected.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation", typed + "\\");
           InstallExpecting(product, typed, kNoOption, expected, {product.path()});
         }
       }},
      {"started from a folder that code page 932 cannot name, it installs that folder's files, "
       "by its short name, never those of the look-alike beside it",
       [&] {
         for (const auto &names : {std::make_pair(L"Caf\xE9", "Cafe"),
                                   std::make_pair(L"Tokavi\xA5..\xA5other", "other")}) {
           ASSERT_EQ("", Restore(before_, Take()));
           TempFolder parent, folder;
           ProductFolder product, lookAlike;
           WriteFile(lookAlike / "Tokavi.txt", "a look-alike's text");
           WriteFile(lookAlike / "ShTokavi.dll", "a look-alike's library");
           const std::wstring source = Wide(parent.path()) + L"\\" + names.first;
           ASSERT_TRUE(MoveFileW(Wide(product.path()).c_str(), source.c_str()));
           ASSERT_TRUE(MoveFileA(lookAlike.path().c_str(), (parent / names.second).c_str()));
           Installation in = InstallationOf(product, folder.path(), kStartOptions);
           in.source = AnsiShortPath(source);
           const std::vector<std::string> folders = {in.source, folder.path()};
           Footprint expected = Take(folders);
           ExpectInstalled(expected, in);
           WCHAR wszHere[MAX_PATH];
           GetCurrentDirectoryW(MAX_PATH, wszHere);
           SetCurrentDirectoryW(source.c_str());
           Session installer("\"" + in.source + "\\Install.exe\"", "");
           SetCurrentDirectoryW(wszHere);
           HWND hDlg = StartInstaller(installer, &folder.path(), in.options);
           ASSERT_TRUE(hDlg);
           ASSERT_NO_FATAL_FAILURE(InstallWithOk(installer, hDlg, folder.path(), false));
           EXPECT_EQ("", Differences(expected, Take(folders)));
         }
       }},
      {"the links go to the user's own folder named in UTF-16, never into the look-alike "
       "profile beside it, and into one that code page 932 cannot name",
       [&] {
         TempFolder profiles;
         const std::wstring base = Wide(profiles.path());
         CreateDirectoryW((base + L"\\Jose").c_str(), NULL);
         CreateDirectoryW((base + L"\\Jose\\Desktop").c_str(), NULL);
         WriteFile(profiles / "Jose\\Desktop\\Tokavi.lnk", "another user's link");
         for (const wchar_t *user : {L"Jos\xE9", L"\xAE40"}) {
           const std::wstring desktop = base + L"\\" + user + L"\\Desktop";
           CreateDirectoryW((base + L"\\" + user).c_str(), NULL);
           CreateDirectoryW(desktop.c_str(), NULL);
           // Wine writes Shell Folders anew from User Shell Folders.
           for (const char *key : {kShellFolders, kUserShellFolders})
             WriteValueW(HKEY_CURRENT_USER, key, L"Desktop", desktop);
           ProductFolder product;
           TempFolder folder;
           Installation in = InstallationOf(product, folder.path(), kNoOption);
           in.options.desktop = true;
           in.desktop = AnsiShortPath(desktop);
           InstallUseUninstall(in, &folder.path(), kSlashD);
           EXPECT_EQ("another user's link", ReadFileText(profiles / "Jose\\Desktop\\Tokavi.lnk"));
         }
       }},
      {"folder names that are not absolute, that name a device, or that code page 932 cannot hold, "
       "are refused "
       "before anything is created",
       [&] {
         ProductFolder product;
         TempFolder parent;
         Footprint before = Take({product.path(), parent.path()});
         Session installer(product.installer(), product.path());
         HWND hDlg = StartInstaller(installer, NULL, kEveryOption);
         for (const std::string &typed :
              {std::string("bar"), std::string("C:\\Program Files\\*"), parent / "x.",
               parent / "x \\y", parent / "a:b", parent / "AUX.txt"}) {
           ASSERT_TRUE(FillInstallDialog(hDlg, &typed, kEveryOption));
           ExpectRefusal(installer, hDlg, "", kInvalidFolder);
         }
         // C:\Café and C:\Tokávißi typed in UTF-16, as the edit holds them:
         // code page 932 has no é, á nor ß, and their look-alikes would name
         // C:\Cafe and C:\Tokavis.
         for (const wchar_t *typed : {L"C:\\Caf\xE9", L"C:\\Tok\xE1vi\xDFi"}) {
           SendDlgItemMessageW(hDlg, 1010, WM_SETTEXT, 0, (LPARAM)typed);
           ExpectRefusal(installer, hDlg, "", kInvalidFolder);
         }
         PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
         EXPECT_EQ(0u, installer.WaitForExit());
         EXPECT_EQ("", Differences(before, Take({product.path(), parent.path()})));
       }},
      {"the product folder installs again after an uninstall, over an entry with subkeys, one "
       "named in Hangul",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kStartOptions);
         InstallUseUninstall(in, &folder.path(), kSlashD);
         WriteValue(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\Sub", "x", "1");
         PlantHangulSubkey(HKEY_LOCAL_MACHINE, kUninstallKey);
         Footprint expected = Take({product.path(), folder.path()});
         ExpectInstalled(expected, in);
         InstallExpecting(product, folder.path(), in.options, expected,
                          {product.path(), folder.path()});
       }},
      {"the uninstall run removes the installation its entry names, not the product folder "
       "Tokavi.exe last ran from",
       [&] {
         ProductFolder product;
         TempFolder folder(" 表");
         Installation in = InstallationOf(product, folder.path(), kEveryOption);
         UninstallExpecting(in, Plant(in, product.path()));
       }},
      {"an unquoted entry of an earlier version, nothing recorded, \"/d\" and blanks; no DLL "
       "loaded; a folder named like a product file stays, unreported",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kEveryOption);
         PlantDllsAndRunners(folder);
         CreateDirectoryA((folder / "tokavi.gid").c_str(), NULL);  // not a file of ours
         UninstallExpecting(in,
                            Plant(in, "",
                                  [&](Footprint &fp) {
                                    fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey,
                                                 "UninstallString",
                                                 folder.path() + "\\install.exe /d");
                                  }),
                            "/d \t ");
       }},
      {"what others put beside ours stays; our settings go whole, names of 510 bytes too",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kEveryOption);
         auto others = [](Footprint &fp) {
           fp.SetString(HKEY_CLASSES_ROOT, "LzhFile\\shellex\\DropHandler", NULL,
                        "{0A1B2C3D-0000-1111-2222-333344445555}");
           fp.SetString(HKEY_CLASSES_ROOT, ".lzh\\ShellNew", "NullFile", "");
           fp.SetString(HKEY_CLASSES_ROOT, ".lzh\\ShellNew", "Command", "other.exe");
           fp.SetString(HKEY_CURRENT_USER, kMakerKey, "Owner", "Kel");
         };
         Footprint planted = Plant(in, folder.path(), [&](Footprint &fp) {
           others(fp);
           std::string name;  // 255 characters, two bytes each
           for (int i = 0; i < 255; ++i) name += "表";
           fp.SetString(HKEY_CURRENT_USER, std::string(kFoldersKey) + "\\" + name, "x", "1");
         });
         UninstallWithSlashD(in);
         ExpectUninstalled(planted, in, true);
         others(planted);
         EXPECT_EQ("", Differences(planted, Take({product.path(), folder.path()})));
       }},
      {"without a Send To value, and with a Desktop value that names no absolute folder, the "
       "links go where the shell says, not to the drive's root nor the current folder",
       [&] {
         ProductFolder product;
         TempFolder folder;
         WriteFile("C:\\Tokavi.lnk", "another program's link");
         Options options = kNoOption;
         options.sendTo = options.desktop = true;
         Installation in = InstallationOf(product, folder.path(), options);
         Footprint expected = Take({product.path(), folder.path()});
         ExpectInstalled(expected, in);
         auto untidyShellFolders = [] {
           RemoveSendToValue();
           WriteValue(HKEY_CURRENT_USER, kShellFolders, "Desktop", std::string("Links") + '\0');
         };
         untidyShellFolders();
         InstallExpecting(product, folder.path(), options, expected,
                          {product.path(), folder.path()});
         untidyShellFolders();
         UninstallExpecting(in, expected);
         EXPECT_EQ("another program's link", ReadFileText("C:\\Tokavi.lnk"));
         DeleteFileA("C:\\Tokavi.lnk");
       }},
      {"nothing planted beside Install.exe runs: the older library held open goes to the INF "
       "setup of the system's own runner, on Windows NT with the restart notice, on Windows 95 "
       "from the short product folder and silently",
       [&] {
         const struct {
           std::string runner, parameters;
         } runners[] = {{system_ + "\\rundll32.exe", "setupapi"},
                        {WindowsFolder() + "\\rundll.exe", "setupx.dll"}};
         OnEachPlatform([&](bool windows95) {
           const auto &platform = runners[windows95];
           ProductFolder product;
           TempFolder folder;
           PlantDllsAndRunners(product);
           HeldOpen held(PlantOlderLibrary(product));
           ASSERT_NE(INVALID_HANDLE_VALUE, held.handle);
           Installation in = InstallationOf(product, folder.path(), kEveryOption);
           std::vector<std::string> folders = {product.path(), folder.path()};
           Footprint expected = Take(folders);

           Session installer(product.installer(), product.path());
           HWND hDlg = StartInstaller(installer, &folder.path(), in.options);
           ASSERT_TRUE(hDlg);
           PressButton(hDlg, 1009);
           HWND picker = installer.WaitForDialogWith(0x3741);
           ASSERT_TRUE(picker) << "no folder picker";
           installer.Answer(picker, IDCANCEL);
           PressButton(hDlg, IDOK);
           if (!windows95) {
             ASSERT_NO_FATAL_FAILURE(
                 ExpectBox(installer, hDlg, kRestartNotice, kCaptionNotice, MB_OK, IDOK));
           }
           EXPECT_EQ(0u, installer.WaitForExit());
           EXPECT_TRUE(installer.WaitForAll());
           EXPECT_FALSE(installer.WaitForBox(0).hwnd);
           std::string source = windows95 ? ShortPath(product.path()) : product.path();
           EXPECT_TRUE(Ran(installer, platform.runner,
                           platform.parameters + ",InstallHinfSection DefaultInstall 132 " +
                               source + "\\tokavi.inf"))
               << Utf8FromAnsi(ProcessList(installer));
           EXPECT_FALSE(RanFrom(installer, product.path()));
           ExpectInstalled(expected, in, false);
           EXPECT_EQ("", Differences(expected, Take(folders)));
         });
       }},
      {"files in use, the installed Tokavi.exe, read-only, and the library, go when Windows next "
       "starts, and the completion message says so; on Windows 95 through WININIT.INI, whose "
       "other bytes stay, as does a WININIT.TMP",
       [&] {
         const std::string wininit = WindowsFolder() + "\\WININIT.INI";
         OnEachPlatform([&](bool windows95) {
           ProductFolder product;
           TempFolder folder;
           Installation in = InstallationOf(product, folder.path(), kStartOptions);
           Footprint residue = Plant(in, "");
           ExpectUninstalled(residue, in, true);
           const std::string exe = folder / "tokavi.exe", library = system_ + "\\ShTokavi.dll";
           const std::string other = folder / "other.tmp";  // another program's
           WriteFile(other, "deleted at the restart too");
           const std::string head = "; kept\n\n[other]\r\nkey=value\r\n[Rename]\r\n",
                             tail = "NUL=" + ShortPath(other) + "\r\n\r\n[rename]\nNUL=C:\\NO.TMP";
           const std::string temp = WindowsFolder() + "\\WININIT.TMP";  // another program's
           if (windows95) {
             WriteFile(wininit, head + tail);
             WriteFile(temp, "kept");
           }
           SetFileAttributesA(exe.c_str(), FILE_ATTRIBUTE_READONLY);
           {
             HeldOpen heldExe(exe), heldLibrary(library);
             UninstallWithSlashD(in, "/d", std::string(kUninstalled) + kDeletedAtRestart);
           }
           EXPECT_TRUE(FileExists(exe));
           EXPECT_TRUE(FileExists(library));
           std::string scheduled;
           if (windows95) {
             scheduled = ReadFileText(wininit);
             EXPECT_EQ(
                 head + "NUL=" + ShortPath(library) + "\r\nNUL=" + ShortPath(exe) + "\r\n" + tail,
                 scheduled);
             EXPECT_EQ("kept", ReadFileText(temp));
             DeleteFileA(temp.c_str());
           } else {
             DWORD type;
             EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kSessionManager,
                                   "PendingFileRenameOperations", &type, &scheduled));
             for (const std::string &file : {exe, library})
               EXPECT_NE(std::string::npos, Lower(scheduled).find(Lower(file))) << file;
             DeleteFileA(other.c_str());
           }
           RunForOutput("wineboot.exe -r");
           EXPECT_FALSE(FileExists(exe));
           EXPECT_FALSE(FileExists(library));
           EXPECT_FALSE(FileExists(other));
           DeleteFileA(wininit.c_str());
           DeleteFileA((WindowsFolder() + "\\WININIT.BAK").c_str());
           EXPECT_EQ("", Differences(residue, Take({in.source, in.folder})))
               << Utf8FromAnsi(scheduled);
         });
       }},
      {"only Yes goes on: a question that the quit message or the dialog's closing ends removes "
       "and creates nothing",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kEveryOption);
         Footprint planted = Plant(in, "");
         const std::string uninstall = "\"" + (folder / "Install.exe") + "\" /d";
         Session quit(uninstall, folder.path());
         HWND box = quit.WaitForBoxWindow();
         ASSERT_TRUE(box);
         PostQuit(box);
         EXPECT_EQ(0u, quit.WaitForExit());
         EXPECT_EQ("", Differences(planted, Take({in.source, in.folder})));

         const std::string missing = folder / "new";
         for (bool byQuit : {true, false}) {
           Session installer(product.installer(), product.path());
           HWND hDlg = StartInstaller(installer, &missing, kEveryOption);
           ASSERT_TRUE(hDlg);
           PressButton(hDlg, IDOK);
           box = installer.WaitForBoxWindow();
           ASSERT_TRUE(box);
           EXPECT_EQ(Utf8FromAnsi(AskCreate(missing)), Utf8FromAnsi(ReadMessageBox(box).text));
           if (byQuit)
             PostQuit(box);
           else
             PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
           EXPECT_EQ(0u, installer.WaitForExit());
         }
         EXPECT_EQ("", Differences(planted, Take({in.source, in.folder})));
       }},
      {"our keys go whole whatever their subkeys are named: one in Hangul under the settings and "
       "under the entry",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kEveryOption);
         Footprint planted = Plant(in, folder.path());
         PlantHangulSubkey(HKEY_CURRENT_USER, kSettingsKey);
         PlantHangulSubkey(HKEY_LOCAL_MACHINE, kUninstallKey);
         UninstallExpecting(in, planted);
       }},
      {"links among our keys go as links: a foreign key one names stays whole, and one naming "
       "itself ends the run too",
       [&] {
         const std::wstring user = UserRegistryPath(), link = Wide(kSettingsKey) + L"\\Link";
         for (const std::wstring &target : {user + L"\\Software\\Foreign", user + L"\\" + link}) {
           ASSERT_EQ("", Restore(before_, Take()));
           WriteValue(HKEY_CURRENT_USER, "Software\\Foreign\\Sub", "x", "1");
           ProductFolder product;
           TempFolder folder;
           Installation in = InstallationOf(product, folder.path(), kEveryOption);
           Footprint planted = Plant(in, folder.path());
           PlantLink(link, target);
           UninstallWithSlashD(in);
           DeleteLink(link);
           ExpectUninstalled(planted, in, true);
           EXPECT_EQ("", Differences(planted, Take({in.source, in.folder}))) << Utf8(target);
         }
       }},
      {"on Windows 95 a file in use that WININIT.INI cannot schedule, a folder of that name in "
       "the way, is reported as left",
       [&] {
         if (!kRunsOnWindows95) return;
         PresentInstallExeAsWindows95();
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kStartOptions);
         Footprint residue = Plant(in, "");
         ExpectUninstalled(residue, in, true);
         residue.CopyFile(product / "Tokavi.exe", folder / "Tokavi.exe");
         const std::string wininit = WindowsFolder() + "\\WININIT.INI";
         ASSERT_TRUE(CreateDirectoryA(wininit.c_str(), NULL));
         {
           HeldOpen held(folder / "Tokavi.exe");
           UninstallWithSlashD(in, "/d", std::string(kUninstalled) + kFilesLeft);
         }
         RemoveDirectoryA(wininit.c_str());
         EXPECT_EQ("", Differences(residue, Take({in.source, in.folder})));
       }},
      {"the 32-bit Install.exe on 64-bit Windows is the wrong build and changes nothing, at its /d "
       "too beside a 64-bit installation but for a 32-bit entry; on 32-bit Windows it installs",
       [&] {
         ProductFolder product;
         TempFolder folder;
         if (sizeof(void *) == 4)
           return InstallUseUninstall(InstallationOf(product, folder.path(), kStartOptions),
                                      &folder.path(), kSlashD);
         ASSERT_TRUE(CopyFileA(BuiltBeside(TOKAVI_INSTALL32_EXE).c_str(),
                               (product / "Install.exe").c_str(), FALSE));
         Footprint before = Plant(InstallationOf(product, folder.path(), kStartOptions), "");
         Session installer(product.installer(), product.path());
         ExpectBox(installer, NULL, kWrongBuild, kCaptionNotice, MB_ICONERROR, IDOK);
         EXPECT_EQ(0u, installer.WaitForExit());
         Session uninstaller(product.installer() + " /d", product.path());
         ExpectBox(uninstaller, NULL, kWrongBuild, kCaptionNotice, MB_ICONERROR, IDOK);
         EXPECT_EQ(0u, uninstaller.WaitForExit());
         EXPECT_EQ("", Differences(before, Take({product.path(), folder.path()})));
         WriteValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node" + std::string(kUninstallKey + 8),
                    "DisplayName", "x");
         Session older(product.installer() + " /d", product.path());
         ExpectBox(older, NULL, kAskUninstall, kCaptionUninstall, MB_YESNO | MB_ICONQUESTION, IDNO);
         EXPECT_EQ(0u, older.WaitForExit());
       }},
      {"Shell Folders values of 259 to 2000 characters, with no room for a link, put both links "
       "where the shell says, installing and at /d",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Options options = kNoOption;
         options.sendTo = options.desktop = true;
         Installation in = InstallationOf(product, folder.path(), options);
         Footprint expected = Take({in.source, in.folder});
         ExpectInstalled(expected, in);
         for (size_t length : {259, 265, 267, 279, 293, 2000}) {
           for (int run = 0; run < 2; ++run) {
             for (const char *value : {"Desktop", "SendTo"})
               WriteValue(HKEY_CURRENT_USER, kShellFolders, value,
                          "C:\\" + std::string(length - 3, 'a') + '\0');
             if (run == 0)
               InstallExpecting(product, in.folder, options, expected, {in.source, in.folder});
             if (run == 1) UninstallWithSlashD(in);
           }
         }
         ExpectUninstalled(expected, in, true);
         EXPECT_EQ("", Differences(expected, Take({in.source, in.folder})));
       }},
      {"a folder that code page 932 cannot name, recorded in UTF-16, by Tokavi.exe too: its short "
       "name in the dialog and at /d, never the look-alike's; once gone, none, and /d says so",
       [&] {
         TempFolder parent;
         const std::wstring cafe = Wide(parent.path()) + L"\\Caf\xE9";
         ASSERT_TRUE(CreateDirectoryW(cafe.c_str(), NULL));
         ASSERT_TRUE(CreateDirectoryA((parent / "Cafe").c_str(), NULL));
         WriteFile(parent / "Cafe\\tokavi.exe", "a look-alike's");
         ProductFolder product;
         Installation in = InstallationOf(product, AnsiShortPath(cafe), kStartOptions);
         Footprint planted = Plant(in, "");
         WriteValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString",
                     L"\"" + cafe + L"\\install.exe\" /d");
         WCHAR wszHere[MAX_PATH];
         GetCurrentDirectoryW(MAX_PATH, wszHere);
         SetCurrentDirectoryW(cafe.c_str());
         EXPECT_TRUE(CloseApplication(StartApplication(".\\Tokavi.exe")));
         SetCurrentDirectoryW(wszHere);
         // The dialog with the folder there, then with it gone.
         for (const std::string &shown : {in.folder, kDefaultFolder}) {
           Session installer(product.installer(), product.path());
           HWND hDlg = installer.WaitForDialogWith(1010);
           EXPECT_EQ(shown, DialogFolder(hDlg));
           PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
           EXPECT_EQ(0u, installer.WaitForExit());
           if (shown != in.folder) break;
           UninstallExpecting(in, planted);
           RemoveTree(cafe);
           WriteValueW(HKEY_CURRENT_USER, kFoldersKey, L"TokAviDir", cafe);
         }
         UninstallWithSlashD(InstallationOf(product, product.path(), kNoOption), "/d",
                             std::string(kUninstalled) + kFilesLeft);
         EXPECT_EQ("a look-alike's", ReadFileText(parent / "Cafe\\tokavi.exe"));
       }},
      {"links at our names in HKEY_CLASSES_ROOT and at the maker key go as links, installing "
       "and at /d: the keys they name stay whole",
       [&] {
         const std::wstring foreign = L"\\Registry\\Machine\\Software\\Classes\\Foreign",
                            keys[] = {std::wstring(L"CLSID\\") + kClsidText, L"LzhFile"};
         WriteValue(HKEY_CLASSES_ROOT, "Foreign\\Sub", "x", "1");
         WriteValue(HKEY_CURRENT_USER, "Software\\Foreign\\TokAvi\\Folders", "x", "1");
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kEveryOption);
         const std::vector<std::string> folders = {product.path(), folder.path()};
         Footprint expected = Plant(in, "");
         for (int run = 0; run < 2; ++run) {
           for (const std::wstring &key : keys) {
             RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
             PlantLink(key, foreign, HKEY_CLASSES_ROOT);
           }
           if (run == 0) InstallExpecting(product, folder.path(), kEveryOption, expected, folders);
         }
         // The installation never opens the maker key.
         PlantLink(L"Software\\Kel", UserRegistryPath() + L"\\Software\\Foreign");
         UninstallWithSlashD(in);
         for (const std::wstring &key : keys) DeleteLink(key, HKEY_CLASSES_ROOT);
         DeleteLink(L"Software\\Kel");
         ExpectUninstalled(expected, in, true);
         expected.RemoveKey(HKEY_CLASSES_ROOT, "LzhFile");
         EXPECT_EQ("", Differences(expected, Take(folders)));
       }},
      {"read-only product files install as plain files, over read-only ones too, and what a "
       "killed run left under our names goes at the next installation and at /d",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kStartOptions);
         const std::string library = system_ + "\\ShTokavi.dll",
                           installed[] = {folder / "Tokavi.exe", folder / "Tokavi.txt", library};
         const std::string leftovers[] = {folder / "Tokavi.exe.~new", folder / "history.txt.~old",
                                          library + ".~old"};
         for (const char *name : {"Tokavi.exe", "Tokavi.txt", "ShTokavi.dll"})
           SetFileAttributesA((product / name).c_str(), FILE_ATTRIBUTE_READONLY);
         Footprint expected = Take({in.source, in.folder});
         ExpectInstalled(expected, in);
         for (int run = 0; run < 3; ++run) {
           for (const auto &file : leftovers) WriteFile(file, "left by a killed run");
           if (run == 2) UninstallWithSlashD(in);
           if (run < 2)
             InstallExpecting(product, in.folder, in.options, expected, {in.source, in.folder});
           for (const auto &file : leftovers) EXPECT_FALSE(FileExists(file)) << file;
           for (int i = 0; i < 3 - run && run < 2; ++i) {
             EXPECT_EQ(0u, GetFileAttributesA(installed[i].c_str()) & 7) << installed[i];
             SetFileAttributesA(installed[i].c_str(), FILE_ATTRIBUTE_READONLY);
           }
         }
       }},
      {"a product folder of 247 characters installs by its short name, the library too; one "
       "whose short name is as long is refused",
       [&] {
         TempFolder parent, folder;
         ProductFolder product;
         const std::string deep = parent / std::string(246 - parent.path().size(), 'd');
         ASSERT_TRUE(MoveFileA(product.path().c_str(), deep.c_str()));
         Installation in = InstallationOf(product, folder.path(), kStartOptions);
         in.source = ShortPath(deep);
         Footprint expected = Take({in.source, in.folder});
         ExpectInstalled(expected, in);
         const std::string program = "\"" + deep + "\\Install.exe\"";
         Session installer(program, deep);
         HWND hDlg = StartInstaller(installer, &in.folder, in.options);
         ASSERT_TRUE(hDlg);
         ASSERT_NO_FATAL_FAILURE(InstallWithOk(installer, hDlg, in.folder, false));
         EXPECT_EQ("", Differences(expected, Take({in.source, in.folder})));
         std::string shortDeep = ShortPath(parent.path());
         while (shortDeep.size() < 247) CreateDirectoryA((shortDeep += "\\12345678").c_str(), NULL);
         Session refused(program, shortDeep);
         ExpectBox(refused, NULL, kSourceTooLong, kCaptionNotice, MB_ICONERROR, IDOK);
         EXPECT_EQ(0u, refused.WaitForExit());
       }},
      {"unattended, /S installs what OK installs for the same folder and options, with exit 0, "
       "from the program's folder wherever it starts: the initial choice, a folder with "
       "blanks, tasks in any case; /d /S and the recorded quiet command, as a deployment tool "
       "runs it, take it away with 0",
       [&] {
         OnEachPlatform([&](bool windows95) {
           TempFolder parent(" 空 白"), existing;
           Options tasks = kNoOption;
           tasks.lzh = tasks.zip = tasks.desktop = true;
           const struct {
             std::string tail, folder;
             Options options;
           } runs[] = {
               {"/S", kDefaultFolder, kStartOptions},
               {"/s  /D=" + parent / "Tokavi  x", parent / "Tokavi  x", kStartOptions},
               {"/S /TASKS=LZH,zip,Desktop /D=" + existing.path() + " ", existing.path(), tasks}};
           for (const auto &run : runs) {
             ProductFolder product;
             Installation in = InstallationOf(product, run.folder, run.options);
             const std::vector<std::string> folders = {in.source, in.folder};
             Footprint expected = Take(folders);
             // Windows 95 takes the product from the current folder.
             EXPECT_EQ(0u, RunUnattended(product / "Install.exe", run.tail,
                                         windows95 ? in.source : parent.path()));
             ExpectInstalled(expected, in);
             EXPECT_EQ("", Differences(expected, Take(folders))) << run.tail;
             DWORD type;
             std::string quiet;
             ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString", &type, &quiet);
             Session remover(&run == runs ? "\"" + in.folder + "\\Install.exe\" /d /S" : quiet,
                             in.folder);
             EXPECT_EQ(0u, remover.WaitForExit());
             ExpectUninstalled(expected, in, true);
             EXPECT_EQ("", Differences(expected, Take(folders))) << run.tail;
           }
         });
       }},
      {"unattended, an unknown task or a malformed tail changes nothing, with 87, and while "
       "Tokavi runs nothing either, with 32; other tails end at once with 0",
       [&] {
         ProductFolder product;
         Footprint before = Take({product.path()});
         const std::pair<const char *, DWORD> tails[] = {{"/S /TASKS=lzh,arc", 87},
                                                         {"/S /TASKS=,lzh", 87},
                                                         {"/S /TASKS=zip/D=C:\\x", 87},
                                                         {"/S /D", 87},
                                                         {"/S x", 87},
                                                         {"/Sx", 0},
                                                         {"/d /S x", 0},
                                                         {"/d/S", 0}};
         for (const auto &[tail, code] : tails)
           EXPECT_EQ(code, RunUnattended(product / "Install.exe", tail, product.path())) << tail;
         EXPECT_EQ("", Differences(before, Take({product.path()})));
         ApplicationWindow application = StartApplication(product / "Tokavi.exe");
         before = Take({product.path()});  // as the application left it
         EXPECT_EQ(32u, RunUnattended(product / "Install.exe", "/S", product.path()));
         EXPECT_TRUE(CloseApplication(application));
         EXPECT_EQ("", Differences(before, Take({product.path()})));
       }},
      {"unattended over an installation, a full disk gives 112 and a file in use 32, the "
       "installation whole; a library in use is left to the INF setup without its restart "
       "question, with 3010",
       [&] {
         SmallDisk disk;
         ProductFolder first, second;
         WriteFile(second / "Tokavi.exe",
                   ReadFileText(first / "Tokavi.exe") + std::string(12000, 'x'));
         const std::vector<std::string> folders = {first.path(), second.path(), "T:\\Tokavi"};
         EXPECT_EQ(0u, RunUnattended(first / "Install.exe", "/S /D=T:\\Tokavi", first.path()));
         Footprint installed = Take(folders);
         EXPECT_EQ(112u, RunUnattended(second / "Install.exe", "/S /D=T:\\Tokavi", second.path()));
         HeldOpen held("T:\\Tokavi\\Tokavi.hlp");
         EXPECT_EQ(32u, RunUnattended(first / "Install.exe", "/S /D=T:\\Tokavi", first.path()));
         EXPECT_EQ("", Differences(installed, Take(folders)));
         OnEachPlatform([&](bool windows95) {
           ProductFolder product;
           TempFolder folder;
           HeldOpen library(PlantOlderLibrary(product));
           Installation in = InstallationOf(product, folder.path(), kStartOptions);
           Footprint expected = Take({in.source, in.folder});
           Session installer(product.installer() + " /S /D=" + in.folder, in.source);
           EXPECT_EQ(3010u, installer.WaitForExit());
           EXPECT_TRUE(installer.WaitForAll());
           EXPECT_TRUE(Ran(installer, windows95 ? "rundll.exe" : "rundll32.exe",
                           "InstallHinfSection DefaultInstall 128 "))
               << Utf8FromAnsi(ProcessList(installer));
           ExpectInstalled(expected, in, false);
           EXPECT_EQ("", Differences(expected, Take({in.source, in.folder})));
         });
       }},
      {"unattended, /d /S with a file in use leaves it to the restart, with 3010",
       [&] {
         ProductFolder product;
         TempFolder folder;
         Installation in = InstallationOf(product, folder.path(), kStartOptions);
         Plant(in, "");
         HeldOpen held(folder / "Tokavi.exe");
         EXPECT_EQ(3010u, RunUnattended(folder / "Install.exe", "/d /S", folder.path()));
         EXPECT_TRUE(FileExists(folder / "Tokavi.exe"));
         EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
       }},
  };
  ASSERT_EQ(kUntidyScenarios, (int)(sizeof scenarios / sizeof scenarios[0]));
  SCOPED_TRACE(scenarios[GetParam()].name);
  scenarios[GetParam()].run();
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, UntidyWorld, testing::Range(0, kUntidyScenarios));

// Not a test: scripts/bench runs it. The median wall time of a whole
// unattended installation (every option) and uninstall through the driver,
// beside that of a trivial Win32 program started and ended under the same
// Wine: the installer's own cost over the platform's floor.
class Benchmark : public EndToEnd {
 protected:
  static double Milliseconds(const LARGE_INTEGER &start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
  }

  static double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  }

  // Install.exe from a fresh copy of the product into a fresh folder with
  // every option, its completion message answered, then the installed
  // program with "/d", both its questions answered.
  void Cycle(std::vector<double> &times) {
    ProductFolder product;
    TempFolder folder;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    Session installer(product.installer(), product.path());
    HWND hDlg = installer.WaitForDialogWith(1010);
    ASSERT_TRUE(hDlg);
    ASSERT_TRUE(FillInstallDialog(hDlg, &folder.path(), kEveryOption));
    PressButton(hDlg, IDOK);
    HWND hBox = installer.WaitForBoxWindow();
    ASSERT_TRUE(hBox);
    installer.Answer(hBox, IDOK);
    ASSERT_EQ(0u, installer.WaitForExit());
    Session uninstaller("\"" + (folder / "Install.exe") + "\" /d", folder.path());
    for (int answer : {IDYES, IDOK}) {
      hBox = uninstaller.WaitForBoxWindow();
      ASSERT_TRUE(hBox);
      uninstaller.Answer(hBox, answer);
    }
    ASSERT_EQ(0u, uninstaller.WaitForExit());
    times.push_back(Milliseconds(start));
  }

  // The same unattended: Install.exe with /S, every task and the folder,
  // then the installed program with /d /S; the installation alone too.
  void SilentCycle(std::vector<double> &installs, std::vector<double> &cycles) {
    ProductFolder product;
    TempFolder folder;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    ASSERT_EQ(0u, RunUnattended(
                      product / "Install.exe",
                      "/S /TASKS=shellext,lzh,zip,arj,tar,cab,desktop,sendto /D=" + folder.path(),
                      product.path()));
    installs.push_back(Milliseconds(start));
    ASSERT_EQ(0u, RunUnattended(folder / "Install.exe", "/d /S", folder.path()));
    cycles.push_back(Milliseconds(start));
  }

  static void Floor(std::vector<double> &times) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    Program trivial = StartProgram("\"" + TrivialProgram() + "\"", "");
    ASSERT_EQ(0u, WaitForExit(trivial));
    times.push_back(Milliseconds(start));
  }
};

TEST_F(Benchmark, DISABLED_InstallAndUninstallCycle) {
  const int kRuns = 7;
  std::vector<double> cycles, floors, silentInstalls, silentCycles;
  for (int run = 0; run < kRuns; ++run) {
    ASSERT_NO_FATAL_FAILURE(Cycle(cycles));
    ASSERT_EQ("", Restore(before_, Take()));
    ASSERT_NO_FATAL_FAILURE(SilentCycle(silentInstalls, silentCycles));
    ASSERT_EQ("", Restore(before_, Take()));
    ASSERT_NO_FATAL_FAILURE(Floor(floors));
  }
  const char *target = sizeof(void *) == 8 ? "x64" : "x86";
  double cycle = Median(cycles), floor = Median(floors);
  std::printf("bench: %s install-and-uninstall cycle: median %.0f ms over %d runs\n", target, cycle,
              kRuns);
  std::printf("bench: %s trivial Win32 program started and ended: median %.0f ms over %d runs\n",
              target, floor, kRuns);
  std::printf("bench: %s ratio: %.1f\n", target, cycle / floor);
  std::printf("bench: %s unattended installation: median %.0f ms; with /d /S: %.0f ms\n", target,
              Median(silentInstalls), Median(silentCycles));
}

}  // namespace
