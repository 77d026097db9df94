#include "support/fs_redirection.h"

typedef BOOL(WINAPI* RedirectionCall)(PVOID*);

static FARPROC Kernel32Export(LPCSTR name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel != nullptr ? GetProcAddress(kernel, name) : nullptr;
}

PVOID TurnOffFileRedirection(void) {
  DWORD error = GetLastError();  // a failed look-up is no failure of the caller's
  RedirectionCall off = reinterpret_cast<RedirectionCall>(
      reinterpret_cast<void*>(Kernel32Export("Wow64DisableWow64FsRedirection")));
  PVOID state = nullptr;
  if (off == nullptr || !off(&state)) state = nullptr;
  SetLastError(error);
  return state;
}

void RestoreFileRedirection(PVOID state) {
  if (state == nullptr) return;
  typedef BOOL(WINAPI * Revert)(PVOID);
  Revert revert = reinterpret_cast<Revert>(
      reinterpret_cast<void*>(Kernel32Export("Wow64RevertWow64FsRedirection")));
  if (revert != nullptr) revert(state);
}
