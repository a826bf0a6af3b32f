// The file probe, the folder lookups and path composition.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "harness.h"
#include "layout/lookups.h"
#include "layout/paths.h"

namespace {

const char kFolders[] = "Software\\Kel\\TokAvi\\Folders";
const char kShellFolders[] =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(ProbeFile, TellsFoldersFilesAndNothingApart) {
  TempFolder temp;
  WriteFile(temp / "a.txt", "x");
  ASSERT_TRUE(SetFileTime(temp / "a.txt", 0x12345678));
  EXPECT_EQ(1u, ProbeFile(temp.path().c_str()));
  EXPECT_EQ(0x12345678u, ProbeFile((temp / "a.txt").c_str()));
  EXPECT_EQ(0u, ProbeFile((temp / "missing.txt").c_str()));
  EXPECT_EQ(0u, ProbeFile("C:\\"));
}

// Folders whose last character is a Shift-JIS one with 0x5C as its second
// byte still get their separator, and a trailing one is not doubled.
TEST(ComposePath, SeparatesByCharactersNotBytes) {
  const struct {
    const char *folder;
    const char *path;
  } cases[] = {
      {"C:\\表", "C:\\表\\Tokavi.exe"},   {"C:\\ソ", "C:\\ソ\\Tokavi.exe"},
      {"C:\\表\\", "C:\\表\\Tokavi.exe"}, {"C:\\Tokavi", "C:\\Tokavi\\Tokavi.exe"},
      {"C:\\", "C:\\Tokavi.exe"},         {"", "\\Tokavi.exe"},
  };
  for (const auto &c : cases) {
    char sz[MAX_PATH];
    ASSERT_TRUE(ComposePath(sz, MAX_PATH, c.folder, "Tokavi.exe")) << c.folder;
    EXPECT_STREQ(c.path, sz);
  }
  char sz[MAX_PATH] = "C:\\能\\";
  RemoveTrailingBackslash(sz);
  EXPECT_STREQ("C:\\能", sz);
  RemoveTrailingBackslash(sz);
  EXPECT_STREQ("C:\\能", sz);
}

TEST(ComposePath, RefusesWhatDoesNotFit) {
  std::string folder = "C:\\" + std::string(245, 'a');  // 248 bytes
  char sz[MAX_PATH];
  EXPECT_TRUE(ComposePath(sz, MAX_PATH, folder.c_str(), "Tokavi.exe"));  // 259 bytes
  EXPECT_FALSE(ComposePath(sz, MAX_PATH, folder.c_str(), "Tokavi.exe1"));
  EXPECT_FALSE(ComposePath(sz, MAX_PATH, std::string(300, 'a').c_str(), "x"));
  char small[8] = "abcdefg";
  EXPECT_FALSE(AppendBackslash(small, sizeof small));
  EXPECT_STREQ("abcdefg", small);
}

// Decided by characters: a Shift-JIS character's second byte may be 0x5C
// (表) or 0x7C (ポ), and such names are valid.
TEST(IsAbsoluteFolder, TakesRootedFoldersWithValidNamesOnly) {
  // clang-format off
  const char *const valid[] = {
      "C:\\Tokavi", "c:\\Program Files\\Tokavi\\", "C:\\", "\\\\server\\share\\",
      "\\\\server\\share\\Tokavi", "D:\\表\\ソ", "C:\\ポ", "C:\\ﾃｽﾄ.1", "C:\\.a\\a b",
      "C:\\CONX", "C:\\COM0", "C:\\console\\LPT"};
  const char *const invalid[] = {
      "", "bar", "C:", "C:Tokavi", "\\Tokavi", "1:\\x", "C:\\a*", "C:\\a?", "C:\\a\"b",
      "C:\\a<b", "C:\\a>b", "C:\\a|b", "C:\\a:b", "C:\\a/b", "C:\\a\tb", "C:\\a.", "C:\\a \\b",
      "C:\\.", "C:\\..\\a", "C:\\a\\\\b", "C:\\a\\\\", "\\\\server\\share", "\\\\\\share\\",
      "\\\\server\\\\", "C:\\表.", "C:\\ポ|", "C:\\CON", "C:\\a\\nul", "C:\\AUX.txt", "C:\\com1",
      "C:\\LPT9\\x", "\\\\prn\\share"};
  // clang-format on
  for (const char *folder : valid) EXPECT_TRUE(IsAbsoluteFolder(folder)) << folder;
  for (const char *folder : invalid) EXPECT_FALSE(IsAbsoluteFolder(folder)) << folder;
}

TEST(ReadInstallFolder, YieldsOnlyATerminatedNonEmptyFolder) {
  const struct {
    const char *name;
    std::string data;  // as stored, terminator included or not
    DWORD type;
    int result;
    std::string folder;
  } cases[] = {
      {"plain", std::string("C:\\Tokavi\0", 10), REG_SZ, 1, "C:\\Tokavi"},
      {"unterminated", "D:\\表", REG_SZ, 1, "D:\\表"},
      {"binary", "E:\\x", REG_BINARY, 0, "untouched"},
      {"expandable", std::string("E:\\x\0", 5), REG_EXPAND_SZ, 0, "untouched"},
      {"a number", std::string("C:\\\0", 4), REG_DWORD, 0, "untouched"},
      {"empty", std::string("\0", 1), REG_SZ, 0, "untouched"},
      {"no data", "", REG_SZ, 0, "untouched"},
      {"fills the buffer", std::string(259, 'a') + '\0', REG_SZ, 1, std::string(259, 'a')},
      {"too long unterminated", std::string(260, 'a'), REG_SZ, 0, "untouched"},
      {"too long", std::string(300, 'a') + '\0', REG_SZ, 0, "untouched"},
  };
  for (const auto &c : cases) {
    RegistrySandbox sandbox;
    WriteValue(HKEY_CURRENT_USER, kFolders, "TokAviDir", c.data, c.type);
    char sz[MAX_PATH] = "untouched";
    EXPECT_EQ(c.result, ReadInstallFolder(sz)) << c.name;
    EXPECT_EQ(c.folder, sz) << c.name;
  }
}

TEST(ReadInstallFolder, NeedsTheKeyAndTheValue) {
  RegistrySandbox sandbox;
  char sz[MAX_PATH] = "untouched";
  EXPECT_EQ(0, ReadInstallFolder(sz));
  WriteValue(HKEY_CURRENT_USER, kFolders, "Other", "C:\\x");
  EXPECT_EQ(0, ReadInstallFolder(sz));
  EXPECT_STREQ("untouched", sz);
}

// A missing, empty or unusable value, or no Shell Folders key at all: the
// shell's own folder, never an empty one.
TEST(ComposeLinkPath, TakesTheValueElseAsksTheShell) {
  char szShell[MAX_PATH] = "";
  ASSERT_TRUE(SHGetSpecialFolderPathA(NULL, szShell, CSIDL_SENDTO, FALSE));
  const std::string shellLink = std::string(szShell) + "\\Tokavi.lnk";
  const SHORTCUTPLACE *desktop = &g_aShortcutPlaces[0], *sendTo = &g_aShortcutPlaces[1];
  RegistrySandbox sandbox;
  char sz[MAX_PATH] = "old";
  EXPECT_EQ(1, ComposeLinkPath(sendTo, sz));
  EXPECT_EQ(shellLink, sz);
  WriteValue(HKEY_CURRENT_USER, kShellFolders, "Desktop", "C:\\デスクトップ");
  EXPECT_EQ(1, ComposeLinkPath(desktop, sz));
  EXPECT_STREQ("C:\\デスクトップ\\Tokavi.lnk", sz);
  for (const std::string &data : {std::string(260, 's'), std::string("\0", 1)}) {
    WriteValue(HKEY_CURRENT_USER, kShellFolders, "SendTo", data, REG_BINARY);
    EXPECT_EQ(1, ComposeLinkPath(sendTo, sz));
    EXPECT_EQ(shellLink, sz);
  }
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, kShellFolders));
  EXPECT_EQ(1, ComposeLinkPath(sendTo, sz));
  EXPECT_EQ(shellLink, sz);
}

