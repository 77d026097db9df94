// Keeps a Wine session (and its desktop process) up while the benchmarks
// start their programs, so that no run pays for starting it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(INFINITE);
  return 0;
}
