/* A system library as an attacker would leave it beside setup.exe, built as
   version.dll and as wintrust.dll: its DllMain leaves the marker file
   C:\planted-<name>-ran.txt. It exports nothing: a program that imported
   from it statically would not start, which fails the scenario as well.
   Never shipped. */
#include <windef.h>
#include <winbase.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    HANDLE marker = CreateFileA("C:\\planted-" PLANTED_NAME "-ran.txt", GENERIC_WRITE, 0, NULL,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  }
  return TRUE;
}
