// Program groups and their items, guarded. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/path_join.h"
#include "support/guarded.h"
#include "contract/toolkit_api.h"

void MakeProgramGroup(LPCSTR group, LPCSTR path, UINT options) {
  Guarded<FCreateProgManGroup>(group, path, options);
}
void MakeProgramGroupEx(LPCSTR group, LPCSTR path, UINT options) {
  Guarded<FCreateProgManGroupEx>(group, path, options);
}
// The show command travels as decimal text.
static LPSTR DecimalText(INT value, char (&buffer)[256]) {
  wsprintfA(buffer, "%d", value);
  return buffer;
}
void DisplayProgramGroup(LPCSTR group, INT showCommand, UINT options) {
  char text[256];
  Guarded<FShowProgManGroup>(group, static_cast<LPCSTR>(DecimalText(showCommand, text)), options);
}
void DisplayProgramGroupEx(LPCSTR group, LPCSTR path, INT showCommand, UINT options) {
  char text[256];
  Guarded<FShowProgManGroupEx>(group, path, static_cast<LPCSTR>(DecimalText(showCommand, text)),
                               options);
}
// "item,extra" when there is an extra text, else the item unchanged; the
// caller's buffer holds the join.
static LPCSTR JoinedItem(LPCSTR item, LPCSTR extra, LPSTR buffer, int size) {
  if (extra == nullptr || extra[0] == '\0') return item;
  if (!JoinPathParts(buffer, size, item, ",", extra)) FailWithBufferOverflow();
  return buffer;
}
void MakeProgramItem(LPCSTR group, LPCSTR item, LPCSTR cmd, LPCSTR extra, UINT options) {
  char joined[768];
  Guarded<FCreateProgManItem>(group, JoinedItem(item, extra, joined, sizeof joined), cmd, options);
}
void MakeProgramItemEx(LPCSTR group, LPCSTR path, LPCSTR item, LPCSTR cmd, LPCSTR extra,
                       UINT options) {
  char joined[768];
  Guarded<FCreateProgManItemEx>(group, path, JoinedItem(item, extra, joined, sizeof joined), cmd,
                                options);
}
