// Host build: the subset of the Win32 API that the program uses, as
// declarations only. Types keep their Windows widths (DWORD and LONG are 32
// bits even on a 64-bit host); the functions are supplied by tests/fakes.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define APIENTRY
#define CALLBACK

typedef int BOOL;
typedef BOOL* PBOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint16_t USHORT;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef void* PVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef WORD* LPWORD;
typedef LONG* PLONG;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR SIZE_T;

typedef void* HANDLE;
typedef HANDLE* PHANDLE;
typedef HANDLE HLOCAL;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HCURSOR__* HCURSOR;
typedef struct HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef struct SC_HANDLE__* SC_HANDLE;
typedef DWORD REGSAM;
typedef INT_PTR (WINAPI* FARPROC)(void);

#define TRUE 1
#define FALSE 0

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

typedef struct _LUID {
  DWORD LowPart;
  LONG HighPart;
} LUID, *PLUID;

typedef struct _LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
} LUID_AND_ATTRIBUTES;

typedef struct _TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[1];
} TOKEN_PRIVILEGES, *PTOKEN_PRIVILEGES;

typedef struct _QUERY_SERVICE_CONFIGA {
  DWORD dwServiceType;
  DWORD dwStartType;
  DWORD dwErrorControl;
  LPSTR lpBinaryPathName;
  LPSTR lpLoadOrderGroup;
  DWORD dwTagId;
  LPSTR lpDependencies;
  LPSTR lpServiceStartName;
  LPSTR lpDisplayName;
} QUERY_SERVICE_CONFIGA, *LPQUERY_SERVICE_CONFIGA;

typedef struct _SERVICE_STATUS {
  DWORD dwServiceType;
  DWORD dwCurrentState;
  DWORD dwControlsAccepted;
  DWORD dwWin32ExitCode;
  DWORD dwServiceSpecificExitCode;
  DWORD dwCheckPoint;
  DWORD dwWaitHint;
} SERVICE_STATUS, *LPSERVICE_STATUS;

typedef struct _SYSTEMTIME {
  WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *LPMSG;

typedef struct _STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX, dwY, dwXSize, dwYSize;
  DWORD dwXCountChars, dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput, hStdOutput, hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;

// Messages, message boxes, windows
#define WM_QUIT 0x0012
#define PM_REMOVE 0x0001
#define MB_OK 0x00000000L
#define MB_ICONHAND 0x00000010L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONINFORMATION 0x00000040L
#define SW_SHOWDEFAULT 10
#define STARTF_USESHOWWINDOW 0x00000001
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SEM_FAILCRITICALERRORS 0x0001
#define MAX_PATH 260

// Files
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004

// Memory
#define LMEM_FIXED 0x0000

// Files
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define GENERIC_READ 0x80000000
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004

// PE image machines
#define IMAGE_FILE_MACHINE_UNKNOWN 0
#define IMAGE_FILE_MACHINE_I386 0x014c
#define IMAGE_FILE_MACHINE_IA64 0x0200
#define IMAGE_FILE_MACHINE_ARMNT 0x01c4
#define IMAGE_FILE_MACHINE_AMD64 0x8664
#define IMAGE_FILE_MACHINE_ARM64 0xaa64
#define IMAGE_SUBSYSTEM_NATIVE 1

// Errors
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_MORE_DATA 234L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_BADKEY 1010L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_SERVICE_NOT_ACTIVE 1062L
#define ERROR_SERVICE_DOES_NOT_EXIST 1060L
#define ERROR_SERVICE_MARKED_FOR_DELETE 1072L
#define ERROR_SERVICE_SPECIFIC_ERROR 1066L
#define ERROR_SERVICE_EXISTS 1073L
#define ERROR_NOT_ALL_ASSIGNED 1300L
#define ERROR_FILE_CORRUPT 1392L

// Error texts
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000

// Registry
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_DWORD 4
#define REG_MULTI_SZ 7

// Services
#define SC_MANAGER_ALL_ACCESS 0xF003F
#define SC_MANAGER_CONNECT 0x0001
#define SERVICE_ALL_ACCESS 0xF01FF
#define SERVICE_KERNEL_DRIVER 0x00000001
#define SERVICE_SYSTEM_START 0x00000001
#define SERVICE_DEMAND_START 0x00000003
#define SERVICE_ERROR_NORMAL 0x00000001
#define SERVICE_NO_CHANGE 0xffffffff
#define SERVICE_WIN32_OWN_PROCESS 0x00000010
#define SERVICE_AUTO_START 0x00000002
#define SERVICE_DISABLED 0x00000004
#define SERVICE_ERROR_IGNORE 0x00000000
#define SERVICE_QUERY_CONFIG 0x0001
#define SERVICE_QUERY_STATUS 0x0004
#define SERVICE_CHANGE_CONFIG 0x0002
#define SERVICE_STOP 0x0020
#define DELETE 0x00010000
#define SERVICE_CONTROL_STOP 0x00000001
#define SERVICE_STOPPED 0x00000001
#define SERVICE_RUNNING 0x00000004

// Tokens and shutdown
#define TOKEN_ADJUST_PRIVILEGES 0x0020
#define TOKEN_QUERY 0x0008
#define SE_PRIVILEGE_ENABLED 0x00000002L
#define SE_SHUTDOWN_NAME "SeShutdownPrivilege"
#define EWX_REBOOT 0x00000002
#define EWX_FORCE 0x00000004

// KERNEL32
#define LOAD_LIBRARY_SEARCH_APPLICATION_DIR 0x200
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x800
extern "C" {
UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize);
UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);
DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                      LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
UINT WINAPI SetErrorMode(UINT uMode);
HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName);
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL WINAPI FreeLibrary(HMODULE hLibModule);
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName);
BOOL WINAPI RemoveDirectoryA(LPCSTR lpPathName);
BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags);
void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime);
DWORD WINAPI GetTickCount(void);
void WINAPI Sleep(DWORD dwMilliseconds);
LPSTR WINAPI GetCommandLineA(void);
void WINAPI GetStartupInfoA(LPSTARTUPINFOA lpStartupInfo);
DWORD WINAPI GetVersion(void);
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD dwErrCode);
HANDLE WINAPI GetCurrentProcess(void);
BOOL WINAPI AreFileApisANSI(void);
HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPVOID lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPVOID lpOverlapped);
BOOL WINAPI CloseHandle(HANDLE hObject);
LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2);
LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2);
int WINAPI lstrlenA(LPCSTR lpString);
int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);
HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId,
                            DWORD dwLanguageId, LPSTR lpBuffer, DWORD nSize, void* Arguments);
