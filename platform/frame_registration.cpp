// The run-time's start file registers each binary's unwind tables, first
// asking Windows whether the run-time's own DLL is loaded; under Wine that
// question searches the whole library path, a millisecond for each binary at
// each start. No code of ours throws or catches (the disk is built without
// exceptions), so nothing reads the tables: the link sends the start file's
// call here (--wrap, cmake/win32.cmake).
extern "C" void __wrap___gcc_register_frame() {}
