// Calls the program's guarded wrappers through our real toolkit libraries on
// a Wine (or Windows) machine and checks what they did to it. One line per
// check ("ok ..." or "FAIL ..."); the exit code is 0 only when every check
// passed. A wrapper that fails ends the program through FatalSetupError,
// which exits with 0: an exit handler turns that into a failure (code 2).
//
//   wrappers_probe.exe                 the checks; queues C:\stfprobe\busy.dll
//                                      for replacement and finally asks to restart
//   wrappers_probe.exe --after-boot    in a later session: the queued file was replaced
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "toolkit/copy_wrappers.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"
#include "toolkit/wrappers.h"

namespace {

const char kRoot[] = "C:\\stfprobe";
int failures = 0;
bool finished = false;

void Check(bool ok, const std::string& what, const std::string& detail = "") {
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), detail.empty() ? "" : ": ",
              detail.c_str());
  std::fflush(stdout);
  if (!ok) ++failures;
}

void OnExit() {
  if (finished) return;
  std::printf("FAIL a wrapper took the fatal path (FatalSetupError) before the checks ended\n");
  std::fflush(stdout);
  ExitProcess(2);
}

std::string Path(const char* name) { return std::string(kRoot) + "\\" + name; }

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDir(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  if (h != INVALID_HANDLE_VALUE) {
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
  }
}

std::string ReadText(const std::string& path) {
  std::string text;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
  CloseHandle(h);
  return text;
}

std::string IniValue(const std::string& file, const char* section, const char* key) {
  char value[256];
  GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, file.c_str());
  return value;
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// The PendingFileRenameOperations entries, upper-cased, each followed by '|'.
std::string PendingRenames() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return "";
  }
  DWORD type = 0, size = 0;
  std::string joined;
  if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) ==
          ERROR_SUCCESS && size > 0) {
    std::string data(size + 2, '\0');
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type,
                         reinterpret_cast<BYTE*>(&data[0]), &size) == ERROR_SUCCESS) {
      for (const char* p = data.c_str(); p < data.c_str() + size && *p; p += std::strlen(p) + 1) {
        joined += Upper(p) + "|";
      }
    }
  }
  RegCloseKey(key);
  return joined;
}

std::string ProgramsFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return path;
}

void CheckIni() {
  std::string ini = Path("probe.ini");
  WriteIniValue(ini.c_str(), "Probe", "Key", "Value", cmoForceWrite);
  Check(IniValue(ini, "Probe", "Key") == "Value", "INI key written (WriteIniValue)",
        IniValue(ini, "Probe", "Key"));
  WriteIniValue(ini.c_str(), "Probe", "Key", "Other", cmoNone);
  Check(IniValue(ini, "Probe", "Key") == "Value", "INI key kept without cmoForceWrite");
  WriteIniValue(ini.c_str(), "Probe", "Key", "Other", cmoForceWrite);
  Check(IniValue(ini, "Probe", "Key") == "Other", "INI key replaced with cmoForceWrite");
  WriteIniValue(ini.c_str(), "Probe", "Second", "2", cmoForceWrite);
  DeleteIniKey(ini.c_str(), "Probe", "Key", cmoNone);
  Check(IniValue(ini, "Probe", "Key") == "<absent>" && IniValue(ini, "Probe", "Second") == "2",
        "INI key removed, its neighbour kept (DeleteIniKey)");
  DeleteIniSection(ini.c_str(), "Probe", cmoNone);
  char keys[256] = "";
  GetPrivateProfileStringA("Probe", nullptr, "", keys, sizeof keys, ini.c_str());
  Check(keys[0] == '\0', "INI section removed (DeleteIniSection)");

  WriteSystemIniValue("stfprobe.ini", "Probe", "Sys", "Yes", cmoForceWrite);
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  std::string sysIni = std::string(system) + "\\stfprobe.ini";
  Check(IniValue(sysIni, "Probe", "Sys") == "Yes",
        "system-directory INI key written (WriteSystemIniValue)", sysIni);
}

void CheckDirectories() {
  std::string deep = Path("made\\deeper\\deepest");
  MakeDirectory(deep.c_str(), cmoNone);
  Check(IsDir(deep), "directory and its parents made (MakeDirectory)", deep);
  DeleteDirectory(deep.c_str(), cmoNone);
  Check(!Exists(deep) && IsDir(Path("made\\deeper")), "directory removed (DeleteDirectory)");
  Check(CanWriteDirectory(kRoot) != 0, "CanWriteDirectory of a writable directory");
  Check(CanWriteDirectory(Path("no-such-dir").c_str()) == 0, "CanWriteDirectory of a missing one");
}

