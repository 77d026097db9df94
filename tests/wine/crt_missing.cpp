// A program whose C run-time binding asks msvcrt.dll for a name it does not
// export, as a binary would on a Windows whose msvcrt.dll is older than the
// list: it must end at start with the name, never waiting in a quiet run.
// Never shipped.
#include <windows.h>

struct CrtImport {
  FARPROC address;
  const char* name;
};

// Sorted among the records of platform/crt_binding/ by its section's name.
__attribute__((section(".data$crtbindB_zz_missing"))) CrtImport crt_missing = {
    nullptr, "NoSuchCrtFunction"};

int main() { return crt_missing.address != nullptr ? 0 : 1; }
