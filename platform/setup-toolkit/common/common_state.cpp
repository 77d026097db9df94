#include "platform/setup-toolkit/common/common_state.h"

#include <cstring>

#include "platform/setup-toolkit/language_resources.h"

static stf::SymbolTable symbols;
static stf::InfFile inf;
static bool infOpen = false;
static stf::CopyList copyList;

stf::SymbolTable& Symbols() { return symbols; }
stf::InfFile& OpenInf() { return inf; }
bool InfIsOpen() { return infOpen; }
void SetOpenInf(stf::InfFile file) {
  inf = std::move(file);
  infOpen = true;
}
stf::CopyList& ProcessCopyList() { return copyList; }


INT CopyOut(const std::string& text, LPSTR buffer, INT size) {
  INT length = static_cast<INT>(text.size());
  if (buffer != nullptr && length < size) std::memcpy(buffer, text.c_str(), text.size() + 1);
  return length;
}