void CheckProgramGroups() {
  const char group[] = "Merlox Probe";
  MakeProgramGroup(group, "", cmoNone);
  std::string folder = ProgramsFolder(CSIDL_PROGRAMS) + "\\" + group;
  Check(IsDir(folder), "program group folder made (MakeProgramGroup)", folder);
  DisplayProgramGroup(group, 1, cmoNone);
  Check(true, "program group shown (DisplayProgramGroup, show command 1)");
  char notepad[MAX_PATH];
  GetWindowsDirectoryA(notepad, MAX_PATH);
  lstrcatA(notepad, "\\notepad.exe");
  MakeProgramItem(group, "Probe Notepad", notepad, notepad, cmoNone);
  std::string link = folder + "\\Probe Notepad.lnk";
  std::string text = ReadText(link);
  Check(text != "<missing>" && text.size() > 20 && text[0] == 'L',
        "program item made: a shell link (MakeProgramItem)", link);

  MakeProgramGroupEx(group, "", cmoNone);
  std::string common = ProgramsFolder(CSIDL_COMMON_PROGRAMS) + "\\" + group;
  Check(IsDir(common), "common program group made (MakeProgramGroupEx)", common);
  DisplayProgramGroupEx(group, "", 0, cmoNone);
  MakeProgramItemEx(group, "", "Probe Common", notepad, "", cmoNone);
  Check(Exists(common + "\\Probe Common.lnk"), "common program item made (MakeProgramItemEx)");
}

void CheckBackupAndRemoval() {
  std::string file = Path("data.txt");
  WriteText(file, "hello");
  SaveFileBackup(file.c_str(), "data.bak");
  Check(ReadText(Path("data.bak")) == "hello", "backup made beside the file (SaveFileBackup)");
  EraseFile(file.c_str(), cmoNone);
  Check(!Exists(file) && Exists(Path("data.bak")), "file removed (EraseFile)");
  EraseFile(file.c_str(), cmoNone);
  Check(true, "removing a missing file succeeds");
  Check(CanWriteFile(Path("data.bak").c_str()) != 0, "CanWriteFile of an existing file");
}

void CheckCopyAndCost() {
  std::string src = Path("src"), dst = Path("dst");
  MakeDirectory(src.c_str(), cmoNone);
  WriteText(Path("src\\one.bin"), "0123456789");
  WriteText(Path("src\\two.bin"), std::string(2345, 'x'));
  std::string inf = Path("probe.inf");
  WriteText(inf, "[Probe Files]\r\none.bin, one.bin, 1000\r\ntwo.bin\r\n");
  OpenInfFile(inf.c_str());
  QueueSectionFiles("Probe Files", (src + "\\").c_str(), (dst + "\\").c_str());
  LONG cost = MeasureCopyListCost("", "ProbeCost", "ProbeNeed");
  Check(cost == 3345, "copy list cost: declared 1000 + real 2345 (MeasureCopyListCost)",
        std::to_string(cost));
  char costItem[256] = "", needItem[256] = "";
  bool oneCost = CountListItems("ProbeCost") == 1, oneNeed = CountListItems("ProbeNeed") == 1;
  if (oneCost) ReadListItem("ProbeCost", 1, costItem, 255);
  if (oneNeed) ReadListItem("ProbeNeed", 1, needItem, 255);
  Check(oneCost && std::string(costItem) == "C=3345", "cost list per drive", costItem);
  Check(oneNeed && std::string(needItem) == "C=0", "need list: nothing beyond the free space",
        needItem);
  std::string dump = Path("copylist.txt");
  WriteCopyListToFile(dump.c_str());
  std::string listed = Upper(ReadText(dump));
  Check(listed.find("ONE.BIN") != std::string::npos && listed.find("TWO.BIN") != std::string::npos,
        "copy list written to a file (WriteCopyListToFile)");

  // The copy itself, under a billboard and a blank one (no dialog): the
  // blank one holds its place, and the copy leaves one billboard up.
  AddBillboard("mscuistf.dll", 5000, "FModelessDlgProc", 1);
  AddBlankBillboard(1);
  RunCopyList();
  Check(ReadText(Path("dst\\two.bin")) == std::string(2345, 'x'),
        "copy list copied under a billboard and a blank one (RunCopyList)");
  CloseDialogs(1);
  DropAllBillboards();

  CopySingleFile(Path("src\\one.bin").c_str(), Path("single.bin").c_str(), cmoNone, FALSE);
  Check(ReadText(Path("single.bin")) == "0123456789", "one file copied (CopySingleFile)");
  CopySingleFile(Path("src\\one.bin").c_str(), Path("single.bin").c_str(), cmoNone, TRUE);
  Check(ReadText(Path("single.bin")) == "01234567890123456789", "one file appended");
}

