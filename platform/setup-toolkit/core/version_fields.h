// Reading parts of a dotted numeric version such as "3.10.0.61".
#pragma once

namespace stf {

// The largest value a field reads as: the top of a 32-bit signed long, the
// width of the Win32 LONG the toolkit returns it in.
constexpr long kVersionFieldMax = 2147483647L;

// Field n (from 1) of version: VersionNthField("3.10.0.61", 2) is 10.
// Blanks and tabs around a field are ignored. 0 for a null version, n < 1, a
// missing or empty field, or a field that is not all decimal digits (a sign,
// "4b", "1 0"). A value above kVersionFieldMax reads as kVersionFieldMax.
long VersionNthField(const char* version, int n);

}  // namespace stf
