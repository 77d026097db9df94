// The machine: processor, coprocessor, display, mouse, and the drivers the
// system is configured with.
#include <string>
#include <vector>

#include "detect_util.h"

namespace {

// The names the program's processor table knows. Its x86 rows end at the
// 80486, so every later x86 (and an x86 process on a 64-bit system, which the
// system reports as x86) answers "80486".
const char* ProcessorName(const SYSTEM_INFO& info) {
  switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_INTEL:
      if (info.wProcessorLevel >= 4) return "80486";
      if (info.wProcessorLevel == 3) return "80386";
      // Level 0 on old systems: the processor type says it.
      if (info.dwProcessorType == PROCESSOR_INTEL_386) return "80386";
      if (info.dwProcessorType != 0) return "80486";
      return nullptr;
    case PROCESSOR_ARCHITECTURE_MIPS:
      if (info.wProcessorLevel == 4) return "R4000";
      if (info.wProcessorLevel == 3) return "R3000";
      if (info.wProcessorLevel == 2) return "R2000";
      return nullptr;
    case PROCESSOR_ARCHITECTURE_ALPHA:
      return info.wProcessorLevel == 21064 ? "AXP21064" : nullptr;
    default:
      return nullptr;
  }
}

// "NAME" or "NAME.SYS": the service name is the file name without the extension.
std::string ServiceNameOf(LPCSTR driver) {
  std::string name = driver;
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && lstrcmpiA(name.c_str() + dot, ".sys") == 0) name.resize(dot);
  return name;
}

}  // namespace

extern "C" {

// The name goes into szBuf only when it fits; 0 for a processor the table
// does not know or a buffer too small. Only this machine is asked: szMachine
// and nReserved are not used.
BOOL STFAPI FGetProcessorType(LPCSTR, INT, LPSTR buffer, INT size) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const char* name = ProcessorName(info);
  if (name == nullptr) {
    char detail[64];
    wsprintfA(detail, "unknown processor (architecture %u, level %u)", info.wProcessorArchitecture,
              info.wProcessorLevel);
    detect::LogFailure("FGetProcessorType", "", detail, 0);
    return FALSE;
  }
  return detect::CopyText(name, buffer, size) < size;
}

BOOL STFAPI FHas87MathChip(void) { return !IsProcessorFeaturePresent(PF_FLOATING_POINT_EMULATED); }

// One bit per pixel on the screen.
BOOL STFAPI FHasMonochromeDisplay(void) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) {
    detect::LogFailure("FHasMonochromeDisplay", "screen", "GetDC failed", GetLastError());
    return FALSE;
  }
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits == 1;
}

BOOL STFAPI FHasMouseInstalled(void) { return GetSystemMetrics(SM_MOUSEPRESENT) != 0; }

// A driver is in the configuration when the service database holds a kernel
// or file-system driver of that name; "name.SYS" is taken as "name". A file
// left in DRIVERS without a service is not configured, so it does not count.
BOOL STFAPI FIsDriverInConfig(LPCSTR driver) {
  if (driver == nullptr || driver[0] == '\0') return FALSE;
  std::string name = ServiceNameOf(driver);
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) {
    detect::LogFailure("FIsDriverInConfig", driver, "OpenSCManagerA failed", GetLastError());
    return FALSE;
  }
  BOOL configured = FALSE;
  SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_CONFIG);
  if (service == nullptr) {
    DWORD code = GetLastError();
    if (code != ERROR_SERVICE_DOES_NOT_EXIST && code != ERROR_INVALID_NAME) {
      detect::LogFailure("FIsDriverInConfig", driver, "OpenServiceA failed", code);
    }
  } else {
    DWORD needed = 0;
    QueryServiceConfigA(service, nullptr, 0, &needed);
    std::vector<char> data(needed > 0 ? needed : sizeof(QUERY_SERVICE_CONFIGA));
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(data.data());
    if (QueryServiceConfigA(service, config, static_cast<DWORD>(data.size()), &needed)) {
      configured = (config->dwServiceType & SERVICE_DRIVER) != 0;
    } else {
      detect::LogFailure("FIsDriverInConfig", driver, "QueryServiceConfigA failed", GetLastError());
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return configured;
}

}  // extern "C"
