// A footprint: what the machine holds, as facts that can be compared with an
// expectation and restored. The registry part is every key and value under
// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE; the file part
// is the files of the folders a test names.
//
// Names are taken in the ANSI code page (Shift-JIS), as the installer writes
// them; values are kept as the registry stores them (strings in UTF-16), so
// that a missing terminator or a wrong type shows.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "../harness.h"

struct Fact {
  enum Kind { kKey, kValue, kFolder, kFile };
  Kind kind = kKey;
  HKEY root = NULL;   // registry facts
  std::wstring path;  // the key under its root, or the full file path
  std::wstring name;  // a value's name, empty for the default value
  DWORD type = 0;     // a value's type
  std::string data;   // a value's data as stored
  ULONGLONG size = 0, written = 0;
  ULONGLONG hash = 0;        // of the contents; 0 where a folder is not read
  bool anyContents = false;  // an expected file whose contents are checked elsewhere
};

class Footprint {
 public:
  // Records the whole registry, apart from what Wine changes on its own.
  void TakeRegistry();
  // Records a folder (if it exists) and its files; `deep` descends into its
  // subfolders, `read` hashes the contents.
  void TakeFolder(const std::string &folder, bool deep, bool read);

  // Expectations, edited from a footprint taken before.
  // A REG_SZ value as the ANSI functions write it, terminator included; its
  // key and the key's missing ancestors come with it.
  void SetString(HKEY root, const std::string &key, const char *value, const std::string &text);
  void AddKey(HKEY root, const std::string &key);
  // The key, its values and its whole subtree.
  void RemoveKey(HKEY root, const std::string &key);
  void AddFolder(const std::string &folder);
  // A file with the contents of another, as recorded: a copy keeps the size,
  // the time of the last write and the contents.
  void CopyFile(const std::string &from, const std::string &to);
  // A file whose contents another check reads.
  void AddAnyFile(const std::string &path);
  void RemoveFile(const std::string &path);
  const Fact *FindFile(const std::string &path) const;
  // Whether the key holds subkeys or values.
  bool HasEntries(HKEY root, const std::string &key) const;

  // Keeps the footprint in a file, and reads it back.
  bool Save(const std::string &file) const;
  bool Load(const std::string &file);

  std::map<std::wstring, Fact> facts;
};

// Every difference, one line each in UTF-8, or "" when there is none.
std::string Differences(const Footprint &expected, const Footprint &actual);

// Puts the registry and the files back as `before` recorded them: keys,
// values, files and folders that are new go, keys and values that went or
// changed come back. Files that went or changed cannot come back; they are
// listed in the result, which is "" when everything was restored.
std::string Restore(const Footprint &before, const Footprint &now);

// Text conversions between the ANSI code page, UTF-16 and UTF-8 (Wide is
// the harness's).
std::string Ansi(const std::wstring &wide);
std::string Utf8(const std::wstring &wide);
std::string Utf8FromAnsi(const std::string &ansi);
