#include "support/image_machine.h"

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

LPCSTR MachineName(WORD machine, char (&name)[16]) {
  switch (machine) {
    case IMAGE_FILE_MACHINE_I386: lstrcpyA(name, "32-bit (x86)"); break;
    case IMAGE_FILE_MACHINE_AMD64: lstrcpyA(name, "64-bit (x64)"); break;
    case IMAGE_FILE_MACHINE_ARM64: lstrcpyA(name, "64-bit ARM"); break;
    case IMAGE_FILE_MACHINE_ARMNT: lstrcpyA(name, "32-bit ARM"); break;
    case IMAGE_FILE_MACHINE_IA64: lstrcpyA(name, "Itanium"); break;
    default: wsprintfA(name, "0x%04X", machine); break;
  }
  return name;
}
