// The C run-time's functions and data that the binaries of the disk use, bound
// at start-up from the system directory's msvcrt.dll (crt_binding.cpp) instead
// of imported. One line each: CRT_FUNCTION(symbol, export) or
// CRT_DATA(symbol, export), where the objects ask for __imp__<symbol> and
// msvcrt.dll exports the name in quotes (the import library renames a few).
// A binary that needs a name missing here imports msvcrt.dll again, and its
// build fails (cmake/check_crt_bound.sh): add the name here, and to
// tests/imports/windows_functions.txt with how Windows NT 4.0 was found to
// export it.
//
// No include guard: the includer defines the two macros.

// The start-up and exit of mingw-w64's run-time.
CRT_FUNCTION(__getmainargs, "__getmainargs")
CRT_DATA(__initenv, "__initenv")
CRT_FUNCTION(__p__acmdln, "__p__acmdln")
CRT_FUNCTION(__p__commode, "__p__commode")
CRT_FUNCTION(__p__fmode, "__p__fmode")
CRT_FUNCTION(__set_app_type, "__set_app_type")
CRT_FUNCTION(__setusermatherr, "__setusermatherr")
CRT_FUNCTION(_amsg_exit, "_amsg_exit")
CRT_FUNCTION(_cexit, "_cexit")
CRT_FUNCTION(_initterm, "_initterm")
CRT_FUNCTION(_onexit, "_onexit")
CRT_FUNCTION(_lock, "_lock")
CRT_FUNCTION(_unlock, "_unlock")
CRT_FUNCTION(abort, "abort")
CRT_FUNCTION(exit, "exit")
CRT_FUNCTION(signal, "signal")
CRT_DATA(__mb_cur_max, "__mb_cur_max")
CRT_FUNCTION(_errno, "_errno")

// Memory and strings.
CRT_FUNCTION(calloc, "calloc")
CRT_FUNCTION(free, "free")
CRT_FUNCTION(malloc, "malloc")
CRT_FUNCTION(realloc, "realloc")
CRT_FUNCTION(memchr, "memchr")
CRT_FUNCTION(memcmp, "memcmp")
CRT_FUNCTION(memcpy, "memcpy")
CRT_FUNCTION(memmove, "memmove")
CRT_FUNCTION(memset, "memset")
CRT_FUNCTION(strchr, "strchr")
CRT_FUNCTION(strcmp, "strcmp")
CRT_FUNCTION(strerror, "strerror")
CRT_FUNCTION(strlen, "strlen")
CRT_FUNCTION(strncmp, "strncmp")
CRT_FUNCTION(strtoul, "strtoul")
CRT_FUNCTION(atoi, "atoi")
CRT_FUNCTION(wcslen, "wcslen")
CRT_FUNCTION(wcstol, "wcstol")

// Streams, locale and time.
CRT_DATA(_iob, "_iob")
CRT_FUNCTION(fclose, "fclose")
CRT_FUNCTION(fopen, "fopen")
CRT_FUNCTION(fprintf, "fprintf")
CRT_FUNCTION(fputc, "fputc")
CRT_FUNCTION(fputwc, "fputwc")
CRT_FUNCTION(fread, "fread")
CRT_FUNCTION(fseek, "fseek")
CRT_FUNCTION(ftell, "ftell")
CRT_FUNCTION(fwrite, "fwrite")
CRT_FUNCTION(vfprintf, "vfprintf")
CRT_FUNCTION(__ms_fwprintf, "fwprintf")
CRT_FUNCTION(localeconv, "localeconv")
CRT_FUNCTION(setlocale, "setlocale")
CRT_FUNCTION(strftime, "strftime")
CRT_FUNCTION(_localtime32, "localtime")
CRT_FUNCTION(_time32, "time")
