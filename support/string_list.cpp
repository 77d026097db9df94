#include "support/string_list.h"

bool AddToStringList(LPSTR list, int size, LPCSTR item) {
  int used = 0;
  while (list[used] != '\0') used += lstrlenA(list + used) + 1;
  const int length = lstrlenA(item);
  if (length == 0 || used + length + 2 > size) return false;
  lstrcpyA(list + used, item);
  list[used + length + 1] = '\0';
  return true;
}

bool StringListHas(LPCSTR list, LPCSTR item) {
  for (LPCSTR p = list; *p != '\0'; p += lstrlenA(p) + 1) {
    if (lstrcmpiA(p, item) == 0) return true;
  }
  return false;
}
