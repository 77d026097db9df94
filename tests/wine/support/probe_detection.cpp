// The detection helpers on the machine the probe runs on: drives, ports,
// processor, files, INI files, environment; and the common library's path
// syntax checks.
#include <cstring>
#include <vector>

#include "probe_check.h"
#include "support/detection.h"
#include "contract/toolkit_api.h"

namespace probe {

namespace {

bool ListHolds(const char* symbol, const char* item) {
  char value[64];
  for (UINT i = 1; i <= UsGetListLength(symbol); ++i) {
    if (CbGetListItem(symbol, i, value, sizeof value) < 64 && lstrcmpiA(value, item) == 0) {
      return true;
    }
  }
  return false;
}

// Every item is the prefix and a port number.
bool AllPorts(const char* symbol, const char* prefix, std::string* items) {
  char value[64];
  bool ok = true;
  for (UINT i = 1; i <= UsGetListLength(symbol); ++i) {
    CbGetListItem(symbol, i, value, sizeof value);
    *items += std::string(value) + " ";
    std::string digits = std::string(value).substr(std::min<size_t>(3, std::strlen(value)));
    ok = ok && std::strncmp(value, prefix, 3) == 0 && !digits.empty() &&
         digits.find_first_not_of("0123456789") == std::string::npos;
  }
  return ok;
}

char UnusedDriveLetter() {
  DWORD mask = GetLogicalDrives();
  for (int i = 25; i >= 2; --i) {
    if (!(mask & (1u << i))) return static_cast<char>('A' + i);
  }
  return 0;
}

std::string FirstDriverService() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE);
  if (!manager) return "";
  std::vector<char> data(65536);
  DWORD needed = 0, count = 0, resume = 0;
  std::string name;
  if (EnumServicesStatusA(manager, SERVICE_DRIVER, SERVICE_STATE_ALL,
                          reinterpret_cast<ENUM_SERVICE_STATUSA*>(data.data()),
                          static_cast<DWORD>(data.size()), &needed, &count, &resume) ||
      GetLastError() == ERROR_MORE_DATA) {
    if (count > 0) name = reinterpret_cast<ENUM_SERVICE_STATUSA*>(data.data())[0].lpServiceName;
  }
  CloseServiceHandle(manager);
  return name;
}

void CheckDrives() {
  char drive[] = "c:\\setup";
  BOOL valid = CheckDriveValid(drive);
  Check(valid != 0 && std::string(drive) == "C:\\setup",
        "drive C is valid (CheckDriveValid), its letter upper-cased", drive);
  char fixed[] = "c:\\setup";
  BOOL local = CheckDriveLocalFixed(fixed);
  Check(local != 0 && std::string(fixed) == "C:\\SETUP",
        "drive C is a local hard drive (CheckDriveLocalFixed)", fixed);
  Check(CheckDriveRemote("c") == 0, "drive C is not remote (CheckDriveRemote)");
  char removable[] = "c";
  Check(CheckDriveRemovable(removable) == 0, "drive C is not removable (CheckDriveRemovable)");
  char total[] = "c";
  LONG totalBytes = QueryDriveTotalBytes(total), freeBytes = QueryDriveFreeBytes("c");
  Check(freeBytes > 0 && totalBytes >= freeBytes,
        "drive C: free bytes above 0, total at least free (QueryDriveFreeBytes, "
        "QueryDriveTotalBytes)",
        std::to_string(freeBytes) + " of " + std::to_string(totalBytes));

  char unused[2] = {UnusedDriveLetter(), '\0'};
  if (unused[0] != 0) {
    Check(CheckDriveValid(unused) == 0 && QueryDriveTotalBytes(unused) < 0,
          std::string("unmapped drive ") + unused + " is not valid and has no size");
  }
  char digit[] = "1";
  Check(CheckDriveValid(digit) == 0, "a digit names no drive (drive number -15)");

  FillValidDriveList("StfProbeDrives");
  Check(ListHolds("StfProbeDrives", "C:"), "C: in the valid drives (FillValidDriveList)");
  FillLocalFixedDriveList("StfProbeFixed");
  Check(ListHolds("StfProbeFixed", "C:"), "C: in the local hard drives (FillLocalFixedDriveList)");
  FillNetworkDriveList("StfProbeRemote");
  Check(!ListHolds("StfProbeRemote", "C:"), "C: not among the network drives");
  std::string items;
  FillSerialPortList("StfProbeCom");
  Check(AllPorts("StfProbeCom", "COM", &items), "serial ports are COMn (FillSerialPortList)",
        items);
  items.clear();
  FillParallelPortList("StfProbeLpt");
  Check(AllPorts("StfProbeLpt", "LPT", &items), "parallel ports are LPTn (FillParallelPortList)",
        items);
}

