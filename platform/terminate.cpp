// How the run-time ends a process that cannot go on, in every binary of the
// disk. No code of ours catches an exception (the disk is built without
// them): a container past its limit or an allocation that fails goes to the
// handler of platform/internal_failure.h, which ends the run through the
// program's fatal path, or ends the process. The run-time's own versions make
// that exception first and name its type on the way out, which links the
// exception classes, the unwinder, the string and random number code behind
// their messages and the demangler into each binary; a GUI program has no
// console to print the name to.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

#include "platform/internal_failure.h"

namespace {

const unsigned long kNotEnoughMemory = 8;  // ERROR_NOT_ENOUGH_MEMORY
const unsigned long kInternalError = 1359;  // ERROR_INTERNAL_ERROR
const char kLimit[] = "a list or text grew past what setup can hold";

}  // namespace

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { InternalFailure(kLimit, kInternalError); }

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { InternalFailure(kLimit, kInternalError); }
void __throw_bad_alloc() { InternalFailure("out of memory", kNotEnoughMemory); }
void __throw_bad_array_new_length() { InternalFailure("out of memory", kNotEnoughMemory); }
void __throw_bad_cast() { InternalFailure(kLimit, kInternalError); }
void __throw_bad_typeid() { InternalFailure(kLimit, kInternalError); }
void __throw_logic_error(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_domain_error(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_invalid_argument(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_length_error(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_out_of_range(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_out_of_range_fmt(const char*, ...) { InternalFailure(kLimit, kInternalError); }
void __throw_runtime_error(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_range_error(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_overflow_error(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_underflow_error(const char*) { InternalFailure(kLimit, kInternalError); }
void __throw_bad_function_call() { InternalFailure(kLimit, kInternalError); }

}  // namespace std

// Allocation: the run-time's operator new throws std::bad_alloc, which
// brings the unwinder; nothing sets a new-handler, so a failure ends here.
namespace {

void* Allocate(std::size_t bytes) { return std::malloc(bytes ? bytes : 1); }

void* AllocateOrEnd(std::size_t bytes) {
  void* block = Allocate(bytes);
  if (!block) InternalFailure("out of memory", kNotEnoughMemory);
  return block;
}

}  // namespace

void* operator new(std::size_t bytes) { return AllocateOrEnd(bytes); }
void* operator new[](std::size_t bytes) { return AllocateOrEnd(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
