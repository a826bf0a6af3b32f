#include "footprint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const struct {
  HKEY key;
  const wchar_t *name;
} kRoots[] = {
    {HKEY_CLASSES_ROOT, L"HKCR"},
    {HKEY_CURRENT_USER, L"HKCU"},
    {HKEY_LOCAL_MACHINE, L"HKLM"},
};

struct KeyPrefix {
  HKEY root;
  const wchar_t *key;
};

// Keys seen under another name: HKEY_CLASSES_ROOT shows the machine's and
// the user's Classes keys.
const KeyPrefix kSeenElsewhere[] = {
    {HKEY_CURRENT_USER, L"Software\\Classes"},
    {HKEY_LOCAL_MACHINE, L"Software\\Classes"},
};

// What Wine changes on its own while programs come and go: a process that
// sets up its display rewrites the device classes of display adapters and
// monitors (a new DriverDateData each time, a stray SymbolicLinkValue, the
// monitor class's name coming and going).
const KeyPrefix kWinesOwn[] = {
    {HKEY_LOCAL_MACHINE,
     L"System\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}"},
    {HKEY_LOCAL_MACHINE,
     L"System\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}"},
};

const wchar_t *RootName(HKEY root) {
  for (const auto &r : kRoots)
    if (r.key == root) return r.name;
  return L"?";
}

std::wstring Upper(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(&text[0], (DWORD)text.size());
  return text;
}

std::wstring KeyId(HKEY root, const std::wstring &path) {
  return L"K" + std::wstring(RootName(root)) + L"\\" + Upper(path);
}

std::wstring ValueId(HKEY root, const std::wstring &path, const std::wstring &name) {
  return L"V" + std::wstring(RootName(root)) + L"\\" + Upper(path) + L'\x01' + Upper(name);
}

std::wstring FileId(const std::wstring &path) { return L"F" + Upper(path); }

bool Under(const std::wstring &path, const std::wstring &prefix) {
  std::wstring p = Upper(path), q = Upper(prefix);
  return p == q || (p.size() > q.size() && p.compare(0, q.size(), q) == 0 && p[q.size()] == L'\\');
}

bool Listed(HKEY root, const std::wstring &path, const KeyPrefix *list, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (list[i].root == root && Under(path, list[i].key)) return true;
  return false;
}

// The key and those of its ancestors that are missing.
void AddKeyPath(Footprint &fp, HKEY root, const std::wstring &path) {
  for (size_t end = path.size(); end != std::wstring::npos; end = path.rfind(L'\\', end - 1)) {
    std::wstring ancestor = path.substr(0, end);
    std::wstring id = KeyId(root, ancestor);
    if (fp.facts.count(id)) break;
    Fact fact;
    fact.kind = Fact::kKey;
    fact.root = root;
    fact.path = ancestor;
    fp.facts[id] = fact;
    if (end == 0) break;
  }
}

// Reads one escaped text of a saved registry file up to `end` (a quote or
// a bracket), as Wine writes it: C escapes, octal, and \x with up to four
// hexadecimal digits for every character beyond ASCII.
std::wstring ParseText(const std::string &line, size_t *pos, char end) {
  std::wstring text;
  size_t i = *pos;
  while (i < line.size() && line[i] != end) {
    if (line[i] != '\\') {
      text += (wchar_t)(unsigned char)line[i++];
      continue;
    }
    char c = ++i < line.size() ? line[i] : '\0';
    const char *escapes =
        "a\ab\be\x1b"
        "f\fn\nr\rt\tv\v";
    const char *e = c ? strchr(escapes, c) : NULL;
    if (e && (e - escapes) % 2 == 0) {
      text += (wchar_t)e[1];
      ++i;
    } else if (c == 'x') {
      unsigned value = 0;
      size_t j = i + 1;
      for (; j < line.size() && j < i + 5 && isxdigit((unsigned char)line[j]); ++j)
        value = value * 16 +
                (isdigit((unsigned char)line[j]) ? line[j] - '0' : (tolower(line[j]) - 'a' + 10));
      text += (wchar_t)value;
      i = j;
    } else if (c >= '0' && c <= '7') {
      unsigned value = 0;
      size_t j = i;
      for (; j < line.size() && j < i + 3 && line[j] >= '0' && line[j] <= '7'; ++j)
        value = value * 8 + (line[j] - '0');
      text += (wchar_t)value;
      i = j;
    } else {
      text += (wchar_t)(unsigned char)c;
      ++i;
    }
  }
  *pos = i + 1;
  return text;
}

