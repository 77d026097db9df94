// The driver image on the disk against the machine Windows runs on.
#include <cctype>
#include <cstring>

#include "installer/installer.h"
#include "support/image_machine.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"
#include "tests/unit/language_files.h"

namespace {

using Trace = std::vector<std::string>;

// The first bytes of a PE image for `machine` and `subsystem` (a kernel
// driver's is native, 1), its header at 0x80.
std::string Image(WORD machine, WORD subsystem = IMAGE_SUBSYSTEM_NATIVE) {
  std::string bytes(0x200, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[0x3C] = '\x80';
  std::memcpy(&bytes[0x80], "PE\0\0", 4);
  bytes[0x84] = static_cast<char>(machine & 0xFF);
  bytes[0x85] = static_cast<char>(machine >> 8);
  bytes[0x80 + 20] = '\xE0';  // the optional header's size
  bytes[0x80 + 24 + 68] = static_cast<char>(subsystem);
  return bytes;
}

// The same compressed with LZ as driver disks were (SZDD), all literals.
std::string Lz(const std::string& data, std::size_t keep = std::string::npos) {
  std::string out("SZDD\x88\xF0\x27\x33" "A_", 10);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((data.size() >> (8 * i)) & 0xFF);
  for (std::size_t i = 0; i < data.size(); i += 8) out += '\xFF' + data.substr(i, 8);
  return out.substr(0, keep);
}

const std::string kX86 = Image(IMAGE_FILE_MACHINE_I386);
const std::string kX64 = Image(IMAGE_FILE_MACHINE_AMD64);
const std::string kText = "just text";
const std::string kDll = Image(IMAGE_FILE_MACHINE_I386, 2);
const std::string kMips = Image(0x0166);
const std::string kLzX86 = Lz(kX86);
const std::string kLzX64 = Lz(kX64);
const std::string kLzCut = Lz(kX86, 100);

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

struct MachineCase {
  const char* name;
  std::function<void()> windows;  // the system's WOW64 answers
  const std::string* driver;      // the disk's file, or null for none
  const char* refusal;            // a part of the text shown, or null when it installs
  const char* source = nullptr;   // the record's source for mlxidecd.SYS, when it has another name
};

class DriverMachineTest : public SetupTest, public ::testing::WithParamInterface<MachineCase> {
 protected:
  std::optional<int> Run() {
    fake::SetSymbol("STF_SRCDIR", "D:\\SETUP");
    const char* source = GetParam().source;
    if (source) {
      fake::toolkit.section = {{"readme.txt"}, {source, "MLXIDECD.sys"}};
      fake::machine.files["D:\\SETUP\\README.TXT"] = kText;
      fake::machine.files["D:\\SETUP\\MLXIDECD.SYS"] = kX86;  // not the one installed
    }
    const std::string path = std::string("D:\\SETUP\\") + (source ? source : "MLXIDECD.SYS");
    if (GetParam().driver) fake::machine.files[Upper(path)] = *GetParam().driver;
    GetParam().windows();
    fake::Events(100, {"CONTINUE"});
    fake::Events(700, {"CONTINUE"});
    fake::Events(400, {"CONTINUE"});
    std::string line = "/quiet";
    return fake::ExitCodeOf([&] { WinMain(nullptr, nullptr, &line[0], SW_SHOWDEFAULT); });
  }
};

// The box a person sees in English is en.rc's form with the box's inserts:
// the log's words and the window's agree.
void ExpectEnglishFromItsForm() {
  for (const fake::Call& call : fake::calls) {
    if (call.name != "StfLanguageBox") continue;
    auto bare = [&](int i) { return call.args[i].substr(1, call.args[i].size() - 2); };
    const std::string inserts[3] = {bare(4), bare(5), bare(6)};
    const auto english = language_files::Strings("en");
    const unsigned id = static_cast<unsigned>(std::stoul(call.args[0]));
    ASSERT_TRUE(english.count(id)) << call.Text();
    EXPECT_EQ(language_files::Fill(english.at(id), inserts), bare(2));
  }
}

TEST_P(DriverMachineTest, ForeignDriverIsRefusedBeforeAnythingChanges) {
  EXPECT_EQ(Run(), 0);
  Trace boxes = fake::CallsTo({"StfLanguageBox"});
  if (GetParam().refusal == nullptr) {
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(fake::machine.services.count("mlxidecd"), 1u);
    return;
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(GetParam().refusal), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("Setup has changed nothing"), std::string::npos) << boxes[0];
  ExpectEnglishFromItsForm();
  EXPECT_EQ(fake::CallsTo({"FDoDialogExt"}).size(), 0u);  // the box is the one window
  EXPECT_EQ(fake::CountCalls("GrcCopyFilesInCopyList") + fake::CountCalls("OpenSCManagerA"), 0);
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
        // A machine without a common name is named by its number, in any language.
        MachineCase{"UnnamedMachine", [] {}, &kMips,
                    "made for 0x0166 Windows. This computer runs 32-bit (x86)"},
        MachineCase{"NotADriver", [] {}, &kText, "is not a Windows driver: it holds text"},
        MachineCase{"AGuiLibrary", [] {}, &kDll, "not a kernel-mode driver"},
        MachineCase{"CompressedDriverUnderAnotherName", [] {}, &kLzX86, nullptr, "mlxidecd.SY_"},
        MachineCase{"CompressedX64DriverOn32BitWindows", [] {}, &kLzX64,
                    "The driver on the setup disk (mlxidecd.SY_) is made for 64-bit (x64)",
                    "mlxidecd.SY_"},
        MachineCase{"TextUnderAnotherName", [] {}, &kText,
                    "The file mlxidecd.SY_ on the setup disk, which setup would install as the "
                    "driver mlxidecd.SYS, is not a Windows driver",
                    "mlxidecd.SY_"},
        MachineCase{"DamagedCompressedDriver", [] {}, &kLzCut, "cannot be expanded (its compressed data is damaged)",
                    "mlxidecd.SY_"},
        MachineCase{"MissingDriverIsTheCopysToReport",
                    [] { fake::RunUnderWow64(IMAGE_FILE_MACHINE_AMD64, false); }, nullptr,
                    nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// A name of setup.inf that would leave the disk's folder is never read: the
// copy list's build refuses it with its line, before anything changes.
TEST(DiskNames, ANameThatLeavesTheDiskIsNotRead) {
  for (const char* name : {"..\\secret.sys", "C:\\boot.ini", "sub\\..\\..\\x.sys", "NUL"}) {
    fake::ResetProcessState();
    fake::SetSymbol("STF_SRCDIR", "D:\\SETUP");
    fake::toolkit.section = {{name, "mlxidecd.SYS"}};
    fake::Always("FAddSectionFilesToCopyList", 0);  // the toolkit's refusal
    fake::Events(100, {"CONTINUE"});
    fake::Events(400, {"CONTINUE"});
    std::string line = "/quiet";
    EXPECT_EQ(fake::ExitCodeOf([&] { WinMain(nullptr, nullptr, &line[0], SW_SHOWDEFAULT); }), 0);
    const std::string bare = std::string(name).substr(std::string(name).rfind('\\') + 1);
    for (const std::string& call :
         fake::CallsTo({"GetFileAttributesA", "StfReadImageKind", "CreateFileA"})) {
      EXPECT_EQ(call.find(bare), std::string::npos) << name << ": " << call;
    }
    EXPECT_EQ(fake::CountCalls("GrcCopyFilesInCopyList"), 0) << name;
  }
}

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
  EXPECT_EQ(fake::CountCalls("GrcCopyFilesInCopyList") + fake::CountCalls("OpenSCManagerA") +
                fake::CountCalls("FCopyOneFile"),
            0);
}

}  // namespace
