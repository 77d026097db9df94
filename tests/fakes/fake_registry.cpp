// The registry entry points over an in-memory tree (see fake_registry.h).
#include "tests/fakes/fake_registry.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "tests/fakes/fake_windows.h"
#include "tests/fakes/transcript.h"

namespace fake {

Registry registry;

static const LONG kInvalidHandle = 6;      // ERROR_INVALID_HANDLE
static const LONG kInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
static const LONG kMoreData = 234;         // ERROR_MORE_DATA
static const LONG kBadPathname = 161;      // ERROR_BAD_PATHNAME

static std::string Upper(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

static std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

static RegNode* Child(RegNode& node, const std::string& name) {
  for (RegNode& child : node.children) {
    if (Upper(child.name) == Upper(name)) return &child;
  }
  return nullptr;
}

static RegNode* Find(const std::string& path) {
  RegNode* node = &registry.top;
  for (const std::string& part : Components(path)) {
    node = Child(*node, part);
    if (node == nullptr) return nullptr;
  }
  return node;
}

static RegNode* Create(const std::string& path) {
  RegNode* node = &registry.top;
  for (const std::string& part : Components(path)) {
    RegNode* child = Child(*node, part);
    if (child == nullptr) {
      node->children.push_back(RegNode{part, {}, {}});
      child = &node->children.back();
    }
    node = child;
  }
  return node;
}

// Predefined roots are sign-extended 32-bit values, as in the system's headers.
static const char* RootName(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  if (key == reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001)))) {
    return "HKEY_CURRENT_USER";
  }
  if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (key == reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000003)))) {
    return "HKEY_USERS";
  }
  return nullptr;
}

// The full path of an open or predefined key, or false for a bad handle.
static bool PathOf(HKEY key, std::string* path) {
  auto open = registry.handles.find(reinterpret_cast<uintptr_t>(key));
  if (open != registry.handles.end()) {
    *path = open->second;
    return true;
  }
  const char* root = RootName(key);
  if (root == nullptr) return false;
  *path = root;
  return true;
}

// A subkey path that begins with a backslash is refused, as Wine does.
static bool LeadingBackslash(LPCSTR subKey) { return subKey != nullptr && subKey[0] == '\\'; }

static bool Under(HKEY key, LPCSTR subKey, std::string* path) {
  if (!PathOf(key, path)) return false;
  if (subKey != nullptr && subKey[0] != '\0') *path += std::string("\\") + subKey;
  return true;
}

static HKEY NewHandle(const std::string& path) {
  uintptr_t handle = registry.nextHandle;
  registry.nextHandle += 0x10;
  registry.handles[handle] = path;
  return reinterpret_cast<HKEY>(handle);
}

static bool Injected(const char* function, LONG* error) {
  auto it = registry.failingCalls.find(function);
  if (it == registry.failingCalls.end()) return false;
  *error = it->second;
  return true;
}

#define FAIL_IF_INJECTED(function)                       \
  do {                                                   \
    LONG injected;                                       \
    if (Injected(function, &injected)) return injected;  \
  } while (0)

static LONG OpenKey(HKEY key, LPCSTR subKey, PHKEY result) {
  if (LeadingBackslash(subKey)) return kBadPathname;
  std::string path;
  if (!Under(key, subKey, &path)) return kInvalidHandle;
  auto error = registry.openErrors.find(Upper(path));
  if (error != registry.openErrors.end()) return error->second;
  if (Find(path) == nullptr) return ERROR_FILE_NOT_FOUND;
  *result = NewHandle(path);
  return ERROR_SUCCESS;
}

// A value into a caller's buffer the way the system does: the size needed
// when it does not fit, the size written when it does.
static LONG CopyValue(const RegValue& value, LPBYTE data, DWORD* count) {
  DWORD needed = static_cast<DWORD>(value.data.size());
  if (data != nullptr && *count < needed) {
    *count = needed;
    return kMoreData;
  }
  if (data != nullptr) std::memcpy(data, value.data.data(), needed);
  *count = needed;
  return ERROR_SUCCESS;
}

