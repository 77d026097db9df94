// What the run-time start-up hands to the program's entry routine.
#include "platform/startup.h"

LPSTR CommandTail(LPSTR commandLine) {
  LPSTR p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (static_cast<unsigned char>(*p) > ' ') ++p;
  }
  while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') ++p;
  return p;
}

int StartupShowState(void) {
  STARTUPINFOA info;
  GetStartupInfoA(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
}
