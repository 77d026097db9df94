// Setting and removing symbols, guarded. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void StoreSymbolValue(LPCSTR symbol, LPCSTR value) { Guarded<FSetSymbolValue>(symbol, value); }
void DeleteSymbol(LPCSTR symbol) { Guarded<FRemoveSymbol>(symbol); }
