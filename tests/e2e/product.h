// What Tokavi's installation writes and what its uninstall run takes away
// again, as footprint expectations. The names and values are the product's
// own tables, written out here once more: the program's tables are what is
// being checked.
#pragma once
#include <string>
#include <vector>

#include "footprint.h"
#include "session.h"

extern const char kClsid[];
extern const char kUninstallKey[];
extern const char kSettingsKey[];
extern const char kMakerKey[];

// The platform's short (8.3) form of a path.
std::string ShortPath(const std::string &path);

// The archive extensions the options associate, in registration order.
std::vector<std::string> AssociatedExtensions(const Options &options);

// The folders of one installation, without trailing backslashes.
struct Installation {
  std::string source;  // the product folder Install.exe ran from
  std::string folder;  // the install folder
  Options options;
  std::string system, desktop, sendTo;
};

// The files, shortcuts, associations, shell extension entries and the
// uninstall entry, for the chosen options. `libraryPlaced` says whether the
// library was copied to the system folder.
void ExpectInstalled(Footprint &fp, const Installation &installation, bool libraryPlaced = true);

// The uninstall run's removals: the product files in the install folder
// when the run finds it (the uninstall entry names it), the shortcuts, the
// library, the settings (and the maker key once it holds nothing else, no
// key and no value), the shell extension entries but those of ZIP archives,
// and the uninstall entry. What stays is the residue: Install.exe, the
// folder, the user's files, the associations and the ZIP entries.
void ExpectUninstalled(Footprint &fp, const Installation &installation, bool folderFound);
