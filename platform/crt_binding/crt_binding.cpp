// The import pointers of the C run-time, and the code that fills them.
//
// Each name of crt_imports.h becomes what an import library would have put in
// the binary: the pointer __imp__<name>, through which the compiler calls a
// declared import, and for a function the stub _<name> (jmp *__imp__<name>)
// for direct calls. A pointer lives in a record with its export name, in a
// section of its own sorted between two markers (.data$crtbindA < ...B_<name>
// < ...C), so the link keeps only the records its code uses and the binder
// walks exactly those.
#include "platform/crt_binding/crt_binding.h"

struct CrtImport {
  FARPROC address;
  const char* name;
};

// The names are pasted and quoted before the run-time's headers' macros
// (__mb_cur_max, _iob) can expand them.
#define CRT_RECORD(variable, label, place, exported)                                        \
  extern "C" {                                                                              \
  __attribute__((section(place))) CrtImport variable __asm__(label) = {nullptr, exported}; \
  }
#define CRT_DATA(symbol, exported) \
  CRT_RECORD(crt_import_##symbol, "__imp__" #symbol, ".data$crtbindB_" #symbol, exported)
#define CRT_FUNCTION(symbol, exported)                                                      \
  CRT_RECORD(crt_import_##symbol, "__imp__" #symbol, ".data$crtbindB_" #symbol, exported)  \
  extern "C" __attribute__((naked, section(".text$crtbind_" #symbol))) void                 \
      crt_stub_##symbol() __asm__("_" #symbol);                                              \
  void crt_stub_##symbol() { __asm__("jmp *__imp__" #symbol); }
#include "platform/crt_binding/crt_imports.h"
#include "platform/setup-toolkit/core/unattended_switch.h"
#undef CRT_FUNCTION
#undef CRT_DATA
#undef CRT_RECORD

extern "C" {
__attribute__((section(".data$crtbindA"))) CrtImport crt_bind_first = {nullptr, nullptr};
__attribute__((section(".data$crtbindC"))) CrtImport crt_bind_last = {nullptr, nullptr};
extern IMAGE_DOS_HEADER __ImageBase;
}

namespace {

bool bound = false;

// Appends text to a fixed buffer; false when it does not fit.
bool Append(char* buffer, UINT size, UINT* length, const char* text) {
  for (; *text != '\0'; ++text) {
    if (*length + 1 >= size) return false;
    buffer[(*length)++] = *text;
  }
  buffer[*length] = '\0';
  return true;
}

}  // namespace

bool CommandAsksForUnattended(const char* p) {
  if (*p == '"') {
    for (++p; *p != '\0' && *p != '"'; ++p) {
    }
    if (*p == '"') ++p;
  } else {
    while (static_cast<unsigned char>(*p) > ' ') ++p;
  }
  return stf::AsksForUnattended(p);
}

void EndStart(const char* text, const char* caption) {
  DWORD written = 0;
  const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
  if (standardError != nullptr && standardError != INVALID_HANDLE_VALUE) {
    WriteFile(standardError, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
    WriteFile(standardError, "\r\n", 2, &written, nullptr);
  }
  const bool quiet = CommandAsksForUnattended(GetCommandLineA());
  if (!quiet) MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  ExitProcess(quiet ? ERROR_INSTALL_FAILURE : 0);
}

namespace {

[[noreturn]] void FailStart(const char* what, const char* name, DWORD error) {
  char module[MAX_PATH];
  module[0] = '\0';
  GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), module, MAX_PATH);
  char text[3 * MAX_PATH];
  wsprintfA(text, "%s cannot start: %s %s (error %lu).", module, what, name, error);
  EndStart(text, module);
}

}  // namespace

void CrtBindOrExit(void) {
  if (bound) return;
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    FailStart("the system directory is unknown:", "GetSystemDirectoryA",
              length == 0 ? GetLastError() : ERROR_BUFFER_OVERFLOW);
  }
  if ((path[length - 1] != '\\' && !Append(path, MAX_PATH, &length, "\\")) ||
      !Append(path, MAX_PATH, &length, "msvcrt.dll")) {
    FailStart("the path of the C run-time is too long:", path, ERROR_BUFFER_OVERFLOW);
  }
  const HMODULE crt = LoadLibraryA(path);
  if (crt == nullptr) FailStart("the C run-time does not load:", path, GetLastError());
  // The markers are separate objects to the compiler; the link lays the
  // records between them. Zeroed padding between records has no name.
  CrtImport* record = &crt_bind_first;
  __asm__("" : "+r"(record));
  for (++record; record < &crt_bind_last; ++record) {
    if (record->name == nullptr) continue;
    record->address = GetProcAddress(crt, record->name);
    if (record->address == nullptr) {
      FailStart("the C run-time msvcrt.dll does not export", record->name, GetLastError());
    }
  }
  bound = true;
}
