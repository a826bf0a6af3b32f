// The installation's steps where the whole run cannot reach their cases:
// an uninstall entry that cannot be made afresh, shortcuts on threads whose
// COM is already set up, and the platform's INF setup.
#include <gtest/gtest.h>
#include <msxml2.h>
#include <shlobj.h>

#include "harness.h"
#include "install/install.h"
#include "startup/startup.h"

namespace {

// A stand-in for the dialog: a window with the folder edit.
struct FolderWindow {
  explicit FolderWindow(const char *folder)
      : hwnd(CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 9, 9, NULL, NULL, NULL, NULL)) {
    CreateWindowA("EDIT", folder, WS_CHILD, 0, 0, 9, 9, hwnd, (HMENU)1010, NULL, NULL);
  }
  ~FolderWindow() { DestroyWindow(hwnd); }
  HWND hwnd;
};

// An existing entry goes as a whole, a subkey of it included, and the fresh
// one is written; one that cannot be created is reported, with the
// platform's own caption.
TEST(RegisterUninstallInfo, ReplacesOrReportsTheEntry) {
  const std::string windows = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  for (bool volatileParent : {false, true}) {
    RegistrySandbox sandbox;
    HKEY h;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, (windows + "\\Uninstall").c_str(), 0, NULL,
                    volatileParent ? REG_OPTION_VOLATILE : 0, KEY_ALL_ACCESS, NULL, &h, NULL);
    RegCloseKey(h);
    if (!volatileParent)
      WriteValue(HKEY_LOCAL_MACHINE, windows + "\\Uninstall\\Tokavi\\Sub", "x", "1");
    FolderWindow window("");
    Responder responder;
    MessageBoxA(NULL, "", NULL, MB_OK);  // shows the platform's default caption
    RegisterUninstallInfo(window.hwnd, "D:\\Tools");
    DWORD type;
    std::string data;
    EXPECT_EQ(!volatileParent, ReadValue(HKEY_LOCAL_MACHINE, windows + "\\Uninstall\\Tokavi",
                                         "UninstallString", &type, &data));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, windows + "\\Uninstall\\Tokavi\\Sub"));
    ASSERT_EQ(volatileParent ? 2u : 1u, responder.boxes.size());
    if (!volatileParent) {
      EXPECT_EQ(std::string("\"D:\\Tools\\install.exe\" /d") + '\0', data);
      continue;
    }
    const Box &box = responder.boxes[1];
    EXPECT_EQ("ｱﾝｲﾝｽﾄｰﾙ情報が登録できませんでした。", box.text);
    EXPECT_EQ(responder.boxes[0].caption, box.caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), box.style);
    EXPECT_EQ(window.hwnd, box.owner);
  }
}

// The open command quotes an executable path with a blank, which is what a
// path without a short form keeps; the icon never has quotes.
// The fixed version as four decimal parts, read from the built programs;
// a file without version information, or no program at all, gives none.
TEST(ReadFileVersion, FormatsTheFixedVersionOrGivesNone) {
  const struct {
    const char *file, *version;
  } cases[] = {{"Tokavi.exe", "3.12.2045.60001"},
               {"Install.exe", "1.0.0.0"},
               {"ShTokavi.dll", NULL},
               {"Tokavi.txt", NULL}};
  for (const auto &c : cases) {
    char szBuffer[VERSION_TEXT_SIZE];
    LPCSTR psz = ReadFileVersion((std::string(TOKAVI_DIST_DIR) + "/" + c.file).c_str(), szBuffer);
    EXPECT_STREQ(c.version, psz) << c.file;
  }
}

// Install.exe's version information as Explorer reads it, through
// version.dll: the Japanese strings and the fixed version.
TEST(InstallExe, DescribesItselfInJapanese) {
  std::string exe = std::string(TOKAVI_DIST_DIR) + "/Install.exe";
  static char block[4096];
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, sizeof block, block));
  const char *const values[][2] = {{"CompanyName", "Kel"},
                                   {"FileDescription", "TOKAVIインストール"},
                                   {"FileVersion", "1.0.0.0"},
                                   {"InternalName", "Install"},
                                   {"OriginalFilename", "Install.exe"},
                                   {"ProductName", "ﾄｶｳﾞｨ"},
                                   {"ProductVersion", "1.0.0.0"}};
  for (const auto &v : values) {
    char *psz;
    UINT cch;
    std::string query = std::string("\\StringFileInfo\\041104b0\\") + v[0];
    ASSERT_TRUE(VerQueryValueA(block, query.c_str(), (void **)&psz, &cch)) << v[0];
    EXPECT_STREQ(v[1], psz) << v[0];
  }
  VS_FIXEDFILEINFO *pFixed;
  DWORD *pdwTranslation;
  UINT cb;
  ASSERT_TRUE(VerQueryValueA(block, "\\", (void **)&pFixed, &cb));
  EXPECT_EQ(0x10000u, pFixed->dwFileVersionMS);
  EXPECT_EQ(0u, pFixed->dwFileVersionLS);
  ASSERT_TRUE(VerQueryValueA(block, "\\VarFileInfo\\Translation", (void **)&pdwTranslation, &cb));
  EXPECT_EQ(0x04b00411u, *pdwTranslation);
}

