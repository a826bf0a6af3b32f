// The product's fixed layout. Letter cases differ between lists on purpose:
// each form is the one used in that place, and the file system and registry
// ignore case.
#include "layout.h"

#include <shlobj.h>

const char g_szMainWindowClass[] PACKED_TEXT = "TokaviWClass";
const char g_szUninstallSwitch[] PACKED_TEXT = "/d";
// The unattended runs' switches, matched in any case: "/S" alone, or
// after "/d"; the choice of check boxes and the folder after it. The
// uninstall entry records the quiet command with its own spelling.
const char g_szSilentSwitch[] PACKED_TEXT = "/s";
const char g_szTasksSwitch[] PACKED_TEXT = "/tasks=";
const char g_szFolderSwitch[] PACKED_TEXT = "/d=";
const char g_szQuietEnding[] PACKED_TEXT = " /S";
// The check boxes' task names, each ended by a zero, in the order of their
// identifiers; an empty one stands for an identifier of no check box.
const char g_szTaskNames[] PACKED_TEXT =
    "shellext\0tar\0cab\0\0\0\0desktop\0sendto\0lzh\0\0\0zip\0arj";
const char g_szShellExtName[] PACKED_TEXT = "ShTokavi";
const char g_szLinkFile[] PACKED_TEXT = "Tokavi.lnk";
const char g_szLinkDescription[] PACKED_TEXT = "TokAvi";
const char g_szDefaultFolderTail[] PACKED_TEXT = ":\\Program Files\\Tokavi";
const char g_szDisplayName[] PACKED_TEXT = "ﾄｶｳﾞｨ";
const char g_szUninstallProgram[] PACKED_TEXT = "install.exe";

// The file whose presence marks the product folder, the shortcut and
// association target, and the INF handed to the platform's setup.
const char g_szMarkerFile[] PACKED_TEXT = "tokavi.exe";
const char g_szMainExe[] PACKED_TEXT = "Tokavi.exe";
const char g_szInfFile[] PACKED_TEXT = "tokavi.inf";
const char g_szShellExtFile[] PACKED_TEXT = "ShTokavi.dll";
const char g_szSystemShellExt[] PACKED_TEXT = "\\ShTokavi.dll";

// Copied from the source folder into the install folder, in this order; the
// first must exist and must be copied. The shell extension library, which
// the product folder holds beside them, follows them: it goes to the system
// folder.
const LPCSTR g_aszCopiedFiles[] = {
    "Tokavi.exe",  "Tokavi.txt",  "Tokavi.hlp", "Tokavi.cnt",
    "Install.exe", "history.txt", "Tokavi.inf", g_szShellExtFile,
};
const int g_cCopiedFiles = sizeof g_aszCopiedFiles / sizeof g_aszCopiedFiles[0] - 1;

// Deleted from the install folder by the uninstall run, in this order.
// Install.exe and the folder itself stay.
const LPCSTR g_aszRemovedFiles[] = {
    g_szMarkerFile, "tokavi.txt", "tokavi.hlp",  "tokavi.cnt",
    "tokavi.gid",   "Tokavi.inf", "History.txt", "Shtokavi.dll",
};
const int g_cRemovedFiles = sizeof g_aszRemovedFiles / sizeof g_aszRemovedFiles[0];

// Archive extensions in registration order, with the check box that selects
// them and the file type they open as.
const ARCHIVETYPE g_aArchiveTypes[] = {
    {IDC_ASSOC_LZH, ".lzh", "LzhFile"},     {IDC_ASSOC_ZIP, ".zip", "ZipFile"},
    {IDC_ASSOC_ARJ, ".arj", "ArjFile"},     {IDC_ASSOC_TAR, ".tar", "TarFile"},
    {IDC_ASSOC_TAR, ".taz", "TazFile"},     {IDC_ASSOC_TAR, ".tgz", "TgzFile"},
    {IDC_ASSOC_CAB, ".cab", "ｷｬﾋﾞﾈｯﾄﾌｧｲﾙ"},
};
const int g_cArchiveTypes = sizeof g_aArchiveTypes / sizeof g_aArchiveTypes[0];

// The main application's settings, under HKEY_CURRENT_USER; it records its
// install folder there.
#define MAKER "Kel"
#define MAKER_KEY "Software\\" MAKER
#define SETTINGS_KEY MAKER_KEY "\\TokAvi"
const char g_szSettingsKey[] PACKED_TEXT = SETTINGS_KEY;
const char g_szFoldersKey[] PACKED_TEXT = SETTINGS_KEY "\\Folders";
const char g_szInstallDirValue[] PACKED_TEXT = "TokAviDir";
const char g_szMakerKey[] PACKED_TEXT = MAKER_KEY;

const char g_szShellFoldersKey[] PACKED_TEXT =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The shortcuts in the order the installation makes them; the uninstall run
// deletes them the other way round.
const SHORTCUTPLACE g_aShortcutPlaces[] = {
    {IDC_DESKTOP_LINK, "Desktop", CSIDL_DESKTOPDIRECTORY},
    {IDC_SENDTO_LINK, "SendTo", CSIDL_SENDTO},
};
const int g_cShortcutPlaces = sizeof g_aShortcutPlaces / sizeof g_aShortcutPlaces[0];

