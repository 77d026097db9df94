// The driver image on the disk against the machine Windows runs on.
#include <cstring>

#include "installer/installer.h"
#include "support/image_machine.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"

namespace {

using Trace = std::vector<std::string>;

// The first bytes of a PE image for `machine`, its header at 0x80.
std::string Image(WORD machine) {
  std::string bytes(0x200, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[0x3C] = '\x80';
  std::memcpy(&bytes[0x80], "PE\0\0", 4);
  bytes[0x84] = static_cast<char>(machine & 0xFF);
  bytes[0x85] = static_cast<char>(machine >> 8);
  return bytes;
}

TEST(ImageMachine, ReadsTheMachineOnlyFromAWholePeHeader) {
  std::string truncated = Image(IMAGE_FILE_MACHINE_AMD64).substr(0, 0x85);
  std::string farHeader = Image(IMAGE_FILE_MACHINE_I386);
  farHeader[0x3D] = '\x7F';  // the header would lie beyond the bytes read
  std::string noSignature = Image(IMAGE_FILE_MACHINE_I386);
  noSignature[0x81] = 'X';
  const std::pair<std::string, WORD> cases[] = {
      {Image(IMAGE_FILE_MACHINE_I386), IMAGE_FILE_MACHINE_I386},
      {Image(IMAGE_FILE_MACHINE_AMD64), IMAGE_FILE_MACHINE_AMD64},
      {truncated, IMAGE_FILE_MACHINE_UNKNOWN},
      {farHeader, IMAGE_FILE_MACHINE_UNKNOWN},
      {noSignature, IMAGE_FILE_MACHINE_UNKNOWN},
      {"MZ", IMAGE_FILE_MACHINE_UNKNOWN},
      {std::string(0x200, 'x'), IMAGE_FILE_MACHINE_UNKNOWN}};
  for (const auto& c : cases) {
    EXPECT_EQ(ImageMachineOf(reinterpret_cast<const BYTE*>(c.first.data()),
                             static_cast<DWORD>(c.first.size())),
              c.second);
  }
}

struct MachineCase {
  const char* name;
  std::function<void()> windows;  // the system's WOW64 answers
  const std::string* driver;      // the disk's file, or null for none
  const char* refusal;            // a part of the text shown, or null when it installs
};

class DriverMachineTest : public SetupTest, public ::testing::WithParamInterface<MachineCase> {
 protected:
  std::optional<int> Run() {
    fake::SetSymbol("STF_SRCDIR", "D:\\SETUP");
    if (GetParam().driver) fake::machine.files["D:\\SETUP\\MLXIDECD.SYS"] = *GetParam().driver;
    GetParam().windows();
    fake::Events(100, {"CONTINUE"});
    fake::Events(700, {"CONTINUE"});
    fake::Events(400, {"CONTINUE"});
    std::string line = "/quiet";
    return fake::ExitCodeOf([&] { WinMain(nullptr, nullptr, &line[0], SW_SHOWDEFAULT); });
  }
};

const std::string kX86 = Image(IMAGE_FILE_MACHINE_I386);
const std::string kX64 = Image(IMAGE_FILE_MACHINE_AMD64);
const std::string kText = "just text";

TEST_P(DriverMachineTest, ForeignDriverIsRefusedBeforeAnythingChanges) {
  EXPECT_EQ(Run(), 0);
  Trace boxes = fake::CallsTo({"DoMsgBox"});
  if (GetParam().refusal == nullptr) {
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(fake::machine.services.count("mlxidecd"), 1u);
    return;
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(GetParam().refusal), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("Setup has changed nothing"), std::string::npos) << boxes[0];
  EXPECT_EQ(fake::CallsTo({"FDoDialogExt"}).size(), 1u);  // the error dialog only
  EXPECT_EQ(fake::CountCalls("ResetCopyList") + fake::CountCalls("GrcCopyFilesInCopyList") +
                fake::CountCalls("OpenSCManagerA"),
            0);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, DriverMachineTest,
    ::testing::Values(
        MachineCase{"X86DriverWithoutWow64", [] {}, &kX86, nullptr},
        MachineCase{"X86DriverOnX64", [] { fake::RunUnderWow64(IMAGE_FILE_MACHINE_AMD64, false); },
                    &kX86, "made for 32-bit (x86) Windows. This computer runs 64-bit (x64)"},
        MachineCase{"X64DriverOnX64", [] { fake::RunUnderWow64(IMAGE_FILE_MACHINE_AMD64, true); },
                    &kX64, nullptr},
        MachineCase{"X64DriverOnArm64",
                    [] { fake::RunUnderWow64(IMAGE_FILE_MACHINE_ARM64, true); }, &kX64,
                    "This computer runs 64-bit ARM Windows"},
        MachineCase{"X64DriverOn32BitWindows", [] {}, &kX64,
                    "made for 64-bit (x64) Windows. This computer runs 32-bit (x86)"},
        MachineCase{"NotADriver", [] {}, &kText, "is not a Windows driver"},
        MachineCase{"MissingDriverIsTheCopysToReport",
                    [] { fake::RunUnderWow64(IMAGE_FILE_MACHINE_AMD64, false); }, nullptr,
                    nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// The toolkit's signature check refuses a file beside setup.exe: the run ends
// on the fatal path before the copy, the service or the uninstaller.
std::vector<std::string> checked;
BOOL WINAPI StfCheckDiskFile(LPCSTR file) {
  checked.push_back(file);
  return lstrcmpiA(file, "mscuistf.dll") != 0;
}

class DiskTrustTest : public SetupTest {};

TEST_F(DiskTrustTest, AFileRefusedBySignatureChangesNothing) {
  checked.clear();
  fake::AddResidentLibrary("MSCOMSTF.dll", {"StfCheckDiskFile"}).implementations["StfCheckDiskFile"] =
      reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&StfCheckDiskFile));
  fake::SetSymbol("STF_SRCDIR", "D:\\SETUP");
  fake::machine.files["D:\\SETUP\\MLXIDECD.SYS"] = kX86;
  fake::Events(100, {"CONTINUE"});
  fake::Events(400, {"CONTINUE"});
  std::string line = "/quiet";
  EXPECT_EQ(fake::ExitCodeOf([&] { WinMain(nullptr, nullptr, &line[0], SW_SHOWDEFAULT); }), 0);
  EXPECT_EQ(checked, (Trace{"uninstall.exe", "MSSHLSTF.dll", "MSCOMSTF.dll", "MSINSSTF.dll",
                            "MSUILSTF.dll", "MSDETSTF.dll", "mscuistf.dll"}));
  EXPECT_EQ(fake::CountCalls("ResetCopyList") + fake::CountCalls("GrcCopyFilesInCopyList") +
                fake::CountCalls("OpenSCManagerA") + fake::CountCalls("FCopyOneFile"),
            0);
}

}  // namespace
