#include "version_fields.h"

namespace stf {

long VersionNthField(const char* version, int n) {
  if (version == nullptr || n < 1) return 0;
  const char* p = version;
  for (int field = 1; field < n; ++field) {
    while (*p != '\0' && *p != '.') ++p;
    if (*p == '\0') return 0;
    ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  long value = 0;
  bool digits = false;
  for (; *p >= '0' && *p <= '9'; ++p) {
    const long digit = *p - '0';
    value = value > (kVersionFieldMax - digit) / 10 ? kVersionFieldMax : value * 10 + digit;
    digits = true;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (!digits || (*p != '\0' && *p != '.')) return 0;
  return value;
}

}  // namespace stf