// A UTF-16 path is taken in ANSI only by a name that converts back to it:
// its own, else an existing one's short name; never a look-alike.
TEST(ConvertFaithfully, TakesOnlyANameThatConvertsBack) {
  TempFolder temp;
  const std::wstring cafe = Wide(temp.path()) + L"\\Caf\xE9";
  WCHAR wszShort[MAX_PATH] = L"";
  ASSERT_TRUE(CreateDirectoryW(cafe.c_str(), NULL));
  GetShortPathNameW(cafe.c_str(), wszShort, MAX_PATH);
  const std::wstring longest(200, L'\x8868');  // 表, two bytes each in ANSI
  const struct {
    std::wstring path, expected;  // "" when refused
    int cb;
  } cases[] = {
      {L"C:\\Tokavi\\\x8868\x793A", L"C:\\Tokavi\\\x8868\x793A", MAX_PATH},
      {cafe, wszShort, MAX_PATH},
      {L"C:\\Caf\xE9", L"", MAX_PATH},  // no such folder, so no short name
      {L"C:\\Tokavi\xA5..\xA5x\x301Cy\x2212z", L"", MAX_PATH},
      {longest, L"", MAX_PATH},
      {longest, longest, 2 * MAX_PATH},
  };
  for (const auto &c : cases) {
    std::wstring path = c.path + std::wstring(MAX_PATH, L'\0');
    char sz[2 * MAX_PATH] = "";
    EXPECT_EQ(!c.expected.empty(), ConvertFaithfully(&path[0], sz, c.cb)) << c.path.size();
    if (!c.expected.empty()) {
      EXPECT_EQ(c.expected, Wide(sz));
    }
  }
}

}  // namespace
