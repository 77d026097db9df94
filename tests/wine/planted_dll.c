/* A system library as an attacker would leave it beside setup.exe (built as
   version.dll and as wintrust.dll): its DllMain leaves the marker file
   C:\planted-<name>-ran.txt, and it exports what setup's libraries once
   imported from VERSION.dll, so that a static import would load it. Never
   shipped. */
#include <windef.h>
#include <winbase.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    HANDLE marker = CreateFileA("C:\\planted-" PLANTED_NAME "-ran.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  }
  return TRUE;
}

__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR file, LPDWORD handle) {
  (void)file;
  (void)handle;
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return 0;
}

__declspec(dllexport) BOOL WINAPI GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size,
                                                      LPVOID data) {
  (void)file;
  (void)handle;
  (void)size;
  (void)data;
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return FALSE;
}

__declspec(dllexport) BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR sub, LPVOID* out, PUINT size) {
  (void)block;
  (void)sub;
  (void)out;
  (void)size;
  return FALSE;
}
