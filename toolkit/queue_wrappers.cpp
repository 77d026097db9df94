// Single files queued for the copy, the copy list's dump and cost, billboards, guarded. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void WriteCopyListToFile(LPCSTR file) { Guarded<FDumpCopyListToFile>(file); }
void QueueSectionKeyFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst) {
  Guarded<FAddSectionKeyFileToCopyList>(section, key, src, dst);
}
void QueueSpecialFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst) {
  Guarded<FAddSpecialFileToCopyList>(section, key, src, dst);
}
void DropAllBillboards(void) { Guarded<FClearBillboardList>(); }
void AddBlankBillboard(LONG ticks) {
  Guarded<FAddToBillboardList>(static_cast<LPCSTR>(nullptr), 0u, static_cast<LPCSTR>(nullptr),
                               ticks);
}
LONG MeasureCopyListCost(LPCSTR extraList, LPCSTR costList, LPCSTR needList) {
  LONG cost = LcbGetCopyListCost(extraList, costList, needList);
  if (cost < 0) FatalSetupError();
  return cost;
}
