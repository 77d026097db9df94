// One connection to the service control manager for a whole run, made when a
// step first needs it and closed with its owner. Each connection is a pipe
// and a bind (under Wine some milliseconds), and an install has three steps
// that talk to the manager: the kept driver, the registration and the check.
#pragma once

#include "platform/win32.h"

class ServiceManager {
 public:
  ServiceManager() = default;
  ~ServiceManager() { Close(); }
  ServiceManager(const ServiceManager&) = delete;
  ServiceManager& operator=(const ServiceManager&) = delete;

  // The connection, with every right; nullptr when it cannot be made, with
  // GetLastError() saying why (a later call tries again).
  SC_HANDLE Handle(void);
  void Close(void);

 private:
  SC_HANDLE handle_ = nullptr;
};
