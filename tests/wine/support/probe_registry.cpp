// The registry routines against the machine's real registry under
// HKEY_CLASSES_ROOT; what they wrote is read back with the plain API.
#include <cstring>

#include "probe_check.h"
#include "support/registry_routines.h"

namespace probe {

namespace {

const char kTree[] = "StfSupportProbe.Tree";
const char kMissing[] = "StfSupportProbe.Missing";

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

std::string DefaultValue(const std::string& path) {
  char value[256] = "";
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, path.c_str(), value, &size) != ERROR_SUCCESS) {
    return "<unreadable>";
  }
  return value;
}

std::string Sub(const char* tail) { return std::string(kTree) + "\\" + tail; }

}  // namespace

void CheckRegistryRoutines() {
  char buffer[256];
  std::memset(buffer, 'x', sizeof buffer);
  Check(DoesRegKeyExist(kMissing) == 0 && DoesRegKeyExistEx(HKEY_CLASSES_ROOT, kMissing) == 0,
        "a missing key does not exist (DoesRegKeyExist, DoesRegKeyExistEx)");
  Check(GetRegKeyValue(kMissing, buffer, 255) == buffer && buffer[0] == '\0',
        "a missing key reads as the empty string (GetRegKeyValue)");
  BYTE data[16] = {0x5A};
  DWORD type = 0x77;
  LONG missing = GetRegKeyValueEx(HKEY_CLASSES_ROOT, kMissing, "Named", &type, data, sizeof data);
  Check(missing == ERROR_BADKEY && data[0] == 0x5A && type == 0x77,
        "a missing key answers 1010 and touches nothing (GetRegKeyValueEx)",
        std::to_string(missing));
  DeleteRegKey(kMissing);
  Check(!KeyExists(kMissing), "deleting a missing key is no error (DeleteRegKey)");

  // The tree K with subkeys B and C, B holding D: three levels.
  CreateRegKey(Sub("B\\D").c_str());
  CreateRegKeyEx(HKEY_CLASSES_ROOT, Sub("C").c_str());
  Check(KeyExists(Sub("B\\D")) && KeyExists(Sub("C")),
        "three-level tree created (CreateRegKey, CreateRegKeyEx)");
  Check(DoesRegKeyExist(Sub("B\\D").c_str()) == 1 &&
            DoesRegKeyExistEx(HKEY_CLASSES_ROOT, Sub("C").c_str()) == 1,
        "its keys exist (DoesRegKeyExist, DoesRegKeyExistEx)");

  CreateRegKeyValue(kTree, "top value");
  SetRegKeyValue(Sub("B").c_str(), "first");
  SetRegKeyValue(Sub("B").c_str(), "second, longer");
  CreateRegKeyValue(Sub("E").c_str(), "made with its key");
  Check(DefaultValue(kTree) == "top value" && DefaultValue(Sub("B")) == "second, longer",
        "default values written and replaced (CreateRegKeyValue, SetRegKeyValue)",
        DefaultValue(Sub("B")));
  Check(DefaultValue(Sub("E")) == "made with its key",
        "a default value on a missing key creates the key (CreateRegKeyValue)");
  GetRegKeyValue(Sub("B").c_str(), buffer, 255);
  Check(std::string(buffer) == "second, longer", "a default value read back (GetRegKeyValue)",
        buffer);
  GetRegKeyValue(Sub("C").c_str(), buffer, 255);
  Check(buffer[0] == '\0', "a key without a default value reads as empty (GetRegKeyValue)", buffer);

  const char text[] = "named text";
  DWORD number = 0x12345678;
  CreateRegKeyValueEx(HKEY_CLASSES_ROOT, Sub("B\\D").c_str(), "Text", REG_SZ,
                      reinterpret_cast<const BYTE*>(text), sizeof text);
  SetRegKeyValueEx(HKEY_CLASSES_ROOT, Sub("B\\D").c_str(), "Number", REG_DWORD,
                   reinterpret_cast<const BYTE*>(&number), sizeof number);
  char textBack[32] = "";
  type = 0;
  LONG got = GetRegKeyValueEx(HKEY_CLASSES_ROOT, Sub("B\\D").c_str(), "Text", &type,
                              reinterpret_cast<LPBYTE>(textBack), sizeof textBack);
  Check(got == 0 && type == REG_SZ && std::string(textBack) == text,
        "named string value written and read (CreateRegKeyValueEx, GetRegKeyValueEx)", textBack);
  DWORD numberBack = 0;
  got = GetRegKeyValueEx(HKEY_CLASSES_ROOT, Sub("B\\D").c_str(), "Number", nullptr,
                         reinterpret_cast<LPBYTE>(&numberBack), sizeof numberBack);
  Check(got == 0 && numberBack == number,
        "named DWORD value written and read, no type place (SetRegKeyValueEx, GetRegKeyValueEx)");

  DeleteRegKey(kTree);
  Check(!KeyExists(Sub("B\\D")) && !KeyExists(Sub("B")) && !KeyExists(Sub("C")) &&
            !KeyExists(Sub("E")) && !KeyExists(kTree),
        "the whole tree deleted, values and all (DeleteRegKey)");
  Check(DoesRegKeyExist(kTree) == 0, "the deleted key no longer exists (DoesRegKeyExist)");

  // The Ex deletion under an open key as root.
  HKEY root = nullptr;
  RegCreateKeyA(HKEY_CLASSES_ROOT, kTree, &root);
  CreateRegKeyEx(root, "X\\Y\\Z");
  DeleteRegKeyEx(root, "X");
  Check(!KeyExists(Sub("X")) && KeyExists(kTree),
        "a subtree deleted under an open key, its parent kept (DeleteRegKeyEx)");
  RegCloseKey(root);
  Check(DeleteAllSubKeys(HKEY_CLASSES_ROOT, kTree) == 1 && !KeyExists(kTree),
        "a key without subkeys deleted (DeleteAllSubKeys)");
}

// Run under code page 932: the system gives the longest subkey name in UTF-16
// units, and these names take two bytes for each (the last one's trail byte
// is a backslash).
void CheckDoubleByteRegistry() {
  const std::string name = "\x83\x68\x83\x89\x83\x43\x83\x6F\x95\x5C";
  CreateRegKey(Sub((name + "\\" + name).c_str()).c_str());
  CreateRegKey(Sub("B").c_str());
  Check(KeyExists(Sub((name + "\\" + name).c_str())),
        "subkeys with double-byte names created (CreateRegKey)");
  DeleteRegKey(kTree);
  Check(!KeyExists(kTree), "a tree with double-byte subkey names deleted (DeleteRegKey)");
}

void CleanUpRegistry() {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kTree);
  Check(!KeyExists(kTree), "no probe key left under HKEY_CLASSES_ROOT");
}

}  // namespace probe
