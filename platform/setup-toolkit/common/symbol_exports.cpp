// Symbols and lists.
#include "platform/setup-toolkit/common/common_state.h"

static bool Named(LPCSTR name) { return name != nullptr && name[0] != '\0'; }

extern "C" {

BOOL STFAPI StfSetSymbol(LPCSTR name, LPCSTR value) {
  return Named(name) && Symbols().Set(name, value ? value : "");
}

INT STFAPI CbGetSymbolValue(LPCSTR name, LPSTR value, INT size) {
  std::string text;
  if (Named(name)) Symbols().Get(name, &text);
  return CopyOut(text, value, size);
}

BOOL STFAPI FRemoveSymbol(LPCSTR name) { return Named(name) && Symbols().Remove(name); }

BOOL STFAPI FAddListItem(LPCSTR list, LPCSTR item) {
  return Named(list) && Symbols().Append(list, item ? item : "");
}

BOOL STFAPI FReplaceListItem(LPCSTR list, UINT n, LPCSTR item) {
  return Named(list) && Symbols().ReplaceItem(list, n, item ? item : "");
}

UINT STFAPI UsGetListLength(LPCSTR list) {
  return Named(list) ? static_cast<UINT>(Symbols().ListLength(list)) : 0;
}

INT STFAPI CbGetListItem(LPCSTR list, UINT n, LPSTR item, INT size) {
  std::string text;
  if (Named(list)) Symbols().GetItem(list, n, &text);
  return CopyOut(text, item, size);
}

}  // extern "C"