// The entry in the list of installed programs, under HKEY_LOCAL_MACHINE.
const char g_szWindowsKey[] PACKED_TEXT = WINDOWS_KEY;
const char g_szUninstallKey[] PACKED_TEXT = WINDOWS_KEY "\\Uninstall\\Tokavi";
const char g_szPublisher[] PACKED_TEXT = MAKER;
// The entry's values, each name ended by a zero: the texts, UninstallString
// (which the uninstall run reads back) first, then the numbers.
const char g_szUninstallValues[] PACKED_TEXT =
    "UninstallString\0QuietUninstallString\0DisplayName\0DisplayIcon\0InstallLocation\0"
    "Publisher\0DisplayVersion\0EstimatedSize\0NoModify\0NoRepair\0";

// The handlers name the class by its identifier, the end of its key's
// name; the class is named after its handlers, the end of theirs. Each
// text is held once.
static const char s_szClassKey[] PACKED_TEXT = "CLSID\\" TOKAVI_CLSID;
#define CLASS_ID (s_szClassKey + sizeof "CLSID\\" - 1)
#define HANDLERS_KEY "shellex\\ContextMenuHandlers\\"
static const char s_szFileHandlerKey[] PACKED_TEXT = "*\\" HANDLERS_KEY "ShTokavi";
#define HANDLER_NAME (s_szFileHandlerKey + sizeof "*\\" HANDLERS_KEY - 1)

// The shell extension registration under HKEY_CLASSES_ROOT, in writing order,
// with the number of names at the start of each key that others share: CLSID
// and the handler lists; the file types and extensions are ours.
// The uninstall run deletes the keys named after the extension, and the LZH
// drop handler and new-file entry while they are still as written here, in
// this order; the drop handler and new-file entry of ZIP archives stay.
const SHELLEXTVALUE g_aShellExtValues[] = {
    {"CLSID\\" TOKAVI_CLSID "\\InProcServer32", NULL, NULL, KEY_REMOVED, 1},
    {"CLSID\\" TOKAVI_CLSID "\\InProcServer32", "ThreadingModel", "Apartment", KEY_STAYS, 1},
    {s_szClassKey, NULL, HANDLER_NAME, KEY_REMOVED, 1},
    {s_szFileHandlerKey, NULL, CLASS_ID, KEY_REMOVED, 3},
    {"Directory\\" HANDLERS_KEY "ShTokavi", NULL, CLASS_ID, KEY_REMOVED, 3},
    {"Folder\\shellex\\DragDropHandlers\\ShTokavi", NULL, CLASS_ID, KEY_REMOVED, 3},
    {"LzhFile\\shellex\\DropHandler", NULL, CLASS_ID, KEY_REMOVED_WHILE_OURS, 0},
    {".lzh\\ShellNew", "NullFile", "", KEY_REMOVED_WHILE_OURS, 0},
    {"ZipFile\\shellex\\DropHandler", NULL, CLASS_ID, KEY_STAYS, 0},
    {".zip\\ShellNew", "NullFile", "", KEY_STAYS, 0},
};
const int g_cShellExtValues = sizeof g_aShellExtValues / sizeof g_aShellExtValues[0];

// What an associated file type opens with, under the file type's key: the
// first icon of the main executable, and the executable with the file.
const char g_szDefaultIconSubkey[] PACKED_TEXT = "DefaultIcon";
const char g_szOpenCommandSubkey[] PACKED_TEXT = "shell\\open\\command";
const char g_szIconIndex[] PACKED_TEXT = ",0";
const char g_szOpenArgument[] PACKED_TEXT = " \"%1\"";

// A copy, and the file it replaces, beside the destination while the copy
// step runs: ours by their endings, which a later run finds again.
const char g_szNewEnding[] PACKED_TEXT = ".~new";
const char g_szOldEnding[] PACKED_TEXT = ".~old";

// Windows 95 deletes a file named after "NUL=" in the [rename] section of
// WININIT.INI in the Windows folder when it next starts; the file is
// rewritten through a new one of a free name beside it.
const char g_szWininitFile[] PACKED_TEXT = "WININIT.INI";
const char g_szRenameHeader[RENAME_HEADER_SIZE] PACKED_TEXT = "[rename]";
const char g_szLineEnd[] PACKED_TEXT = "\r\n";
const char g_szDeleteLine[] PACKED_TEXT = "NUL=";

// The platform's INF setup: the DLL runner and the Setup library of Windows
// 95 (the runner in the Windows folder) and of Windows NT (in the system
// folder), then the entry, section and mode handed to it.
const char g_szInfVerb[] PACKED_TEXT = "open";
const char g_szInfRunner95[] PACKED_TEXT = "\\rundll.exe";
const char g_szInfLibrary95[] PACKED_TEXT = "setupx.dll";
const char g_szInfRunnerNT[] PACKED_TEXT = "\\rundll32.exe";
const char g_szInfLibraryNT[] PACKED_TEXT = "setupapi";
const char g_szInfEntry[] PACKED_TEXT = ",InstallHinfSection DefaultInstall ";
// The mode: the folder of the INF as the files' source (128), asking for a
// restart when one is needed (4), which the unattended run leaves to its
// caller.
const char g_szInfMode[] PACKED_TEXT = "132 ";
const char g_szInfQuietMode[] PACKED_TEXT = "128 ";