void CheckMachine() {
  INT code = QueryProcessorCode();
  Check(code == 3 || code == 4, "processor code of an x86 (QueryProcessorCode)",
        std::to_string(code));
  Check(CheckMathCoprocessor() != 0 && CheckMathCoprocessor() == CheckMathCoprocessorAlt(),
        "math coprocessor present, both entry points agree");
  Check(CheckMonochromeDisplay() == 0, "display is not monochrome (CheckMonochromeDisplay)");
  std::printf("info mouse present: %d\n", CheckMousePresent());
  std::string driver = FirstDriverService();
  Check(!driver.empty() && CheckDriverInConfig(driver.c_str()) != 0,
        "a driver of the service database is in the configuration (CheckDriverInConfig)", driver);
  Check(CheckDriverInConfig((driver + ".sys").c_str()) != 0, "also when named with .SYS");
  Check(CheckDriverInConfig("NoSuchDriverHere") == 0, "an unknown driver is not");
}

void CheckFiles() {
  char buffer[256];
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  std::string kernel = std::string(system) + "\\kernel32.dll";
  ReadFileVersion(kernel.c_str(), buffer, 255);
  Check(ParseVersionField(buffer, 1) > 0 && std::strchr(buffer, '.') != nullptr,
        "kernel32.dll has a version a.b.c.d (ReadFileVersion)", buffer);

  std::string text = Path("dated.txt");
  WriteText(text, "twelve bytes");
  Check(QueryFileSize(text.c_str()) == 12, "file size (QueryFileSize)");
  std::strcpy(buffer, "x");
  ReadFileVersion(text.c_str(), buffer, 255);
  Check(buffer[0] == '\0', "a text file has no version: empty", buffer);
  SYSTEMTIME when = {2021, 3, 0, 4, 5, 6, 8, 0};
  FILETIME local, utc;
  SystemTimeToFileTime(&when, &local);
  LocalFileTimeToFileTime(&local, &utc);
  HANDLE h = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
  ReadFileDate(text.c_str(), buffer, 255);
  Check(std::string(buffer) == "2021-03-04 05:06:08", "last write date read back (ReadFileDate)",
        buffer);
  Check(ParseDateYear(buffer) == 2021 && ParseDateMonth(buffer) == 3 && ParseDateDay(buffer) == 4 &&
            ParseDateHour(buffer) == 5 && ParseDateMinute(buffer) == 6 &&
            ParseDateSecond(buffer) == 8,
        "its fields (ParseDateYear ... ParseDateSecond)");

  Check(CheckFileExists(text.c_str(), 0) != 0 && CheckFileExists(text.c_str(), 1) != 0,
        "an existing, writable file (CheckFileExists modes 0 and 1)");
  HANDLE held =
      CreateFileA(text.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  Check(CheckFileExists(text.c_str(), 0) != 0 && CheckFileExists(text.c_str(), 1) == 0,
        "a file held open by another exists but is not writable");
  CloseHandle(held);
  Check(CheckFileExists(Path("absent.txt").c_str(), 0) == 0 && CheckFileExists(kRoot, 0) == 0 &&
            CheckFileExists("C:\\bad|name.txt", 0) == 0,
        "missing file, directory and invalid path do not exist as files");
  Check(CheckDirExists(kRoot) != 0 && CheckDirExists(text.c_str()) == 0, "CheckDirExists");

  SearchEnvVarDirs("notepad.exe", "PATH", buffer, 255);
  Check(Upper(buffer).find("\\NOTEPAD.EXE") != std::string::npos,
        "notepad.exe found along PATH (SearchEnvVarDirs)", buffer);
  SearchEnvVarDirs("no-such-file.xyz", "PATH", buffer, 255);
  Check(buffer[0] == '\0', "a file on no PATH directory: empty");

  std::string tree = Path("tree");
  for (const char* dir : {"tree", "tree\\a", "tree\\b", "tree\\b\\c", "tree\\b\\c\\d"}) {
    CreateDirectoryA(Path(dir).c_str(), nullptr);
  }
  WriteText(Path("tree\\b\\c\\d\\target.txt"), "found");
  WriteText(Path("tree\\a\\other.txt"), "other");
  std::strcpy(buffer, "");
  SearchDirTree("target.txt", tree.c_str(), buffer, 255);
  Check(Upper(buffer) == Upper(Path("tree\\b\\c\\d\\target.txt")),
        "file found four levels down (SearchDirTree)", buffer);
  SearchDirTree("nothing.txt", tree.c_str(), buffer, 255);
  Check(buffer[0] == '\0', "a file in no directory of the tree: empty", buffer);
  Check(CbFindFileInTree("target.txt", tree.c_str(), buffer, 10) > 10,
        "a found path longer than the buffer: its length, nothing copied");
}

void CheckIniAndEnvironment() {
  std::string ini = Path("probe.ini");
  std::string longValue(2000, 'v');
  WriteText(ini, "[Probe]\r\nname=value\r\nempty=\r\nlong=" + longValue + "\r\n[Empty]\r\n");
  char buffer[256];
  ReadIniKeyValue(ini.c_str(), "probe", "NAME", buffer, 255);
  Check(std::string(buffer) == "value", "INI value read, names without case (ReadIniKeyValue)",
        buffer);
  Check(CheckIniKey(ini.c_str(), "Probe", "empty") != 0 &&
            CheckIniKey(ini.c_str(), "Probe", "none") == 0,
        "a key with an empty value exists, an absent one does not (CheckIniKey)");
  Check(CheckIniSection(ini.c_str(), "Empty") != 0 && CheckIniSection(ini.c_str(), "None") == 0,
        "a section without keys exists, an absent one does not (CheckIniSection)");
  std::vector<char> big(4096, 'x');
  big[0] = 'x';
  INT n = CbGetIniKeyString(ini.c_str(), "Probe", "long", big.data(), 2000);
  Check(n == 2000 && big[0] == 'x', "a 2000-character value does not fit 2000 bytes: not copied",
        std::to_string(n));
  n = CbGetIniKeyString(ini.c_str(), "Probe", "long", big.data(), 2001);
  Check(n == 2000 && std::string(big.data()) == longValue, "and is copied whole into 2001");

  SetEnvironmentVariableA("STFPROBE", "some value");
  ReadEnvValue("STFPROBE", buffer, 255);
  Check(std::string(buffer) == "some value", "environment variable read (ReadEnvValue)", buffer);
  Check(std::string(ReadEnvValue("STFPROBE_UNSET", buffer, 255)).empty(), "an unset one: empty");
}

}  // namespace

