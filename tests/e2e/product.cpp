#include "product.h"

#include <windows.h>

const char kClsid[] = "{7A41D2E3-3C55-11D0-8F6B-0A1B2C3D4E5F}";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tokavi";
const char kSettingsKey[] = "Software\\Kel\\TokAvi";
const char kMakerKey[] = "Software\\Kel";

namespace {

const char *const kCopiedFiles[] = {"Tokavi.exe",  "Tokavi.txt",  "Tokavi.hlp", "Tokavi.cnt",
                                    "Install.exe", "history.txt", "Tokavi.inf"};
const char *const kRemovedFiles[] = {"tokavi.exe", "tokavi.txt", "tokavi.hlp",  "tokavi.cnt",
                                     "tokavi.gid", "Tokavi.inf", "History.txt", "Shtokavi.dll"};

const struct {
  bool Options::*option;
  const char *extension;
  const char *type;
} kAssociations[] = {
    {&Options::lzh, ".lzh", "LzhFile"},     {&Options::zip, ".zip", "ZipFile"},
    {&Options::arj, ".arj", "ArjFile"},     {&Options::tar, ".tar", "TarFile"},
    {&Options::tar, ".taz", "TazFile"},     {&Options::tar, ".tgz", "TgzFile"},
    {&Options::cab, ".cab", "ｷｬﾋﾞﾈｯﾄﾌｧｲﾙ"},
};

// The shell extension's entries under HKEY_CLASSES_ROOT, in writing order;
// `data` null stands for the library's path in the system folder.
const struct {
  std::string key;
  const char *value;
  const char *data;
  bool removed;
} kShellExtension[] = {
    {std::string("CLSID\\") + kClsid + "\\InProcServer32", NULL, NULL, true},
    {std::string("CLSID\\") + kClsid + "\\InProcServer32", "ThreadingModel", "Apartment", true},
    {std::string("CLSID\\") + kClsid, NULL, "ShTokavi", true},
    {"*\\shellex\\ContextMenuHandlers\\ShTokavi", NULL, kClsid, true},
    {"Directory\\shellex\\ContextMenuHandlers\\ShTokavi", NULL, kClsid, true},
    {"Folder\\shellex\\DragDropHandlers\\ShTokavi", NULL, kClsid, true},
    {"LzhFile\\shellex\\DropHandler", NULL, kClsid, true},
    {".lzh\\ShellNew", "NullFile", "", true},
    {"ZipFile\\shellex\\DropHandler", NULL, kClsid, false},
    {".zip\\ShellNew", "NullFile", "", false},
};

}  // namespace

std::string ShortPath(const std::string &path) {
  char sz[MAX_PATH] = "";
  GetShortPathNameA(path.c_str(), sz, MAX_PATH);
  return sz;
}

std::vector<std::string> AssociatedExtensions(const Options &options) {
  std::vector<std::string> extensions;
  for (const auto &a : kAssociations)
    if (options.*a.option) extensions.push_back(a.extension);
  return extensions;
}

void ExpectInstalled(Footprint &fp, const Installation &in, bool libraryPlaced) {
  fp.AddFolder(in.folder);
  for (const char *name : kCopiedFiles)
    fp.CopyFile(in.source + "\\" + name, in.folder + "\\" + name);
  if (libraryPlaced) fp.CopyFile(in.source + "\\ShTokavi.dll", in.system + "\\ShTokavi.dll");
  if (in.options.desktop) fp.AddAnyFile(in.desktop + "\\Tokavi.lnk");
  if (in.options.sendTo) fp.AddAnyFile(in.sendTo + "\\Tokavi.lnk");

  std::string program = ShortPath(in.folder + "\\Tokavi.exe");
  for (const auto &a : kAssociations) {
    if (!(in.options.*a.option)) continue;
    fp.SetString(HKEY_CLASSES_ROOT, a.extension, NULL, a.type);
    fp.SetString(HKEY_CLASSES_ROOT, a.type, NULL, a.type);
    fp.SetString(HKEY_CLASSES_ROOT, std::string(a.type) + "\\DefaultIcon", NULL, program + ",0");
    fp.SetString(HKEY_CLASSES_ROOT, std::string(a.type) + "\\shell\\open\\command", NULL,
                 program + " \"%1\"");
  }
  if (in.options.shellExtension) {
    for (const auto &e : kShellExtension)
      fp.SetString(HKEY_CLASSES_ROOT, e.key, e.value,
                   e.data ? e.data : in.system + "\\ShTokavi.dll");
  }
  // Always a fresh entry, whatever an earlier one held.
  fp.RemoveKey(HKEY_LOCAL_MACHINE, kUninstallKey);
  fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "ﾄｶｳﾞｨ");
  for (const char *ending : {"", " /S"})
    fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey,
                 *ending ? "QuietUninstallString" : "UninstallString",
                 "\"" + in.folder + "\\install.exe\" /d" + ending);
  fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", in.folder + "\\Tokavi.exe");
  fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation", in.folder + "\\");
  fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher", "Kel");
  fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", "3.12.2045.60001");
  // The installed files as they are now, in KiB rounded up.
  ULONGLONG cb = 0;
  for (const char *name : kCopiedFiles)
    if (const Fact *f = fp.FindFile(in.folder + "\\" + name)) cb += f->size;
  if (const Fact *f = fp.FindFile(in.system + "\\ShTokavi.dll")) cb += f->size;
  for (auto [value, number] : {std::pair{"EstimatedSize", (DWORD)((cb + 1023) / 1024)},
                               {"NoModify", 1ul},
                               {"NoRepair", 1ul}}) {
    // A REG_DWORD: the value as a text expectation, retyped.
    fp.SetString(HKEY_LOCAL_MACHINE, kUninstallKey, value, "");
    for (auto &[id, f] : fp.facts)
      if (f.kind == Fact::kValue && f.path == Wide(kUninstallKey) && f.name == Wide(value)) {
        f.type = REG_DWORD;
        f.data.assign((const char *)&number, sizeof number);
      }
  }
}

void ExpectUninstalled(Footprint &fp, const Installation &in, bool folderFound) {
  if (folderFound)
    for (const char *name : kRemovedFiles) fp.RemoveFile(in.folder + "\\" + name);
  fp.RemoveFile(in.sendTo + "\\Tokavi.lnk");
  fp.RemoveFile(in.desktop + "\\Tokavi.lnk");
  fp.RemoveFile(in.system + "\\ShTokavi.dll");
  fp.RemoveKey(HKEY_CURRENT_USER, kSettingsKey);
  // The maker key goes once nothing else, no other product's key and no
  // value, is left in it.
  if (!fp.HasEntries(HKEY_CURRENT_USER, kMakerKey)) fp.RemoveKey(HKEY_CURRENT_USER, kMakerKey);
  for (const auto &e : kShellExtension)
    if (e.removed) fp.RemoveKey(HKEY_CLASSES_ROOT, e.key);
  fp.RemoveKey(HKEY_LOCAL_MACHINE, kUninstallKey);
}
