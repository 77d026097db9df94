/* A program that imports VERSION.dll, which is not a KnownDLL: a copy beside
   it would be loaded. The import check must refuse it. Never shipped. */
#include <windows.h>

int main(void) {
  DWORD handle = 0;
  return GetFileVersionInfoSizeA("C:\\", &handle) != 0;
}
