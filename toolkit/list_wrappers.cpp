// Lists: appending, replacing and reading items, guarded. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void AppendListItem(LPCSTR list, LPCSTR item) { Guarded<FAddListItem>(list, item); }
void OverwriteListItem(LPCSTR list, UINT n, LPCSTR item) { Guarded<FReplaceListItem>(list, n, item); }
UINT CountListItems(LPCSTR list) {
  if (list == nullptr || list[0] == '\0') FatalSetupError();
  return UsGetListLength(list);
}
LPSTR ReadListItem(LPCSTR list, INT index, LPSTR buffer, INT size) {
  if (list == nullptr || list[0] == '\0') FatalSetupError();
  if (index < 1) FatalSetupError();
  if (static_cast<INT>(CountListItems(list)) < index) FatalSetupError();
  if (CbGetListItem(list, static_cast<UINT>(index), buffer, size) >= size) FailWithBufferOverflow();
  return buffer;
}
std::string ListItemText(LPCSTR list, INT index) {
  if (list == nullptr || list[0] == '\0' || index < 1) FatalSetupError();
  if (static_cast<INT>(CountListItems(list)) < index) FatalSetupError();
  std::string text(64, '\0');
  for (;;) {
    const INT length = CbGetListItem(list, static_cast<UINT>(index), &text[0],
                                     static_cast<INT>(text.size()));
    if (length < 0) FatalSetupError();
    if (length < static_cast<INT>(text.size())) return text.substr(0, static_cast<std::size_t>(length));
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
  }
}