HLOCAL WINAPI LocalFree(HLOCAL hMem);

// USER32
BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg);
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
BOOL WINAPI OemToCharA(LPCSTR pSrc, LPSTR pDst);
LPSTR WINAPI CharNextA(LPCSTR lpsz);
BOOL WINAPI IsDBCSLeadByte(BYTE TestChar);
LPSTR WINAPI CharUpperA(LPSTR lpsz);
DWORD WINAPI CharUpperBuffA(LPSTR lpsz, DWORD cchLength);
int WINAPI GetSystemMetrics(int nIndex);
int wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...);
BOOL WINAPI ExitWindowsEx(UINT uFlags, DWORD dwReason);

// ADVAPI32 (services and tokens; the registry is bound at run time)
SC_HANDLE WINAPI OpenSCManagerA(LPCSTR lpMachineName, LPCSTR lpDatabaseName,
                                DWORD dwDesiredAccess);
SC_HANDLE WINAPI CreateServiceA(SC_HANDLE hSCManager, LPCSTR lpServiceName,
                                LPCSTR lpDisplayName, DWORD dwDesiredAccess,
                                DWORD dwServiceType, DWORD dwStartType,
                                DWORD dwErrorControl, LPCSTR lpBinaryPathName,
                                LPCSTR lpLoadOrderGroup, LPDWORD lpdwTagId,
                                LPCSTR lpDependencies, LPCSTR lpServiceStartName,
                                LPCSTR lpPassword);
SC_HANDLE WINAPI OpenServiceA(SC_HANDLE hSCManager, LPCSTR lpServiceName,
                              DWORD dwDesiredAccess);
BOOL WINAPI ChangeServiceConfigA(SC_HANDLE hService, DWORD dwServiceType, DWORD dwStartType,
                                 DWORD dwErrorControl, LPCSTR lpBinaryPathName,
                                 LPCSTR lpLoadOrderGroup, LPDWORD lpdwTagId,
                                 LPCSTR lpDependencies, LPCSTR lpServiceStartName,
                                 LPCSTR lpPassword, LPCSTR lpDisplayName);
BOOL WINAPI QueryServiceConfigA(SC_HANDLE hService, LPQUERY_SERVICE_CONFIGA lpServiceConfig,
                                DWORD cbBufSize, LPDWORD pcbBytesNeeded);
BOOL WINAPI CloseServiceHandle(SC_HANDLE hSCObject);
BOOL WINAPI ControlService(SC_HANDLE hService, DWORD dwControl, LPSERVICE_STATUS lpServiceStatus);
BOOL WINAPI QueryServiceStatus(SC_HANDLE hService, LPSERVICE_STATUS lpServiceStatus);
BOOL WINAPI DeleteService(SC_HANDLE hService);
BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle);
BOOL WINAPI LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, PLUID lpLuid);
BOOL WINAPI AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges,
                                  PTOKEN_PRIVILEGES NewState, DWORD BufferLength,
                                  PTOKEN_PRIVILEGES PreviousState, LPDWORD ReturnLength);
}