void CheckStampAndPath() {
  char dll[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA("MSDETSTF.dll"), dll, MAX_PATH);
  std::string copy = Path("stamp.dll");
  CopyFileA(dll, copy.c_str(), FALSE);
  static const char data[] = "MERLOX-STAMP";
  StampFileResource("Probe Files", "one.bin", copy.c_str(), 10, 77, data, sizeof data - 1);
  HMODULE h = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC r = h ? FindResourceA(h, MAKEINTRESOURCEA(77), MAKEINTRESOURCEA(10)) : nullptr;
  bool same = r && SizeofResource(h, r) == sizeof data - 1 &&
              std::memcmp(LockResource(LoadResource(h, r)), data, sizeof data - 1) == 0;
  if (h) FreeLibrary(h);
  Check(same, "resource RCDATA 77 stamped into a copied library (StampFileResource)", copy);

  std::string autoexec = Path("autoexec.bat"), out = Path("autoexec.new");
  WriteText(autoexec, "@ECHO OFF\r\nSET PATH=C:\\DOS;C:\\MERLOX\\\r\nPROMPT $P$G\r\n");
  PrependPathEntry(autoexec.c_str(), out.c_str(), "C:\\MERLOX", cmoNone);
  bool prepended = ReadText(out) == "@ECHO OFF\r\nSET PATH=C:\\MERLOX;C:\\DOS\r\nPROMPT $P$G\r\n";
  Check(prepended, "directory put at the front of PATH (PrependPathEntry)",
        prepended ? "" : ReadText(out));

  char found[256];
  FindFileByOpening("notepad.exe", found, 255);
  Check(Upper(found).find("NOTEPAD.EXE") != std::string::npos, "notepad.exe found (FindFileByOpening)",
        found);
  FindFileByOpening("no-such-file.xyz", found, 255);
  Check(found[0] == '\0', "a missing file gives an empty text");
}

void CheckRestartQueue() {
  Check(IsRestartQueueEmpty() != 0, "restart queue empty at first (IsRestartQueueEmpty)");
  Check(ExitAndRestart() == 0, "ExitAndRestart refuses with nothing queued");
  ChooseRestartDirectory(kRoot);
  std::string target = Path("busy.dll"), fresh = Path("fresh.dll");
  WriteText(target, "old contents");
  WriteText(fresh, "new contents");
  HANDLE busy = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Check(busy != INVALID_HANDLE_VALUE, "target held open without sharing");
  CopySingleFile(fresh.c_str(), target.c_str(), cmoRestart, FALSE);
  CloseHandle(busy);
  Check(ReadText(target) == "old contents", "busy target left as it is for now");
  Check(IsRestartQueueEmpty() == 0, "restart queue no longer empty");
  std::string pending = PendingRenames();
  Check(pending.find(Upper(target) + "|") != std::string::npos,
        "PendingFileRenameOperations names the target", pending);
}

int AfterBoot() {
  std::string target = Path("busy.dll");
  Check(ReadText(target) == "new contents", "queued file replaced at the boot", ReadText(target));
  Check(PendingRenames().find(Upper(target)) == std::string::npos,
        "no replacement of it is pending any more");
  finished = true;
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::atexit(OnExit);
  if (argc > 1 && std::strcmp(argv[1], "--after-boot") == 0) {
    finished = true;
    return AfterBoot();
  }
  CreateDirectoryA(kRoot, nullptr);
  char cmdLine[] = "/quiet /log C:\\stfprobe\\probe.log";
  Check(InitializeSetup(cmdLine) > 0, "setup opened quietly (InitializeSetup)");
  CheckIni();
  CheckDirectories();
  CheckProgramGroups();
  CheckBackupAndRemoval();
  CheckCopyAndCost();
  CheckStampAndPath();
  CheckRestartQueue();
  // Last: the restart that finishes the queued replacement (not forced, so
  // under Wine this program lives on).
  Check(ExitAndRestart() != 0, "ExitAndRestart accepted with a file queued");
  finished = true;
  EndSetup();
  std::printf("probe: %d failure(s)\n", failures);
  return failures ? 1 : 0;
}
