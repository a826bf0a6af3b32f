// The entry in the list of installed programs: the display name, the
// command that starts this program's uninstall mode, and what the list shows
// beside them: the icon, folder, publisher, version and size, and only the
// one button, Uninstall.
#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "install.h"

// "<folder>\install.exe" /d, in a buffer of UNINSTALL_COMMAND_SIZE bytes. The
// program path is quoted, or the platform would end it at its first blank.
BOOL ComposeUninstallCommand(LPSTR pszCommand, LPCSTR pszFolder) {
  char szProgram[MAX_PATH];
  if (!ComposePath(szProgram, MAX_PATH, pszFolder, g_szUninstallProgram)) return FALSE;
  lstrcpyA(pszCommand, "\"");
  return AppendText(pszCommand, UNINSTALL_COMMAND_SIZE, szProgram) &&
         AppendText(pszCommand, UNINSTALL_COMMAND_SIZE, "\" ") &&
         AppendText(pszCommand, UNINSTALL_COMMAND_SIZE, g_szUninstallSwitch);
}

// The entry's key, always a fresh one: an existing entry is deleted first
// with everything in it. One that cannot be created, or that stays all the
// same, is reported: its old command would go on naming another folder.
static BOOL CreateFreshEntry(HWND hDlg, HKEY hWindows, HKEY *phEntry) {
  for (int nTry = 0; nTry < 2; ++nTry) {
    DWORD dwDisposition;
    *phEntry = OpenOwnKey(hWindows, g_szUninstallSubkey, SHARED_SUBKEY_NAMES, TRUE, &dwDisposition);
    if (!*phEntry) break;
    if (dwDisposition == REG_CREATED_NEW_KEY) return TRUE;
    RegCloseKey(*phEntry);
    if (nTry == 0) DeleteKeyTree(hWindows, g_szUninstallSubkey, SHARED_SUBKEY_NAMES);
  }
  ShowMessageBox(hDlg, g_szMsgUninstallInfoFailed, NULL, MB_ICONERROR);
  return FALSE;
}

// "major.minor.build.revision", composed right to left at the end of a
// buffer of VERSION_TEXT_SIZE bytes.
static LPCSTR FormatVersion(const VS_FIXEDFILEINFO *pFixed, LPSTR pszBuffer) {
  // The words minor, major, revision, build, in memory.
  const WORD *pwParts = (const WORD *)&pFixed->dwFileVersionMS;
  LPSTR psz = pszBuffer + VERSION_TEXT_SIZE;
  *--psz = '\0';
  for (int i = 0; i < 4; ++i) {
    UINT n = pwParts[i ^ 2];
    do *--psz = (char)('0' + n % 10);
    while (n /= 10);
    *--psz = '.';
  }
  return psz + 1;
}

// The file's version from its fixed version information; NULL when it has
// none. The file is loaded as data, none of its code runs. The information
// starts with its length, value length and type and the name
// "VS_VERSION_INFO" in UTF-16, whose end is aligned to 40 bytes: the fixed
// part follows.
LPCSTR ReadFileVersion(LPCSTR pszPath, LPSTR pszBuffer) {
  HMODULE hFile = LoadLibraryExA(pszPath, NULL, LOAD_LIBRARY_AS_DATAFILE);
  if (!hFile) return NULL;
  const VS_FIXEDFILEINFO *pFixed = NULL;
  HRSRC hInfo = FindResourceA(hFile, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  if (hInfo && SizeofResource(hFile, hInfo) >= 40 + sizeof *pFixed) {
    const BYTE *pbInfo = (const BYTE *)LockResource(LoadResource(hFile, hInfo));
    if (pbInfo) pFixed = (const VS_FIXEDFILEINFO *)(pbInfo + 40);
  }
  LPCSTR pszVersion =
      pFixed && pFixed->dwSignature == VS_FFI_SIGNATURE ? FormatVersion(pFixed, pszBuffer) : NULL;
  FreeLibrary(hFile);
  return pszVersion;
}

// The installed files' size in KiB, rounded up: the product files in the
// install folder and the library in the system folder, as they are now.
static DWORD MeasureInstalledFiles(LPCSTR pszFolder) {
  ULONGLONG cbTotal = 0;
  for (int i = 0; i <= g_cCopiedFiles; ++i) {
    char szPath[MAX_PATH];
    WIN32_FIND_DATAA fd;
    if ((i < g_cCopiedFiles ? ComposePath(szPath, MAX_PATH, pszFolder, g_aszCopiedFiles[i])
                            : ComposeSystemLibraryPath(szPath)) &&
        FindFileData(szPath, &fd))
      cbTotal += (ULONGLONG)fd.nFileSizeHigh << 32 | fd.nFileSizeLow;
  }
  return (DWORD)((cbTotal + 1023) >> 10);
}

// The values in the order of their names: the texts (a NULL one is left
// out), then the size and NoModify and NoRepair. One that cannot be written
// is passed over.
static void WriteEntryValues(HKEY hEntry, const LPCSTR *ppszTexts, DWORD dwSize) {
  const DWORD adwNumbers[] = {dwSize, 1, 1};
  LPCSTR pszName = g_szUninstallValues;
  for (int i = 0; *pszName; ++i, pszName += lstrlenA(pszName) + 1) {
    if (i >= ENTRY_TEXTS)
      RegSetValueExA(hEntry, pszName, 0, REG_DWORD, (const BYTE *)&adwNumbers[i - ENTRY_TEXTS],
                     sizeof(DWORD));
    else if (ppszTexts[i])
      WriteRegistryText(hEntry, pszName, ppszTexts[i]);
  }
}

// The icon is the installed Tokavi.exe by the folder as typed, the location
// that folder with its backslash; the quiet command is the command with
// " /S". Every path from the folder fits, or the files were not copied.
// Whether the entry was written.
BOOL RegisterUninstallInfo(HWND hDlg, LPCSTR pszFolder) {
  char szCommand[UNINSTALL_COMMAND_SIZE], szQuiet[UNINSTALL_COMMAND_SIZE];
  char szIcon[MAX_PATH], szLocation[MAX_PATH], szVersion[VERSION_TEXT_SIZE];
  if (!ComposeUninstallCommand(szCommand, pszFolder) ||
      !ComposePath(szIcon, MAX_PATH, pszFolder, g_szMainExe))
    return FALSE;
  // The command's program path fits MAX_PATH: with its quotes and both
  // switches it fills the buffer at most.
  lstrcatA(lstrcpyA(szQuiet, szCommand), g_szQuietEnding);
  lstrcpyA(szLocation, pszFolder);
  if (!AppendBackslash(szLocation, MAX_PATH)) return FALSE;
  const LPCSTR apszTexts[ENTRY_TEXTS] = {szCommand,
                                         szQuiet,
                                         g_szDisplayName,
                                         szIcon,
                                         szLocation,
                                         g_szPublisher,
                                         ReadFileVersion(szIcon, szVersion)};
  HKEY hWindows, hEntry;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, g_szWindowsKey, 0,
                    KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, &hWindows) != ERROR_SUCCESS)
    return FALSE;
  BOOL bWritten = CreateFreshEntry(hDlg, hWindows, &hEntry);
  if (bWritten) {
    WriteEntryValues(hEntry, apszTexts, MeasureInstalledFiles(pszFolder));
    RegCloseKey(hEntry);
  }
  RegCloseKey(hWindows);
  return bWritten;
}