// A value's data in its saved form: a string, str(type):"...",
// dword:xxxxxxxx, hex:.. or hex(type):.. (the bytes of one value may run over
// several lines, joined before).
bool ParseData(const std::string &line, size_t pos, DWORD *type, std::string *data) {
  if (line.compare(pos, 4, "str(") == 0 || line[pos] == '"') {
    *type = REG_SZ;
    if (line[pos] != '"') {
      *type = strtoul(line.c_str() + pos + 4, NULL, 16);
      pos = line.find(":\"", pos);
      if (pos == std::string::npos) return false;
      ++pos;
    }
    ++pos;
    std::wstring text = ParseText(line, &pos, '"') + L'\0';  // only terminated strings are saved so
    data->assign((const char *)text.data(), text.size() * sizeof(wchar_t));
    return true;
  }
  if (line.compare(pos, 6, "dword:") == 0) {
    *type = REG_DWORD;
    DWORD value = strtoul(line.c_str() + pos + 6, NULL, 16);
    data->assign((const char *)&value, sizeof value);
    return true;
  }
  if (line.compare(pos, 3, "hex") != 0) return false;
  *type = REG_BINARY;
  pos += 3;
  if (line[pos] == '(') *type = strtoul(line.c_str() + pos + 1, NULL, 16);
  pos = line.find(':', pos);
  if (pos == std::string::npos) return false;
  data->clear();
  for (++pos; pos < line.size();) {
    if (!isxdigit((unsigned char)line[pos])) {
      ++pos;
      continue;
    }
    *data += (char)strtoul(line.substr(pos, 2).c_str(), NULL, 16);
    pos += 2;
  }
  return true;
}

// The keys and values of one root as the registry saves them: a key whose
// only contents are subkeys is saved through its subkeys' paths. Volatile
// keys are not saved; they vanish with the session and the installer
// writes none.
void ParseSavedKeys(Footprint &fp, HKEY root, const std::string &saved) {
  bool skip = true;
  std::wstring path;
  size_t next = 0;
  while (next < saved.size()) {
    size_t eol = saved.find('\n', next);
    if (eol == std::string::npos) eol = saved.size();
    std::string line = saved.substr(next, eol - next);
    next = eol + 1;
    // The bytes of a long value continue on the next line after a backslash.
    while (!line.empty() && line.back() == '\\' && next < saved.size() &&
           (saved[next] == ' ' || saved[next] == '\t')) {
      eol = saved.find('\n', next);
      if (eol == std::string::npos) eol = saved.size();
      line.pop_back();
      line += saved.substr(next, eol - next);
      next = eol + 1;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t pos = 1;
      path = ParseText(line, &pos, ']');
      skip = Listed(root, path, kSeenElsewhere, sizeof kSeenElsewhere / sizeof kSeenElsewhere[0]) ||
             Listed(root, path, kWinesOwn, sizeof kWinesOwn / sizeof kWinesOwn[0]);
      if (!skip) AddKeyPath(fp, root, path);
      continue;
    }
    if (skip || (line[0] != '@' && line[0] != '"')) continue;
    Fact value;
    value.kind = Fact::kValue;
    value.root = root;
    value.path = path;
    size_t pos = 1;
    if (line[0] == '"') value.name = ParseText(line, &pos, '"');
    if (pos >= line.size() || line[pos] != '=' ||
        !ParseData(line, pos + 1, &value.type, &value.data))
      continue;
    fp.facts[ValueId(root, path, value.name)] = value;
  }
}

// Lets this process save registry keys to files.
void EnableBackupPrivilege() {
  HANDLE hToken;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &hToken)) return;
  TOKEN_PRIVILEGES tp = {};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(NULL, L"SeBackupPrivilege", &tp.Privileges[0].Luid))
    AdjustTokenPrivileges(hToken, FALSE, &tp, 0, NULL, NULL);
  CloseHandle(hToken);
}

std::string SaveKey(HKEY root) {
  static bool enabled = (EnableBackupPrivilege(), true);
  (void)enabled;
  wchar_t szTemp[MAX_PATH], szFile[MAX_PATH];
  GetTempPathW(MAX_PATH, szTemp);
  GetTempFileNameW(szTemp, L"reg", 0, szFile);
  DeleteFileW(szFile);
  std::string saved;
  if (RegSaveKeyW(root, szFile, NULL) == ERROR_SUCCESS) saved = ReadWholeFile(szFile);
  DeleteFileW(szFile);
  return saved;
}

