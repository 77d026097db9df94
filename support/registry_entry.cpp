#include "support/registry_entry.h"

#include "support/registry_calls.h"

RegistryValue TextValue(const std::string& name, const std::string& text) {
  return RegistryValue{name, REG_SZ, text + '\0'};
}

RegistryValue NumberValue(const std::string& name, DWORD number) {
  std::string data(reinterpret_cast<const char*>(&number), sizeof number);
  return RegistryValue{name, REG_DWORD, data};
}

RegistryValue ListValue(const std::string& name, const std::vector<std::string>& items) {
  std::string data;
  for (const std::string& item : items) data += item + '\0';
  return RegistryValue{name, REG_MULTI_SZ, data + '\0'};
}

static const RegistryValue* Named(const std::vector<RegistryValue>& values, const std::string& name) {
  for (const RegistryValue& value : values) {
    if (lstrcmpiA(value.name.c_str(), name.c_str()) == 0) return &value;
  }
  return nullptr;
}

static LONG Set(HKEY key, const RegistryValue& value) {
  return CallRegSetValueEx(key, value.name.c_str(), value.type,
                           reinterpret_cast<const BYTE*>(value.data.data()),
                           static_cast<DWORD>(value.data.size()));
}

// The value at an index, its buffers grown until it fits; ERROR_NO_MORE_ITEMS
// past the last one.
static LONG EnumValue(HKEY key, DWORD index, RegistryValue* value) {
  std::string name(256, '\0'), data(4096, '\0');
  for (;;) {
    DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    LONG result = CallRegEnumValue(key, index, &name[0], &nameSize, &type,
                                   reinterpret_cast<LPBYTE>(&data[0]), &dataSize);
    if (result == ERROR_MORE_DATA) {
      name.resize(name.size() * 2);
      data.resize(dataSize > data.size() ? dataSize : data.size() * 2);
      continue;
    }
    if (result != ERROR_SUCCESS) return result;
    *value = RegistryValue{std::string(name.c_str()), type, data.substr(0, dataSize)};
    return ERROR_SUCCESS;
  }
}

