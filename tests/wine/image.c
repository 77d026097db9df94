/* A small image whose version resource (image.rc) is set by the build, for
   the scenarios of the file record's version fields. */
int __stdcall ImageEntry(void* module, unsigned long reason, void* reserved) {
  (void)module;
  (void)reason;
  (void)reserved;
  return 1;
}
