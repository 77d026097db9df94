// An INF section read into lists, and single fields of its lines, guarded. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void FillSymbolWithSectionKeys(LPCSTR symbol, LPCSTR section) {
  Guarded<FSetSymbolToListOfInfKeys>(symbol, section, TRUE);
}
void CollectDiskNames(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 1);
}
void CollectInstallNames(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 2);
}
void CollectDescriptions(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 5);
}
void CollectFileFlags(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 15);
}
void CollectFileVersions(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 19);
}
static LPSTR ReadInfField(LPCSTR section, LPCSTR key, INT field, LPSTR buffer, INT size) {
  INT length = CbGetInfSectionKeyField(section, key, field, buffer, size);
  if (length >= size) FailWithBufferOverflow();
  if (length == -1) FatalSetupError();
  return buffer;
}
LPSTR ReadInfField1(LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  return ReadInfField(section, key, 1, buffer, size);
}
LPSTR ReadInfField5(LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  return ReadInfField(section, key, 5, buffer, size);
}
LPSTR ReadInfField19(LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  return ReadInfField(section, key, 19, buffer, size);
}
// Leading white space, one sign, then digits; no digits give 0. Saturates
// instead of overflowing on absurdly long digit runs.
static INT DecimalValue(LPCSTR text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > 2147483648LL) value = 2147483648LL;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) value = 2147483647LL;
  return static_cast<INT>(value);
}
INT ReadInfField15Number(LPCSTR section, LPCSTR key) {
  char field[128];
  return DecimalValue(ReadInfField(section, key, 15, field, 128));
}
