// Starts a program and prints its whole 32-bit exit code, which a Unix shell
// would cut to the low 8 bits (3010 shows as 194).
//
//   launch <timeoutMs> <program> [arguments]   one run: "exit code N" or "timeout"
//   launch --each <timeoutMs> <file>           every line of the file is a command
//                                              line; one result line per run:
//                                              "<code>|timeout <tab> <ms> <tab> <line>"
//
// The command line after the timeout is passed on exactly as written, quotes
// and all. A run that outlives its timeout is killed. launch's own exit code
// is 0 when every run ended by itself, 1 when one timed out, 2 on bad usage
// or a program that cannot be started.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The rest of the command line after the first n arguments, untouched.
const char* SkipArguments(const char* line, int n) {
  for (int i = 0; i < n; ++i) {
    while (*line == ' ' || *line == '\t') ++line;
    bool quoted = false;
    for (; *line != '\0' && (quoted || (*line != ' ' && *line != '\t')); ++line) {
      if (*line == '"') quoted = !quoted;
    }
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

// The exit code, or -1 for a run killed after the timeout, -2 when it cannot start.
long RunOne(const std::string& commandLine, DWORD timeoutMs, DWORD* elapsedMs) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string line = commandLine;
  const DWORD started = GetTickCount();
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::printf("launch: cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
    return -2;
  }
  long result = -1;
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result = static_cast<long>(code);
  } else {
    TerminateProcess(process.hProcess, 259);
    WaitForSingleObject(process.hProcess, 5000);
  }
  *elapsedMs = GetTickCount() - started;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

int Each(DWORD timeoutMs, const char* file) {
  std::FILE* in = std::fopen(file, "rb");
  if (in == nullptr) {
    std::printf("launch: cannot read %s\n", file);
    return 2;
  }
  int status = 0;
  char buffer[8192];
  while (std::fgets(buffer, sizeof buffer, in) != nullptr) {
    std::string line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.empty()) continue;
    DWORD elapsed = 0;
    long code = RunOne(line, timeoutMs, &elapsed);
    if (code == -2) status = 2;
    if (code == -1 && status == 0) status = 1;
    if (code == -1) {
      std::printf("timeout\t%lu\t%s\n", elapsed, line.c_str());
    } else {
      std::printf("%ld\t%lu\t%s\n", code, elapsed, line.c_str());
    }
    std::fflush(stdout);
  }
  std::fclose(in);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "--each") == 0) {
    return Each(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), argv[3]);
  }
  if (argc < 3) {
    std::printf("usage: launch <timeoutMs> <program> [arguments] | launch --each <timeoutMs> <file>\n");
    return 2;
  }
  DWORD elapsed = 0;
  long code = RunOne(SkipArguments(GetCommandLineA(), 2), std::strtoul(argv[1], nullptr, 10),
                     &elapsed);
  if (code == -2) return 2;
  if (code == -1) {
    std::printf("timeout after %lu ms\n", elapsed);
    return 1;
  }
  std::printf("exit code %ld\n", code);
  return 0;
}