const GUID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0, 0, 0xf8, 0x1f, 0xe2, 0x21}};
const GUID kIXMLDOMDocument2 = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

// The embedded manifest parses as XML, holds the DPI settings in their
// namespaces and the common controls dependency; comctl32 is not imported.
TEST(InstallExe, DeclaresDpiAwarenessAndVisualStyles) {
  std::string exe = std::string(TOKAVI_DIST_DIR) + "/Install.exe";
  HMODULE h = LoadLibraryExA(exe.c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_TRUE(h);
  HRSRC hr = FindResourceA(h, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_TRUE(hr);
  std::string xml((const char *)LockResource(LoadResource(h, hr)), SizeofResource(h, hr));
  auto *nt = (IMAGE_NT_HEADERS *)((BYTE *)h + ((IMAGE_DOS_HEADER *)h)->e_lfanew);
  auto *imp =
      (IMAGE_IMPORT_DESCRIPTOR *)((BYTE *)h + nt->OptionalHeader.DataDirectory[1].VirtualAddress);
  for (; imp->Name; ++imp) EXPECT_NE(0, lstrcmpiA("comctl32.dll", (char *)h + imp->Name));
  CoInitialize(NULL);
  IXMLDOMDocument2 *doc = NULL;
  ASSERT_EQ(S_OK, CoCreateInstance(kDomDocument30, NULL, CLSCTX_INPROC_SERVER, kIXMLDOMDocument2,
                                   (void **)&doc));
  VARIANT_BOOL ok = VARIANT_FALSE;
  doc->loadXML(SysAllocString(Wide(xml).c_str()), &ok);
  ASSERT_EQ(VARIANT_TRUE, ok) << xml;
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(L"XPath");
  doc->setProperty(SysAllocString(L"SelectionLanguage"), v);
  v.bstrVal = SysAllocString(
      L"xmlns:a='urn:schemas-microsoft-com:asm.v1' xmlns:b='urn:schemas-microsoft-com:asm.v3' "
      L"xmlns:c='http://schemas.microsoft.com/SMI/2005/WindowsSettings' "
      L"xmlns:d='http://schemas.microsoft.com/SMI/2016/WindowsSettings'");
  doc->setProperty(SysAllocString(L"SelectionNamespaces"), v);
  for (const wchar_t *path :
       {L"/a:assembly/b:application/b:windowsSettings/c:dpiAware[.='true']",
        L"/a:assembly/b:application/b:windowsSettings/d:dpiAwareness[.='PerMonitorV2,System']",
        L"/a:assembly/a:dependency/a:dependentAssembly/a:assemblyIdentity[@type='win32' and "
        L"@name='Microsoft.Windows.Common-Controls' and @version='6.0.0.0' and "
        L"@processorArchitecture='*' and @publicKeyToken='6595b64144ccf1df' and @language='*']",
        L"/a:assembly/a:assemblyIdentity[@version='1.0.0.0']"}) {
    IXMLDOMNode *node = NULL;
    EXPECT_EQ(S_OK, doc->selectSingleNode(SysAllocString(path), &node));
    if (node) node->Release();
  }
  doc->Release();
  CoUninitialize();
}

TEST(RegisterFileType, QuotesAnOpenCommandWithABlank) {
  const struct {
    const char *executable;
    const char *command;
  } cases[] = {
      {"C:\\PROGRA~1\\TOKAVI\\TOKAVI.EXE", "C:\\PROGRA~1\\TOKAVI\\TOKAVI.EXE \"%1\""},
      {"C:\\Program Files\\Tokavi\\Tokavi.exe", "\"C:\\Program Files\\Tokavi\\Tokavi.exe\" \"%1\""},
  };
  for (const auto &c : cases) {
    RegistrySandbox sandbox;
    EXPECT_EQ(1, RegisterFileType(".lzh", c.executable));
    DWORD type;
    std::string data;
    EXPECT_TRUE(ReadValue(HKEY_CLASSES_ROOT, "LzhFile\\shell\\open\\command", NULL, &type, &data));
    EXPECT_EQ(std::string(c.command) + '\0', data);
    EXPECT_TRUE(ReadValue(HKEY_CLASSES_ROOT, "LzhFile\\DefaultIcon", NULL, &type, &data));
    EXPECT_EQ(std::string(c.executable) + ",0" + '\0', data);
  }
}

struct ShortcutRun {
  DWORD dwCoInit;  // how the thread set COM up beforehand; -1: it did not
  std::string link;
  HRESULT hr, hrAfterwards;  // CreateShortcut's; CoInitialize's once the thread undid its own
};

DWORD WINAPI RunShortcut(LPVOID pv) {
  ShortcutRun *run = (ShortcutRun *)pv;
  if (run->dwCoInit != (DWORD)-1) CoInitializeEx(NULL, run->dwCoInit);
  run->hr = CreateShortcut((DistFolder() + "\\Tokavi.exe").c_str(), run->link.c_str(), "TokAvi");
  if (run->dwCoInit != (DWORD)-1) CoUninitialize();
  run->hrAfterwards = CoInitialize(NULL);
  CoUninitialize();
  return 0;
}

// COM already set up for the apartment serves the link; every initialisation
// is balanced; a thread in the other apartment model gets no link.
TEST(CreateShortcut, UsesCOMAsTheThreadHasIt) {
  const struct {
    DWORD dwCoInit;
    bool made;
  } cases[] = {{(DWORD)-1, true}, {COINIT_APARTMENTTHREADED, true}, {COINIT_MULTITHREADED, false}};
  for (const auto &c : cases) {
    TempFolder folder;
    ShortcutRun run = {c.dwCoInit, folder / "Tokavi.lnk", E_FAIL, E_FAIL};
    HANDLE hThread = CreateThread(NULL, 0, RunShortcut, &run, 0, NULL);
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
    EXPECT_EQ(c.made, FileExists(run.link)) << c.dwCoInit;
    EXPECT_EQ(c.made, SUCCEEDED(run.hr)) << c.dwCoInit;
    EXPECT_EQ(S_OK, run.hrAfterwards) << c.dwCoInit;
  }
}

// Windows NT: the DLL runner really installs the INF's default section from
// a source folder with blanks (the path unquoted), copying the library into
// the system folder, and the restart notice follows the launch. Any source
// folder fits the parameters.
TEST(RunInfSetup, LetsThePlatformInstallTheLibrary) {
  DeleteFileA(SystemLibrary().c_str());
  TempFolder source(" Tokavi Setup");
  CopyProductFiles(source.path());
  FolderWindow owner("");
  Responder responder;
  RunInfSetup(owner.hwnd, (source.path() + "\\").c_str());
  ASSERT_EQ(1u, responder.boxes.size());
  EXPECT_EQ("ｼｪﾙ拡張の更新は、Winodws再起動後、有効になります。", responder.boxes[0].text);
  EXPECT_EQ("Install", responder.boxes[0].caption);
  EXPECT_EQ((UINT)MB_OK, responder.boxes[0].style);
  EXPECT_EQ(owner.hwnd, responder.boxes[0].owner);
  for (int waited = 0; waited < 300 && !FileExists(SystemLibrary()); ++waited) Sleep(100);
  WaitForRunners();
  EXPECT_EQ(ReadFileText(DistFolder() + "\\ShTokavi.dll"), ReadFileText(SystemLibrary()));
  DeleteFileA(SystemLibrary().c_str());

  const std::string longest = "C:\\" + std::string(255, 'l') + "\\";
  char szProgram[MAX_PATH], szParameters[INF_PARAMETERS_SIZE], szFolder[MAX_PATH];
  lstrcpyA(szFolder, longest.c_str());
  ASSERT_TRUE(ComposeInfSetup(szProgram, szParameters, szFolder, FALSE));
  char szSystem[MAX_PATH];
  GetSystemDirectoryA(szSystem, MAX_PATH);
  EXPECT_EQ(std::string(szSystem) + "\\rundll32.exe", szProgram);
  EXPECT_EQ("setupapi,InstallHinfSection DefaultInstall 132 " + longest + "tokavi.inf",
            szParameters);
  EXPECT_EQ(longest, szFolder);
}

}  // namespace
