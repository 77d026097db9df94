// The shared application directories in the machine's real WIN.INI, and the
// search for where a shared file belongs, with an INF file of the probe's own.
#include <vector>

#include "probe_check.h"
#include "support/detection.h"
#include "support/registry_routines.h"
#include "support/shared_dirs.h"
#include "support/shared_file_search.h"
#include "toolkit/setup_lifecycle.h"

namespace probe {

namespace {

const char* const kKeys[] = {"MSAPPS",  "CLIPART", "EQUATION", "GRPHFLT", "MSDRAW",
                             "MSGRAPH", "PROOF",   "TEXTCONV", "WORDART", "STFPROBEAPP"};
const char kRegKey[] = "StfSupportProbe.Shared";
const char kIniSection[] = "StfSupportProbe";

std::vector<std::string> keysWritten;  // the MSAPPS keys absent before the probe
bool keysNoted = false;

std::string Entry(const char* section, const char* key) {
  char value[512];
  GetProfileStringA(section, key, "<absent>", value, sizeof value);
  return value;
}

std::string WindowsDir() {
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  std::string text(dir, n);
  if (text.empty() || text.back() != '\\') text += '\\';
  return text;
}

// A file of the system's with a version resource, copied where the probe may
// write it; its version read with the plain API.
std::string VersionedCopy(std::string* version) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  std::string copy = Path("versioned.dll");
  CopyFileA((std::string(system) + "\\kernel32.dll").c_str(), copy.c_str(), FALSE);
  DWORD handle = 0, size = GetFileVersionInfoSizeA(copy.c_str(), &handle);
  std::vector<char> data(size ? size : 1);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  char root[] = "\\";
  if (size && GetFileVersionInfoA(copy.c_str(), 0, size, data.data()) &&
      VerQueryValueA(data.data(), root, reinterpret_cast<void**>(&info), &length) && info) {
    char text[64];
    wsprintfA(text, "%u.%u.%u.%u", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
              HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    *version = text;
  }
  return copy;
}

}  // namespace

void CheckSharedDirs() {
  for (const char* key : kKeys) {
    if (Entry("MSAPPS", key) == "<absent>") keysWritten.push_back(key);
  }
  keysNoted = true;
  bool fresh = keysWritten.size() == sizeof kKeys / sizeof kKeys[0];

  std::string shared = WindowsDir() + "MSAPPS";
  Check(PrepareSharedAppDirs() == 1, "shared directories recorded (PrepareSharedAppDirs)");
  if (fresh) {
    Check(Entry("MSAPPS", "MSAPPS") == shared, "MSAPPS is the Windows directory's MSAPPS",
          Entry("MSAPPS", "MSAPPS"));
    bool all = true;
    std::string wrong;
    for (int i = 1; i < 9; ++i) {
      if (Entry("MSAPPS", kKeys[i]) != shared + "\\" + kKeys[i]) {
        all = false;
        wrong += std::string(kKeys[i]) + "=" + Entry("MSAPPS", kKeys[i]) + " ";
      }
    }
    Check(all, "the eight subdirectories recorded under it", wrong);
  } else {
    Check(Entry("MSAPPS", "MSAPPS") != "<absent>", "MSAPPS was recorded before: kept");
  }
  if (fresh) {
    WriteProfileStringA("MSAPPS", "CLIPART", nullptr);
    Check(PrepareSharedAppDirs() == 1 && Entry("MSAPPS", "CLIPART") == "<absent>",
          "a second run reads and writes nothing");
  }

  // The INF record: field 1 the file's name, field 19 the required version.
  std::string inf = Path("shared.inf");
  WriteText(inf,
            "[Shared Files]\r\n"
            "missing = shared.dll,,,,,,,,,,,,,,,,,, 2.0\r\n"
            "noversion = shared.dll\r\n");
  OpenInfFile(inf.c_str());

  char out[256];
  std::string where = Entry("MSAPPS", "MSAPPS") + "\\STFPROBEAPP";
  LPSTR answer =
      FindSharedAppFile("Shared Files", "missing", "STFPROBEAPP", "", "", "", 1, out, 255);
  Check(answer == out && Upper(out) == Upper(where + "\\shared.dll"),
        "no candidate: the default path in the application's directory (FindSharedAppFile)", out);
  Check(Entry("MSAPPS", "STFPROBEAPP") == where, "the application's directory recorded in MSAPPS",
        Entry("MSAPPS", "STFPROBEAPP"));
  Check(QuerySharedFileUpdateNeeded() == 1, "nothing there yet: the file is to be copied");
  Check(FindSharedAppFile("Shared Files", "noversion", "STFPROBEAPP", "", "", "", 1, out, 255) ==
            nullptr,
        "an INF record without field 19 answers null");

  std::string version;
  std::string copy = VersionedCopy(&version);
  Check(!version.empty(), "the system's kernel32.dll has a version resource", version);
  CreateRegKeyValue(kRegKey, copy.c_str());
  answer =
      FindSharedAppFile("Shared Files", "missing", "STFPROBEAPP", kRegKey, "", "", 1, out, 255);
  Check(answer && Upper(out) == Upper(copy), "the registry's candidate is vetted and answered",
        out);
  Check(QuerySharedFileUpdateNeeded() == 0, "its version is at least 2.0: no update needed");

  answer = PickSharedFileLocation(kRegKey, "", "", 1, "C:\\default\\x.dll", "99999.0", out, 255);
  Check(answer && Upper(out) == Upper(copy) && QuerySharedFileUpdateNeeded() == 1,
        "an older but writable copy is kept and marked for update", out);

  // A recorded path whose file is missing: its name is looked for where
  // Windows looks, the Windows directory first.
  SetRegKeyValue(kRegKey, "C:\\nowhere\\notepad.exe");
  answer = PickSharedFileLocation(kRegKey, "", "", 1, "C:\\default\\x.dll", "", out, 255);
  Check(answer && Upper(out) == Upper(WindowsDir() + "notepad.exe"),
        "a missing recorded file is found by name in the Windows directory", out);

  WriteProfileStringA(kIniSection, "Where", ("first, " + copy + ", third").c_str());
  answer =
      PickSharedFileLocation("", kIniSection, "Where", 2, "C:\\default\\x.dll", "1.0", out, 255);
  Check(answer && Upper(out) == Upper(copy), "field 2 of a WIN.INI entry is the candidate", out);
}

// The plain API: this also runs after the fatal path has ended the setup.
void CleanUpSharedDirs() {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kRegKey);
  WriteProfileStringA(kIniSection, nullptr, nullptr);
  if (keysNoted && keysWritten.size() == sizeof kKeys / sizeof kKeys[0]) {
    WriteProfileStringA("MSAPPS", nullptr, nullptr);  // the probe made the whole section
  } else if (keysNoted) {
    for (const std::string& key : keysWritten) WriteProfileStringA("MSAPPS", key.c_str(), nullptr);
  }
  bool clean = Entry(kIniSection, "Where") == "<absent>";
  for (const std::string& key : keysWritten)
    clean = clean && Entry("MSAPPS", key.c_str()) == "<absent>";
  Check(clean, "the WIN.INI entries the probe wrote are removed");
  HKEY key = nullptr;
  bool gone = RegOpenKeyExA(HKEY_CLASSES_ROOT, kRegKey, 0, KEY_READ, &key) != ERROR_SUCCESS;
  if (!gone) RegCloseKey(key);
  Check(gone, "the probe's registry candidate is removed");
}

}  // namespace probe
