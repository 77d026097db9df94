#include "support/image_machine.h"

// The header fields read, at their offsets in the file format.
static const DWORD kDosHeaderSize = 0x40;
static const DWORD kNewHeaderOffsetField = 0x3C;
static const DWORD kSignatureAndMachineSize = 6;  // "PE\0\0" and the machine word
// Every image the linkers make puts its PE header within its first page.
static const DWORD kHeaderBytesRead = 4096;

static DWORD LittleEndian32(const BYTE* p) {
  return p[0] | (p[1] << 8) | (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
}

WORD ImageMachineOf(const BYTE* header, DWORD count) {
  if (count < kDosHeaderSize || header[0] != 'M' || header[1] != 'Z') {
    return IMAGE_FILE_MACHINE_UNKNOWN;
  }
  DWORD pe = LittleEndian32(header + kNewHeaderOffsetField);
  if (pe > count - kSignatureAndMachineSize) return IMAGE_FILE_MACHINE_UNKNOWN;
  const BYTE* p = header + pe;
  if (p[0] != 'P' || p[1] != 'E' || p[2] != 0 || p[3] != 0) return IMAGE_FILE_MACHINE_UNKNOWN;
  return static_cast<WORD>(p[4] | (p[5] << 8));
}

WORD ReadImageMachine(LPCSTR path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return IMAGE_MACHINE_UNREADABLE;
  BYTE header[kHeaderBytesRead];
  DWORD count = 0;
  BOOL read = ReadFile(file, header, sizeof header, &count, nullptr);
  CloseHandle(file);
  return read ? ImageMachineOf(header, count) : IMAGE_MACHINE_UNREADABLE;
}

typedef BOOL(WINAPI* IsWow64Process2Entry)(HANDLE, USHORT*, USHORT*);
typedef BOOL(WINAPI* IsWow64ProcessEntry)(HANDLE, PBOOL);

template <typename Entry>
static Entry KernelEntry(LPCSTR name) {
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

WORD NativeMachine(void) {
  // Both are looked up: Windows before XP SP2 has neither, and only Windows 10
  // tells the native machine itself (an ARM64 one runs x86 programs too).
  USHORT process = 0, native = 0;
  IsWow64Process2Entry machines = KernelEntry<IsWow64Process2Entry>("IsWow64Process2");
  if (machines != nullptr && machines(GetCurrentProcess(), &process, &native)) return native;
  BOOL wow64 = FALSE;
  IsWow64ProcessEntry isWow64 = KernelEntry<IsWow64ProcessEntry>("IsWow64Process");
  if (isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64) {
    return IMAGE_FILE_MACHINE_AMD64;
  }
  return IMAGE_FILE_MACHINE_I386;
}

LPCSTR MachineName(WORD machine) {
  switch (machine) {
    case IMAGE_FILE_MACHINE_I386: return "32-bit (x86)";
    case IMAGE_FILE_MACHINE_AMD64: return "64-bit (x64)";
    case IMAGE_FILE_MACHINE_ARM64: return "64-bit ARM";
    case IMAGE_FILE_MACHINE_ARMNT: return "32-bit ARM";
    case IMAGE_FILE_MACHINE_IA64: return "Itanium";
    default: return "another kind of";
  }
}