ULONGLONG HashContents(const std::wstring &path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return 1;   // unreadable: not the hash of any contents
  ULONGLONG hash = 14695981039346656037ull;  // FNV-1a
  BYTE buf[65536];
  DWORD cb;
  while (ReadFile(h, buf, sizeof buf, &cb, NULL) && cb) {
    for (DWORD i = 0; i < cb; ++i) hash = (hash ^ buf[i]) * 1099511628211ull;
  }
  CloseHandle(h);
  return hash;
}

void WalkFolder(Footprint &fp, const std::wstring &folder, bool deep, bool read) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    Fact file;
    file.path = folder + L"\\" + name;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      file.kind = Fact::kFolder;
      fp.facts[FileId(file.path)] = file;
      if (deep) WalkFolder(fp, file.path, deep, read);
      continue;
    }
    file.kind = Fact::kFile;
    file.size = ((ULONGLONG)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
    file.written =
        ((ULONGLONG)fd.ftLastWriteTime.dwHighDateTime << 32) | fd.ftLastWriteTime.dwLowDateTime;
    if (read) file.hash = HashContents(file.path);
    fp.facts[FileId(file.path)] = file;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

std::string Hex(ULONGLONG n) {
  char sz[32];
  std::snprintf(sz, sizeof sz, "%llx", n);
  return sz;
}

const char *TypeName(DWORD type) {
  switch (type) {
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_BINARY:
      return "REG_BINARY";
    default:
      return "type";
  }
}

std::string Describe(const Fact &f) {
  switch (f.kind) {
    case Fact::kKey:
      return "key " + Utf8(RootName(f.root)) + "\\" + Utf8(f.path);
    case Fact::kValue: {
      std::string text = "value " + Utf8(RootName(f.root)) + "\\" + Utf8(f.path) + " [" +
                         (f.name.empty() ? "(default)" : Utf8(f.name)) + "] " + TypeName(f.type);
      if (f.type == REG_SZ || f.type == REG_EXPAND_SZ || f.type == REG_MULTI_SZ) {
        std::wstring chars((const wchar_t *)f.data.data(), f.data.size() / sizeof(wchar_t));
        std::string shown;
        for (wchar_t c : chars) shown += c ? Utf8(std::wstring(1, c)) : "\\0";
        if (f.data.size() % 2) shown += " +odd byte";
        return text + " \"" + shown + "\"";
      }
      std::string bytes;
      for (unsigned char c : f.data) bytes += " " + Hex(c);
      return text + bytes;
    }
    case Fact::kFolder:
      return "folder " + Utf8(f.path);
    case Fact::kFile:
      if (f.anyContents) return "file " + Utf8(f.path);
      return "file " + Utf8(f.path) + " (" + std::to_string(f.size) + " bytes, written " +
             Hex(f.written) + (f.hash ? ", contents " + Hex(f.hash) : "") + ")";
  }
  return "";
}

bool Same(const Fact &a, const Fact &b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case Fact::kValue:
      return a.type == b.type && a.data == b.data;
    case Fact::kFile:
      if (a.anyContents || b.anyContents) return true;
      return a.size == b.size && a.written == b.written && (!a.hash || !b.hash || a.hash == b.hash);
    default:
      return true;
  }
}

// The id of the key or folder that holds the fact's key or file.
std::wstring ParentId(const std::wstring &id) {
  size_t slash = id.rfind(L'\\');
  return slash == std::wstring::npos ? L"" : id.substr(0, slash);
}

}  // namespace

std::string Ansi(const std::wstring &wide) {
  if (wide.empty()) return "";
  int cb = WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), NULL, 0, NULL, NULL);
  std::string ansi(cb, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), &ansi[0], cb, NULL, NULL);
  return ansi;
}

std::string Utf8(const std::wstring &wide) {
  if (wide.empty()) return "";
  int cb = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), NULL, 0, NULL, NULL);
  std::string utf8(cb, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &utf8[0], cb, NULL, NULL);
  return utf8;
}

std::string Utf8FromAnsi(const std::string &ansi) { return Utf8(Wide(ansi)); }

// The registry saves each root in one request: a walk key by key would take
// tens of thousands.
void Footprint::TakeRegistry() {
  for (const auto &r : kRoots) {
    std::string saved = SaveKey(r.key);
    EXPECT_FALSE(saved.empty()) << "cannot save " << Utf8(r.name);
    ParseSavedKeys(*this, r.key, saved);
  }
}

void Footprint::TakeFolder(const std::string &folder, bool deep, bool read) {
  std::wstring path = Wide(folder);
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  AddFolder(folder);
  WalkFolder(*this, path, deep, read);
}

