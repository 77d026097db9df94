/* A program that imports a function newer than Windows NT 4.0: the import
   check must refuse it. Never shipped. */
#include <windows.h>

int main(void) {
  char volume[MAX_PATH];
  return GetVolumePathNameA("C:\\", volume, MAX_PATH) ? 0 : 1;
}
