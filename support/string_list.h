// Lists of strings as REG_MULTI_SZ keeps them: each string closed by a NUL,
// then an empty one. An empty list is a single NUL.
#pragma once

#include "platform/win32.h"

// Appends an item; false when the list's buffer of `size` bytes has no room.
bool AddToStringList(LPSTR list, int size, LPCSTR item);
// Is the item in the list (case does not matter)?
bool StringListHas(LPCSTR list, LPCSTR item);