void CheckDetection() {
  CheckDrives();
  CheckMachine();
  CheckFiles();
  CheckIniAndEnvironment();
}

void CheckPathSyntax() {
  struct Case {
    const char* path;
    BOOL validPath, validDir;
  };
  static const Case cases[] = {
      {"C:\\dir\\file.txt", TRUE, TRUE},
      {"C:\\", TRUE, TRUE},
      {"C:\\dir\\", FALSE, TRUE},
      {"C:dir", FALSE, FALSE},
      {"dir\\file", FALSE, FALSE},
      {"C:\\a\\..\\b", FALSE, FALSE},
      {"C:\\a\\\\b", FALSE, FALSE},
      {"C:\\a?b", FALSE, FALSE},
      {"C:\\con", FALSE, FALSE},
      {"\\\\server\\share\\f.txt", TRUE, TRUE},
      {"\\\\server\\share", TRUE, TRUE},
      {"\\\\server\\", FALSE, FALSE},
      {"\\\\server", FALSE, FALSE},
      {"\\\\se*ver\\share\\f", FALSE, FALSE},
      {"", FALSE, FALSE},
      {"1:\\dir", FALSE, FALSE},
      {"\xC9:\\dir", FALSE, FALSE},  // a letter of code page 1252, not a drive
  };
  for (const Case& c : cases) {
    BOOL path = FValidPath(c.path) != 0, dir = FValidDir(c.path) != 0;
    Check(path == c.validPath && dir == c.validDir,
          std::string("FValidPath, FValidDir of \"") + c.path + "\"",
          std::to_string(path) + ", " + std::to_string(dir));
  }
  struct Split {
    const char* path;
    const char *vol, *dir, *file;
  };
  static const Split splits[] = {
      {"C:\\dir\\sub\\file.txt", "C:", "\\dir\\sub\\", "file.txt"},
      {"C:\\file.txt", "C:", "\\", "file.txt"},
      {"\\\\server\\share\\d\\f.txt", "\\\\server\\share", "\\d\\", "f.txt"},
      {"\\\\server\\share", "\\\\server\\share", "\\", ""},
  };
  for (const Split& s : splits) {
    char vol[64] = "?", dir[64] = "?", file[64] = "?";
    BOOL ok = FParsePathIntoPieces(s.path, vol, 64, dir, 64, file, 64);
    Check(
        ok && std::string(vol) == s.vol && std::string(dir) == s.dir && std::string(file) == s.file,
        std::string("FParsePathIntoPieces of \"") + s.path + "\"",
        std::string(vol) + " | " + dir + " | " + file);
  }
  char small[4] = "";
  Check(FParsePathIntoPieces("C:\\dir\\file.txt", nullptr, 0, nullptr, 0, small, 4) == 0,
        "a file name that does not fit its piece: 0");
}

}  // namespace probe