static LONG WINAPI FakeRegCloseKey(HKEY key) {
  Record("RegCloseKey", key);
  FAIL_IF_INJECTED("RegCloseKey");
  if (RootName(key) != nullptr) return ERROR_SUCCESS;
  return registry.handles.erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS
                                                                  : kInvalidHandle;
}

static LONG WINAPI FakeRegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
  Record("RegCreateKeyA", key, subKey);
  FAIL_IF_INJECTED("RegCreateKeyA");
  if (LeadingBackslash(subKey)) return kBadPathname;
  std::string path;
  if (!Under(key, subKey, &path)) return kInvalidHandle;
  Create(path);
  *result = NewHandle(path);
  return ERROR_SUCCESS;
}

static LONG WINAPI FakeRegDeleteKeyA(HKEY key, LPCSTR subKey) {
  Record("RegDeleteKeyA", key, subKey);
  FAIL_IF_INJECTED("RegDeleteKeyA");
  if (LeadingBackslash(subKey)) return kBadPathname;
  std::string path;
  if (!Under(key, subKey, &path)) return kInvalidHandle;
  RegNode* node = Find(path);
  if (node == nullptr) return ERROR_FILE_NOT_FOUND;
  if (!node->children.empty()) return ERROR_ACCESS_DENIED;  // NT deletes leaves only
  std::vector<std::string> parts = Components(path);
  std::string parentPath;
  for (size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + "\\";
  RegNode* parent = Find(parentPath);
  for (size_t i = 0; i < parent->children.size(); ++i) {
    if (&parent->children[i] == node) {
      parent->children.erase(parent->children.begin() + i);
      break;
    }
  }
  registry.deletions.push_back(path);
  return ERROR_SUCCESS;
}

static LONG WINAPI FakeRegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
  Record("RegOpenKeyA", key, subKey);
  FAIL_IF_INJECTED("RegOpenKeyA");
  return OpenKey(key, subKey, result);
}

static LONG WINAPI FakeRegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access,
                                     PHKEY result) {
  Record("RegOpenKeyExA", key, subKey, options, access);
  FAIL_IF_INJECTED("RegOpenKeyExA");
  return OpenKey(key, subKey, result);
}

static LONG WINAPI FakeRegQueryValueA(HKEY key, LPCSTR subKey, LPSTR data, PLONG count) {
  Record("RegQueryValueA", key, subKey, *count);
  FAIL_IF_INJECTED("RegQueryValueA");
  std::string path;
  if (!Under(key, subKey, &path)) return kInvalidHandle;
  RegNode* node = Find(path);
  if (node == nullptr) return ERROR_FILE_NOT_FOUND;
  if (registry.reportCount) {
    *count = static_cast<LONG>(registry.reportedCount);
    return ERROR_SUCCESS;
  }
  RegValue unset{REG_SZ, std::string(1, '\0')};  // an unset default reads as ""
  auto value = node->values.find("");
  DWORD size = static_cast<DWORD>(*count);
  LONG result = CopyValue(value == node->values.end() ? unset : value->second,
                          reinterpret_cast<LPBYTE>(data), &size);
  *count = static_cast<LONG>(size);
  return result;
}

static LONG WINAPI FakeRegSetValueA(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data,
                                    DWORD count) {
  Record("RegSetValueA", key, subKey, type, data, count);
  FAIL_IF_INJECTED("RegSetValueA");
  if (type != REG_SZ) return kInvalidParameter;
  std::string path;
  if (!Under(key, subKey, &path)) return kInvalidHandle;
  Create(path)->values[""] = RegValue{REG_SZ, std::string(data) + '\0'};
  return ERROR_SUCCESS;
}

static LONG WINAPI FakeRegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM,
                                       LPVOID, PHKEY result, LPDWORD disposition) {
  Record("RegCreateKeyExA", key, subKey);
  FAIL_IF_INJECTED("RegCreateKeyExA");
  std::string path;
  if (!Under(key, subKey, &path)) return kInvalidHandle;
  bool existed = Find(path) != nullptr;
  Create(path);
  *result = NewHandle(path);
  if (disposition != nullptr) *disposition = existed ? 2 : 1;
  return ERROR_SUCCESS;
}