void Footprint::AddKey(HKEY root, const std::string &key) { AddKeyPath(*this, root, Wide(key)); }

void Footprint::SetString(HKEY root, const std::string &key, const char *value,
                          const std::string &text) {
  AddKey(root, key);
  Fact fact;
  fact.kind = Fact::kValue;
  fact.root = root;
  fact.path = Wide(key);
  fact.name = value ? Wide(value) : L"";
  fact.type = REG_SZ;
  std::wstring data = Wide(text) + L'\0';
  fact.data.assign((const char *)data.data(), data.size() * sizeof(wchar_t));
  facts[ValueId(root, fact.path, fact.name)] = fact;
}

void Footprint::RemoveKey(HKEY root, const std::string &key) {
  std::wstring path = Wide(key);
  std::wstring keyId = KeyId(root, path);
  std::wstring subkeys = keyId + L"\\";
  std::wstring ownValues = ValueId(root, path, L"");
  std::wstring subkeyValues = L"V" + subkeys.substr(1);
  auto startsWith = [](const std::wstring &id, const std::wstring &start) {
    return id.compare(0, start.size(), start) == 0;
  };
  for (auto it = facts.begin(); it != facts.end();) {
    const std::wstring &id = it->first;
    bool inside = id == keyId || startsWith(id, subkeys) || startsWith(id, ownValues) ||
                  startsWith(id, subkeyValues);
    it = inside ? facts.erase(it) : std::next(it);
  }
}

void Footprint::AddFolder(const std::string &folder) {
  Fact fact;
  fact.kind = Fact::kFolder;
  fact.path = Wide(folder);
  facts[FileId(fact.path)] = fact;
}

void Footprint::CopyFile(const std::string &from, const std::string &to) {
  const Fact *source = FindFile(from);
  Fact fact;
  if (source) fact = *source;
  fact.kind = Fact::kFile;
  fact.path = Wide(to);
  if (!source) fact.size = ~0ull;  // no such source: the expectation cannot be met
  facts[FileId(fact.path)] = fact;
}

void Footprint::AddAnyFile(const std::string &path) {
  Fact fact;
  fact.kind = Fact::kFile;
  fact.path = Wide(path);
  fact.anyContents = true;
  facts[FileId(fact.path)] = fact;
}

// A folder of that name stays.
void Footprint::RemoveFile(const std::string &path) {
  auto it = facts.find(FileId(Wide(path)));
  if (it != facts.end() && it->second.kind == Fact::kFile) facts.erase(it);
}

const Fact *Footprint::FindFile(const std::string &path) const {
  auto it = facts.find(FileId(Wide(path)));
  return it == facts.end() ? NULL : &it->second;
}

namespace {

std::string HexBytes(const void *data, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < size; ++i) {
    unsigned char c = ((const unsigned char *)data)[i];
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex + " ";
}

std::string ReadHex(const std::string &line, size_t *pos) {
  size_t end = line.find(' ', *pos);
  if (end == std::string::npos) end = line.size();
  std::string bytes;
  for (size_t i = *pos; i + 1 < end; i += 2)
    bytes += (char)strtoul(line.substr(i, 2).c_str(), NULL, 16);
  *pos = end + 1;
  return bytes;
}

}  // namespace

// One fact a line, every field in hexadecimal.
bool Footprint::Save(const std::string &file) const {
  std::string text;
  for (const auto &[id, f] : facts) {
    int root = f.root == HKEY_CLASSES_ROOT ? 0 : f.root == HKEY_CURRENT_USER ? 1 : 2;
    text += HexBytes(id.data(), id.size() * sizeof(wchar_t)) + HexBytes(&f.kind, sizeof f.kind) +
            HexBytes(&root, sizeof root) +
            HexBytes(f.path.data(), f.path.size() * sizeof(wchar_t)) +
            HexBytes(f.name.data(), f.name.size() * sizeof(wchar_t)) +
            HexBytes(&f.type, sizeof f.type) + HexBytes(f.data.data(), f.data.size()) +
            HexBytes(&f.size, sizeof f.size) + HexBytes(&f.written, sizeof f.written) +
            HexBytes(&f.hash, sizeof f.hash) + "\n";
  }
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD cb = 0;
  BOOL ok = WriteFile(h, text.data(), (DWORD)text.size(), &cb, NULL) && cb == text.size();
  CloseHandle(h);
  return ok;
}