LONG SaveRegistryKey(HKEY root, LPCSTR keyPath, RegistryKeyState* state) {
  *state = RegistryKeyState();
  HKEY key = nullptr;
  LONG result = CallRegOpenKeyEx(root, keyPath, KEY_READ, &key);
  if (result == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (result != ERROR_SUCCESS) return result;
  state->existed = true;
  for (DWORD index = 0;; ++index) {
    RegistryValue value;
    result = EnumValue(key, index, &value);
    if (result != ERROR_SUCCESS) break;
    state->values.push_back(value);
  }
  CallRegCloseKey(key);
  return result == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : result;
}

// What a write changed, to be taken back: values set, values deleted.
struct Changed {
  std::vector<std::string> set;
  std::vector<RegistryValue> deleted;
};

static LONG PutBack(HKEY root, LPCSTR keyPath, const RegistryKeyState& before,
                    const Changed& changed) {
  if (!before.existed) return RemoveRegistryEntry(root, keyPath);
  HKEY key = nullptr;
  LONG result = CallRegOpenKeyEx(root, keyPath, KEY_WRITE, &key);
  if (result != ERROR_SUCCESS) return result;
  for (const std::string& name : changed.set) {
    const RegistryValue* old = Named(before.values, name);
    const LONG undone = old != nullptr ? Set(key, *old) : CallRegDeleteValue(key, name.c_str());
    if (undone != ERROR_SUCCESS) result = undone;
  }
  for (const RegistryValue& old : changed.deleted) {
    const LONG undone = Set(key, old);
    if (undone != ERROR_SUCCESS) result = undone;
  }
  CallRegCloseKey(key);
  return result;
}

// Sets the values whose names the key has (existing: true) or has not.
static LONG SetAll(HKEY key, const std::vector<RegistryValue>& values,
                   const RegistryKeyState& before, bool existing, Changed* changed,
                   std::string* failedCall) {
  for (const RegistryValue& value : values) {
    if ((Named(before.values, value.name) != nullptr) != existing) continue;
    if (LONG result = Set(key, value)) {
      *failedCall = "RegSetValueExA " + value.name;
      return result;
    }
    changed->set.push_back(value.name);
  }
  return ERROR_SUCCESS;
}

// Overwrites the values the key has, deletes those not wanted, then adds the
// new ones: a failure part way leaves only what it changed to take back, and
// a call that fails every time fails before anything its undo would need.
static LONG Replace(HKEY key, const std::vector<RegistryValue>& values,
                    const RegistryKeyState& before, Changed* changed, std::string* failedCall) {
  if (LONG result = SetAll(key, values, before, true, changed, failedCall)) return result;
  for (const RegistryValue& old : before.values) {
    if (Named(values, old.name) != nullptr) continue;
    if (LONG result = CallRegDeleteValue(key, old.name.c_str())) {
      *failedCall = "RegDeleteValueA " + old.name;
      return result;
    }
    changed->deleted.push_back(old);
  }
  return SetAll(key, values, before, false, changed, failedCall);
}

LONG WriteRegistryEntry(HKEY root, LPCSTR keyPath, const std::vector<RegistryValue>& values,
                        std::string* failedCall) {
  RegistryKeyState before;
  LONG result = SaveRegistryKey(root, keyPath, &before);
  if (result != ERROR_SUCCESS) {
    *failedCall = "RegEnumValueA";
    return result;
  }
  HKEY key = nullptr;
  result = CallRegCreateKey(root, keyPath, &key);
  if (result != ERROR_SUCCESS) {
    *failedCall = "RegCreateKeyA";
    return result;
  }
  Changed changed;
  result = Replace(key, values, before, &changed, failedCall);
  CallRegCloseKey(key);
  if (result != ERROR_SUCCESS) PutBack(root, keyPath, before, changed);
  return result;
}

LONG RestoreRegistryKey(HKEY root, LPCSTR keyPath, const RegistryKeyState& state) {
  if (!state.existed) return RemoveRegistryEntry(root, keyPath);
  std::string failedCall;
  return WriteRegistryEntry(root, keyPath, state.values, &failedCall);
}

LONG SetRegistryValue(HKEY root, LPCSTR keyPath, const RegistryValue& value) {
  HKEY key = nullptr;
  LONG result = CallRegOpenKeyEx(root, keyPath, KEY_WRITE, &key);
  if (result != ERROR_SUCCESS) return result;
  result = Set(key, value);
  CallRegCloseKey(key);
  return result;
}

LONG DeleteRegistryValue(HKEY root, LPCSTR keyPath, LPCSTR name) {
  HKEY key = nullptr;
  LONG result = CallRegOpenKeyEx(root, keyPath, KEY_WRITE, &key);
  if (result != ERROR_SUCCESS) return result;
  result = CallRegDeleteValue(key, name);
  CallRegCloseKey(key);
  return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

bool ReadRegistryValue(HKEY root, LPCSTR keyPath, LPCSTR name, DWORD* type, std::string* data) {
  HKEY key = nullptr;
  if (CallRegOpenKeyEx(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG result = CallRegQueryValueEx(key, name, type, nullptr, &size);
  // The value may grow between the two calls: asked again until it fits.
  while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
    data->assign(size, '\0');
    DWORD got = size;
    result = CallRegQueryValueEx(key, name, type,
                                 size == 0 ? nullptr : reinterpret_cast<LPBYTE>(&(*data)[0]), &got);
    if (result == ERROR_SUCCESS) {
      data->resize(got < size ? got : size);
      break;
    }
    size = got > size ? got : size * 2 + 16;
  }
  CallRegCloseKey(key);
  return result == ERROR_SUCCESS;
}

BOOL RegistryEntryExists(HKEY root, LPCSTR keyPath) {
  HKEY key = nullptr;
  if (CallRegOpenKeyEx(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
  CallRegCloseKey(key);
  return TRUE;
}

LONG RemoveRegistryEntry(HKEY root, LPCSTR keyPath) {
  LONG result = CallRegDeleteKey(root, keyPath);
  return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}
