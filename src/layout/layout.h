// The product's fixed layout: every file, folder, registry key, value and text
// that the installer writes or removes, held once as data.
#pragma once
#include <windows.h>

#include "../../res/resource.h"
#include "platform.h"

#define TOKAVI_CLSID "{7A41D2E3-3C55-11D0-8F6B-0A1B2C3D4E5F}"

// The uninstall command: a program path that fits MAX_PATH, in double
// quotes, then a blank and the switch.
#define UNINSTALL_COMMAND_SIZE (MAX_PATH + 8)

// One archive extension: the check box that selects it and its file type.
struct ARCHIVETYPE {
  int idCheckBox;
  LPCSTR pszExtension;
  LPCSTR pszFileType;
};

// What the uninstall run does with a key of the shell extension
// registration: it stays; it goes; it goes while it still holds only the
// value written here, so that another program's handler stays.
enum { KEY_STAYS, KEY_REMOVED, KEY_REMOVED_WHILE_OURS };

// One value of the shell extension registration.
struct SHELLEXTVALUE {
  LPCSTR pszKey;    // under HKEY_CLASSES_ROOT
  LPCSTR pszValue;  // NULL for the key's default value
  LPCSTR pszData;   // NULL for the library's path in the system folder
  int nRemoval;     // KEY_STAYS, KEY_REMOVED or KEY_REMOVED_WHILE_OURS
  int cShared;      // the key's first names that others share
};

// One shortcut: the check box that asks for it, and its folder as the
// Shell Folders value and as the shell's folder identifier.
struct SHORTCUTPLACE {
  int idCheckBox;
  LPCSTR pszShellFolder;
  int nFolder;
};

extern const char g_szMainWindowClass[];
extern const char g_szUninstallSwitch[];
extern const char g_szSilentSwitch[];
extern const char g_szTasksSwitch[];
extern const char g_szFolderSwitch[];
extern const char g_szQuietEnding[];
extern const char g_szTaskNames[];
extern const char g_szShellExtName[];
extern const char g_szLinkFile[];
extern const char g_szLinkDescription[];
extern const char g_szDefaultFolderTail[];
extern const char g_szDisplayName[];
extern const char g_szUninstallProgram[];

extern const char g_szMarkerFile[];
extern const char g_szMainExe[];
extern const char g_szInfFile[];
extern const char g_szShellExtFile[];
extern const char g_szSystemShellExt[];
extern const LPCSTR g_aszCopiedFiles[];
extern const int g_cCopiedFiles;
extern const LPCSTR g_aszRemovedFiles[];
extern const int g_cRemovedFiles;

extern const ARCHIVETYPE g_aArchiveTypes[];
extern const int g_cArchiveTypes;
extern const SHORTCUTPLACE g_aShortcutPlaces[];
extern const int g_cShortcutPlaces;

// How many of a key path's first names are keys that others share, which
// may be links the system made: HKEY_CURRENT_USER's Software for the
// settings and the maker key, the list of installed programs for the
// entry, and that list under g_szWindowsKey.
#define SHARED_SETTINGS_NAMES 1
#define SHARED_ENTRY_NAMES 5
#define SHARED_SUBKEY_NAMES 1

extern const char g_szSettingsKey[];
extern const char g_szFoldersKey[];
extern const char g_szInstallDirValue[];
extern const char g_szMakerKey[];
extern const char g_szShellFoldersKey[];
extern const char g_szWindowsKey[];
// The entry's key, under HKEY_LOCAL_MACHINE and (the end of its name)
// under g_szWindowsKey.
#define WINDOWS_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
extern const char g_szUninstallKey[];
#define g_szUninstallSubkey (g_szUninstallKey + sizeof WINDOWS_KEY)
extern const char g_szPublisher[];
extern const char g_szUninstallValues[];
extern const SHELLEXTVALUE g_aShellExtValues[];
extern const int g_cShellExtValues;

extern const char g_szDefaultIconSubkey[];
extern const char g_szOpenCommandSubkey[];
extern const char g_szIconIndex[];
extern const char g_szOpenArgument[];

// The endings a copy and the file it replaces have beside its destination
// while the copy step runs.
#define TEMP_ENDING_SIZE 5
extern const char g_szNewEnding[];
extern const char g_szOldEnding[];

extern const char g_szWininitFile[];
#define RENAME_HEADER_SIZE 9
extern const char g_szRenameHeader[RENAME_HEADER_SIZE];
extern const char g_szLineEnd[];
extern const char g_szDeleteLine[];

extern const char g_szInfVerb[];
extern const char g_szInfRunner95[];
extern const char g_szInfLibrary95[];
extern const char g_szInfRunnerNT[];
extern const char g_szInfLibraryNT[];
extern const char g_szInfEntry[];
extern const char g_szInfMode[];
extern const char g_szInfQuietMode[];