static LONG WINAPI FakeRegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type,
                                        LPBYTE data, LPDWORD count) {
  Record("RegQueryValueExA", key, name, *count);
  FAIL_IF_INJECTED("RegQueryValueExA");
  std::string path;
  if (!PathOf(key, &path)) return kInvalidHandle;
  RegNode* node = Find(path);
  if (node == nullptr) return kInvalidHandle;
  if (registry.reportCount) {
    *count = registry.reportedCount;
    return ERROR_SUCCESS;
  }
  auto value = node->values.find(Upper(name ? name : ""));
  if (value == node->values.end()) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = value->second.type;
  return CopyValue(value->second, data, count);
}

static LONG WINAPI FakeRegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type,
                                      const BYTE* data, DWORD count) {
  Record("RegSetValueExA", key, name, type, count);
  FAIL_IF_INJECTED("RegSetValueExA");
  std::string path;
  if (!PathOf(key, &path)) return kInvalidHandle;
  RegNode* node = Find(path);
  if (node == nullptr) return kInvalidHandle;
  node->values[Upper(name ? name : "")] =
      RegValue{type, std::string(reinterpret_cast<const char*>(data), count)};
  return ERROR_SUCCESS;
}

static LONG WINAPI FakeRegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD size) {
  Record("RegEnumKeyA", key, index, size);
  FAIL_IF_INJECTED("RegEnumKeyA");
  std::string path;
  if (!PathOf(key, &path)) return kInvalidHandle;
  auto error = registry.enumErrors.find({Upper(path), index});
  if (error != registry.enumErrors.end()) return error->second;
  RegNode* node = Find(path);
  if (node == nullptr) return kInvalidHandle;
  if (index >= node->children.size()) return ERROR_NO_MORE_ITEMS;
  const std::string& child = node->children[index].name;
  if (child.size() + 1 > size) return kMoreData;
  std::memcpy(name, child.c_str(), child.size() + 1);
  return ERROR_SUCCESS;
}

static LONG WINAPI FakeRegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD,
                                     LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  Record("RegEnumValueA", key, index);
  FAIL_IF_INJECTED("RegEnumValueA");
  std::string path;
  if (!PathOf(key, &path)) return kInvalidHandle;
  RegNode* node = Find(path);
  if (node == nullptr) return kInvalidHandle;
  if (index >= node->values.size()) return ERROR_NO_MORE_ITEMS;
  auto value = std::next(node->values.begin(), index);
  if (value->first.size() + 1 > *nameSize) return kMoreData;
  std::memcpy(name, value->first.c_str(), value->first.size() + 1);
  *nameSize = static_cast<DWORD>(value->first.size());
  if (type != nullptr) *type = value->second.type;
  return CopyValue(value->second, data, dataSize);
}

