// A fake registry for host tests: an in-memory key tree behind the twelve
// registry entry points of the fake ADVAPI32.DLL, with failures to inject,
// and the local heap that the registry deletion takes its buffers from.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace fake {

struct Library;

struct RegValue {
  DWORD type = REG_SZ;
  std::string data;  // bytes as stored; strings include their terminator
};

struct RegNode {
  std::string name;
  std::vector<RegNode> children;          // in enumeration order
  std::map<std::string, RegValue> values; // by upper-case name; "" is the default value
};

struct Registry {
  RegNode top;  // its children are the predefined roots by name
  std::map<uintptr_t, std::string> handles;  // open keys and their full paths
  uintptr_t nextHandle = 0x4E000;

  // Failures to inject. Paths are full and compared without case, e.g.
  // "HKEY_CLASSES_ROOT\\K\\B".
  std::map<std::string, LONG> failingCalls;          // by entry point: every call fails
  std::map<std::string, LONG> openErrors;            // RegOpenKeyA and RegOpenKeyExA
  std::map<std::pair<std::string, DWORD>, LONG> enumErrors;  // key path, index
  std::set<std::string> queryInfoFails;
  bool reportCount = false;  // query answers success with `reportedCount`
  DWORD reportedCount = 0;

  std::vector<std::string> deletions;  // full paths, in order

  // The local heap.
  int allocationsBeforeFailure = -1;  // -1: never fails
  int liveAllocations = 0;
  int allocations = 0;
};

extern Registry registry;

// Clears the tree and puts the entry points into the library as its behaviour.
void ResetRegistry(Library& advapi32);

// Test set-up and inspection, by full path.
void AddRegKey(const std::string& path);
void SetRegDefault(const std::string& path, const std::string& value);
// A value with its bytes as stored (a string's terminator included).
void SetRegValue(const std::string& path, const std::string& name, DWORD type,
                 const std::string& data);
bool RegKeyExists(const std::string& path);
std::string RegDefault(const std::string& path);  // empty when not set
const RegValue* FindRegValue(const std::string& path, const std::string& name);
int OpenRegKeyCount();

}  // namespace fake
