#include "support/service_manager.h"

SC_HANDLE ServiceManager::Handle(void) {
  if (handle_ == nullptr) handle_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  return handle_;
}

void ServiceManager::Close(void) {
  if (handle_ != nullptr) CloseServiceHandle(handle_);
  handle_ = nullptr;
}
