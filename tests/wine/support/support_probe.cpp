// Runs the support library's routines through our real toolkit libraries on a
// Wine (or Windows) machine: the registry under HKEY_CLASSES_ROOT, the shared
// application directories in WIN.INI, and the detection helpers. One line per
// check; the exit code is 0 only when every check passed. A routine that
// takes the fatal path exits through FatalSetupError with 0: an exit handler
// turns that into code 2, after removing what the probe wrote.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "probe_check.h"
#include "support/registry_binding.h"
#include "toolkit/setup_lifecycle.h"

namespace probe {

int failures = 0;
const char kRoot[] = "C:\\stfsupport";

void Check(bool ok, const std::string& what, const std::string& detail) {
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), detail.empty() ? "" : ": ",
              detail.c_str());
  std::fflush(stdout);
  if (!ok) ++failures;
}

std::string Path(const char* name) { return std::string(kRoot) + "\\" + name; }

void WriteText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  if (h != INVALID_HANDLE_VALUE) {
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
  }
}

std::string Upper(std::string text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace probe

namespace {

bool finished = false;

void OnExit() {
  if (finished) return;
  std::printf("FAIL a routine took the fatal path (FatalSetupError) before the checks ended\n");
  std::fflush(stdout);
  probe::CleanUpRegistry();
  probe::CleanUpSharedDirs();
  ExitProcess(2);
}

}  // namespace

//   support_probe.exe          every check
//   support_probe.exe --dbcs   the double-byte name checks (run under code page 932)
int main(int argc, char** argv) {
  std::atexit(OnExit);
  CreateDirectoryA(probe::kRoot, nullptr);
  bool dbcs = argc > 1 && std::strcmp(argv[1], "--dbcs") == 0;
  char cmdLine[] = "/quiet /log C:\\stfsupport\\probe.log";
  probe::Check(InitializeSetup(cmdLine) > 0, "setup opened quietly (InitializeSetup)");
  probe::Check(BindRegistryFunctions() == 1, "registry entry points bound (BindRegistryFunctions)");
  if (dbcs) {
    probe::CheckDoubleByteNames();
    probe::CheckDoubleByteRegistry();
    probe::CleanUpRegistry();
    finished = true;
    EndSetup();
    std::printf("probe: %d failure(s)\n", probe::failures);
    return probe::failures ? 1 : 0;
  }

  probe::CheckRegistryRoutines();
  probe::CleanUpRegistry();
  probe::CheckSharedDirs();
  probe::CleanUpSharedDirs();
  probe::CheckDetection();
  probe::CheckPathSyntax();

  finished = true;
  EndSetup();
  std::printf("probe: %d failure(s)\n", probe::failures);
  return probe::failures ? 1 : 0;
}
