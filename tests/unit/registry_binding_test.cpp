// Binding the registry entry points at run time.
#include <algorithm>

#include "support/registry_binding.h"
#include "tests/fakes/process_state.h"

namespace {

using RegistryBindingTest = SetupTest;

const std::vector<std::string> kRequired = {"RegCloseKey",    "RegCreateKeyA",
                                            "RegDeleteKeyA",  "RegOpenKeyA",
                                            "RegQueryValueA", "RegSetValueA"};
const std::vector<std::string> kOptional = {"RegCreateKeyExA",  "RegOpenKeyExA",
                                            "RegQueryValueExA", "RegSetValueExA",
                                            "RegEnumKeyA",      "RegQueryInfoKeyA",
                                            "RegEnumValueA",    "RegDeleteValueA"};

std::vector<std::string> Without(std::vector<std::string> names, const std::string& missing) {
  names.erase(std::remove(names.begin(), names.end(), missing), names.end());
  return names;
}

std::vector<std::string> AllExports() {
  std::vector<std::string> all = kRequired;
  all.insert(all.end(), kOptional.begin(), kOptional.end());
  return all;
}

TEST_F(RegistryBindingTest, LooksUpRequiredThenOptionalEntryPointsInOrder) {
  ASSERT_EQ(BindRegistryFunctions(), 1);
  std::vector<std::string> expected;
  for (const std::string& name : AllExports()) {
    expected.push_back("GetProcAddress(0x10000, \"" + name + "\")");
  }
  EXPECT_EQ(fake::CallsTo({"GetProcAddress"}), expected);
  EXPECT_EQ(fake::CallsTo({"LoadLibraryA"}),
            (std::vector<std::string>{"LoadLibraryA(\"ADVAPI32.DLL\")"}));
  EXPECT_NE(RegistryFunctions.RegQueryInfoKeyA, nullptr);
}

TEST_F(RegistryBindingTest, AnyMissingRequiredEntryPointLeavesNothingLoaded) {
  for (const std::string& missing : kRequired) {
    fake::ResetProcessState();
    fake::AddLibrary("ADVAPI32.DLL", Without(AllExports(), missing));
    EXPECT_EQ(BindRegistryFunctions(), 0) << missing;
    EXPECT_EQ(RegistryLibrary, nullptr) << missing;
    EXPECT_EQ(fake::LoadedLibraryCount(), 0) << missing;
  }
}

TEST_F(RegistryBindingTest, MissingOptionalEntryPointLeavesItsSlotEmpty) {
  for (const std::string& missing : kOptional) {
    fake::ResetProcessState();
    fake::AddLibrary("ADVAPI32.DLL", Without(AllExports(), missing));
    EXPECT_EQ(BindRegistryFunctions(), 1) << missing;
    EXPECT_NE(RegistryLibrary, nullptr);
  }
  EXPECT_EQ(RegistryFunctions.RegDeleteValueA, nullptr);  // the last one left out
}

TEST_F(RegistryBindingTest, MissingLibraryFailsTheBinding) {
  fake::machine.libraries.clear();
  EXPECT_EQ(BindRegistryFunctions(), 0);
  EXPECT_EQ(RegistryLibrary, nullptr);
}

TEST_F(RegistryBindingTest, UnbindingTwiceOrUnboundFreesOnlyOnce) {
  UnbindRegistryFunctions();
  ASSERT_EQ(BindRegistryFunctions(), 1);
  UnbindRegistryFunctions();
  UnbindRegistryFunctions();
  EXPECT_EQ(fake::CountCalls("FreeLibrary"), 1);
  EXPECT_EQ(fake::LoadedLibraryCount(), 0);
}

}  // namespace