namespace probe {

// Under code page 932, where 0x95 0x5C is one character whose trail byte is
// the code of a backslash.
void CheckDoubleByteNames() {
  if (GetACP() != 932) {
    Check(false, "code page 932 for the double-byte checks", std::to_string(GetACP()));
    return;
  }
  const std::string table =
      "\x95"
      "\\";  // one character, ends in 0x5C
  std::string dir = Path("dbcs");
  std::string deep = dir + "\\" + table;
  CreateDirectoryA(dir.c_str(), nullptr);
  CreateDirectoryA(deep.c_str(), nullptr);
  WriteText(deep + "\\target.txt", "found");
  Check(GetFileAttributesA((deep + "\\target.txt").c_str()) != INVALID_FILE_ATTRIBUTES,
        "fixture: a file in a directory named with 0x95 0x5C");

  char buffer[256] = "";
  CbFindFileInTree("target.txt", dir.c_str(), buffer, 255);
  Check(std::string(buffer) == deep + "\\target.txt",
        "found under a directory whose name ends in a trail byte 0x5C (CbFindFileInTree)", buffer);
  CbFindFileInTree("target.txt", deep.c_str(), buffer, 255);
  Check(std::string(buffer) == deep + "\\target.txt", "searched from that directory itself",
        buffer);

  std::string dirs = Path("none") + ";" + deep;
  SetEnvironmentVariableA("STFPROBE_DIRS", dirs.c_str());
  INT length = CbGetEnvVariableValue("STFPROBE_DIRS", buffer, 255);
  Check(length == static_cast<INT>(dirs.size()) && std::string(buffer) == dirs,
        "a double-byte variable value read whole (CbGetEnvVariableValue)", std::to_string(length));
  CbFindTargetOnEnvVar("target.txt", "STFPROBE_DIRS", buffer, 255);
  Check(std::string(buffer) == deep + "\\target.txt",
        "found along a variable whose directory ends in 0x5C (CbFindTargetOnEnvVar)", buffer);

  char vol[64] = "", path[64] = "", file[64] = "";
  std::string named = "C:\\dir\\" + table;
  BOOL ok = FParsePathIntoPieces(named.c_str(), vol, 64, path, 64, file, 64);
  Check(ok && std::string(path) == "\\dir\\" && std::string(file) == table,
        "a file name ending in 0x5C is a file name (FParsePathIntoPieces)",
        std::string(path) + " | " + file);
  Check(FValidPath(named.c_str()) != 0 && FValidDir((named + "\\").c_str()) != 0,
        "and a valid path and directory (FValidPath, FValidDir)");
}

}  // namespace probe