static LONG WINAPI FakeRegDeleteValueA(HKEY key, LPCSTR name) {
  Record("RegDeleteValueA", key, name);
  FAIL_IF_INJECTED("RegDeleteValueA");
  std::string path;
  if (!PathOf(key, &path)) return kInvalidHandle;
  RegNode* node = Find(path);
  if (node == nullptr) return kInvalidHandle;
  return node->values.erase(Upper(name ? name : "")) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

static LONG WINAPI FakeRegQueryInfoKeyA(HKEY key, LPSTR className, LPDWORD classSize, LPDWORD,
                                        LPDWORD subKeys, LPDWORD maxSubKeyLength,
                                        LPDWORD maxClassLength, LPDWORD values,
                                        LPDWORD maxValueName, LPDWORD maxValue,
                                        LPDWORD security, PFILETIME written) {
  Record("RegQueryInfoKeyA", key, classSize ? *classSize : 0);
  FAIL_IF_INJECTED("RegQueryInfoKeyA");
  std::string path;
  if (!PathOf(key, &path)) return kInvalidHandle;
  if (registry.queryInfoFails.count(Upper(path))) return ERROR_ACCESS_DENIED;
  RegNode* node = Find(path);
  if (node == nullptr) return kInvalidHandle;
  // The system counts the longest name in UTF-16 units: a double-byte
  // character is one unit and two bytes of the ANSI name.
  DWORD longest = 0;
  for (const RegNode& child : node->children) {
    DWORD units = 0;
    for (LPCSTR p = child.name.c_str(); *p; p = CharNextA(p)) ++units;
    if (units > longest) longest = units;
  }
  if (className != nullptr && classSize != nullptr && *classSize > 0) className[0] = '\0';
  if (classSize != nullptr) *classSize = 0;
  if (subKeys != nullptr) *subKeys = static_cast<DWORD>(node->children.size());
  if (maxSubKeyLength != nullptr) *maxSubKeyLength = longest;
  for (LPDWORD zero : {maxClassLength, values, maxValueName, maxValue, security}) {
    if (zero != nullptr) *zero = 0;
  }
  if (written != nullptr) *written = FILETIME{0, 0};
  return ERROR_SUCCESS;
}

template <typename Function>
static FARPROC AsExport(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

void ResetRegistry(Library& advapi32) {
  registry = Registry{};
  for (const char* root :
       {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"}) {
    registry.top.children.push_back(RegNode{root, {}, {}});
  }
  std::map<std::string, FARPROC>& impl = advapi32.implementations;
  impl["RegCloseKey"] = AsExport(&FakeRegCloseKey);
  impl["RegCreateKeyA"] = AsExport(&FakeRegCreateKeyA);
  impl["RegDeleteKeyA"] = AsExport(&FakeRegDeleteKeyA);
  impl["RegOpenKeyA"] = AsExport(&FakeRegOpenKeyA);
  impl["RegQueryValueA"] = AsExport(&FakeRegQueryValueA);
  impl["RegSetValueA"] = AsExport(&FakeRegSetValueA);
  impl["RegCreateKeyExA"] = AsExport(&FakeRegCreateKeyExA);
  impl["RegOpenKeyExA"] = AsExport(&FakeRegOpenKeyExA);
  impl["RegQueryValueExA"] = AsExport(&FakeRegQueryValueExA);
  impl["RegSetValueExA"] = AsExport(&FakeRegSetValueExA);
  impl["RegEnumKeyA"] = AsExport(&FakeRegEnumKeyA);
  impl["RegQueryInfoKeyA"] = AsExport(&FakeRegQueryInfoKeyA);
  impl["RegEnumValueA"] = AsExport(&FakeRegEnumValueA);
  impl["RegDeleteValueA"] = AsExport(&FakeRegDeleteValueA);
}

void AddRegKey(const std::string& path) { Create(path); }

void SetRegDefault(const std::string& path, const std::string& value) {
  Create(path)->values[""] = RegValue{REG_SZ, value + '\0'};
}

void SetRegValue(const std::string& path, const std::string& name, DWORD type,
                 const std::string& data) {
  Create(path)->values[Upper(name)] = RegValue{type, data};
}

bool RegKeyExists(const std::string& path) { return Find(path) != nullptr; }

std::string RegDefault(const std::string& path) {
  const RegValue* value = FindRegValue(path, "");
  return value == nullptr ? std::string() : std::string(value->data.c_str());
}

const RegValue* FindRegValue(const std::string& path, const std::string& name) {
  RegNode* node = Find(path);
  if (node == nullptr) return nullptr;
  auto value = node->values.find(Upper(name));
  return value == node->values.end() ? nullptr : &value->second;
}

int OpenRegKeyCount() { return static_cast<int>(registry.handles.size()); }

}  // namespace fake

using fake::registry;

extern "C" {

// The local heap, with a failure to inject, counted so that tests see leaks.
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
  fake::Record("LocalAlloc", flags, bytes);
  if (registry.allocationsBeforeFailure == 0) return nullptr;
  if (registry.allocationsBeforeFailure > 0) --registry.allocationsBeforeFailure;
  ++registry.allocations;
  ++registry.liveAllocations;
  return std::malloc(bytes == 0 ? 1 : bytes);
}

HLOCAL WINAPI LocalFree(HLOCAL memory) {
  fake::Record("LocalFree", memory);
  if (memory != nullptr) {
    --registry.liveAllocations;
    std::free(memory);
  }
  return nullptr;
}

}  // extern "C"