bool Footprint::Load(const std::string &file) {
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  std::string text = ReadWholeFile(Wide(file));
  facts.clear();
  auto wide = [](const std::string &bytes) {
    return std::wstring((const wchar_t *)bytes.data(), bytes.size() / sizeof(wchar_t));
  };
  for (size_t next = 0; next < text.size();) {
    size_t eol = text.find('\n', next);
    if (eol == std::string::npos) break;
    std::string line = text.substr(next, eol - next);
    next = eol + 1;
    size_t pos = 0;
    std::wstring id = wide(ReadHex(line, &pos));
    Fact f;
    std::string field = ReadHex(line, &pos);
    memcpy(&f.kind, field.data(), std::min(field.size(), sizeof f.kind));
    int root = 0;
    field = ReadHex(line, &pos);
    memcpy(&root, field.data(), std::min(field.size(), sizeof root));
    f.root = kRoots[root % 3].key;
    f.path = wide(ReadHex(line, &pos));
    f.name = wide(ReadHex(line, &pos));
    field = ReadHex(line, &pos);
    memcpy(&f.type, field.data(), std::min(field.size(), sizeof f.type));
    f.data = ReadHex(line, &pos);
    for (ULONGLONG *n : {&f.size, &f.written, &f.hash}) {
      field = ReadHex(line, &pos);
      memcpy(n, field.data(), std::min(field.size(), sizeof *n));
    }
    facts[id] = f;
  }
  return true;
}

bool Footprint::HasEntries(HKEY root, const std::string &key) const {
  for (const std::wstring &start :
       {KeyId(root, Wide(key)) + L"\\", ValueId(root, Wide(key), L"")}) {
    auto it = facts.lower_bound(start);
    if (it != facts.end() && it->first.compare(0, start.size(), start) == 0) return true;
  }
  return false;
}

std::string Differences(const Footprint &expected, const Footprint &actual) {
  std::string report;
  auto e = expected.facts.begin();
  auto a = actual.facts.begin();
  while (e != expected.facts.end() || a != actual.facts.end()) {
    if (a == actual.facts.end() || (e != expected.facts.end() && e->first < a->first)) {
      report += "missing:    " + Describe(e->second) + "\n";
      ++e;
    } else if (e == expected.facts.end() || a->first < e->first) {
      report += "unexpected: " + Describe(a->second) + "\n";
      ++a;
    } else {
      if (!Same(e->second, a->second))
        report +=
            "expected:   " + Describe(e->second) + "\n    found:  " + Describe(a->second) + "\n";
      ++e;
      ++a;
    }
  }
  return report;
}

std::string Restore(const Footprint &before, const Footprint &now) {
  std::string unrestored;
  // What is new goes: a new key or folder with everything under it.
  for (const auto &[id, fact] : now.facts) {
    if (before.facts.count(id)) continue;
    bool parentIsNew = !before.facts.count(ParentId(id)) && now.facts.count(ParentId(id));
    switch (fact.kind) {
      case Fact::kKey:
        if (!parentIsNew) RegDeleteTreeW(fact.root, fact.path.c_str());
        break;
      case Fact::kValue: {
        HKEY h;
        if (RegOpenKeyExW(fact.root, fact.path.c_str(), 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
          RegDeleteValueW(h, fact.name.c_str());
          RegCloseKey(h);
        }
        break;
      }
      case Fact::kFolder:
        if (!parentIsNew) RemoveTree(fact.path);
        break;
      case Fact::kFile:
        if (!parentIsNew) {
          SetFileAttributesW(fact.path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(fact.path.c_str());
        }
        break;
    }
  }
  // What went or changed comes back, parents first.
  for (const auto &[id, fact] : before.facts) {
    auto it = now.facts.find(id);
    if (it != now.facts.end() && Same(fact, it->second)) continue;
    switch (fact.kind) {
      case Fact::kKey: {
        HKEY h;
        if (RegCreateKeyExW(fact.root, fact.path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h,
                            NULL) == ERROR_SUCCESS)
          RegCloseKey(h);
        break;
      }
      case Fact::kValue: {
        HKEY h;
        if (RegCreateKeyExW(fact.root, fact.path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h,
                            NULL) != ERROR_SUCCESS)
          break;
        RegSetValueExW(h, fact.name.c_str(), 0, fact.type, (const BYTE *)fact.data.data(),
                       (DWORD)fact.data.size());
        RegCloseKey(h);
        break;
      }
      case Fact::kFolder:
        CreateDirectoryW(fact.path.c_str(), NULL);
        break;
      case Fact::kFile:
        unrestored += "cannot restore " + Describe(fact) + "\n";
        break;
    }
  }
  return unrestored;
}
