// What the copy job is given by the system it runs on: the file calls (the
// Win32 file API in the product, an in-memory file system in tests) and the
// person and the log (gauge, billboards, questions). The job decides; these
// only carry out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "file_version.h"

namespace stf {

// A Win32 error code; 0 is success.
using SysError = unsigned long;

// The codes the job tells apart; every other one is reported as it came.
constexpr SysError kErrorFileNotFound = 2;
constexpr SysError kErrorPathNotFound = 3;
constexpr SysError kErrorAccessDenied = 5;
constexpr SysError kErrorInvalidData = 13;
constexpr SysError kErrorSharingViolation = 32;
constexpr SysError kErrorHandleDiskFull = 39;
constexpr SysError kErrorFileExists = 80;
constexpr SysError kErrorDiskFull = 112;
constexpr SysError kErrorInvalidName = 123;
constexpr SysError kErrorAlreadyExists = 183;
constexpr SysError kErrorRevisionMismatch = 1306;

inline bool IsMissing(SysError e) { return e == kErrorFileNotFound || e == kErrorPathNotFound; }
// A file that a running program or a loaded driver holds, once its attributes
// are known not to be the reason (see ClearAttributes in copy_transaction.h).
inline bool IsBusy(SysError e) { return e == kErrorAccessDenied || e == kErrorSharingViolation; }
inline bool IsDiskFull(SysError e) { return e == kErrorDiskFull || e == kErrorHandleDiskFull; }

using FileHandle = void*;

// The attributes (FILE_ATTRIBUTE_*) that refuse a replace or a delete.
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeNormal = 0x80;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;  // a link or junction
constexpr std::uint32_t kAttributesInTheWay = kAttributeReadOnly | kAttributeHidden | kAttributeSystem;

struct FileStat {
  bool directory = false;
  std::uint64_t size = 0;
  std::uint32_t attributes = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // A missing path gives kErrorFileNotFound or kErrorPathNotFound.
  virtual SysError Stat(const std::string& path, FileStat* out) = 0;
  // The last component of path as its directory spells it. Slower than
  // Stat on some systems: the job asks it of directories only.
  virtual SysError StoredName(const std::string& path, std::string* name) = 0;
  // An existing directory gives kErrorAlreadyExists.
  virtual SysError MakeDir(const std::string& path) = 0;
  virtual SysError RemoveDir(const std::string& path) = 0;
  // The names in dir (without "." and ".."), in no particular order.
  virtual SysError ListDir(const std::string& dir, std::vector<std::string>* names) = 0;
  virtual SysError SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual SysError OpenRead(const std::string& path, FileHandle* out) = 0;
  // A new file, or the existing one emptied.
  virtual SysError CreateWrite(const std::string& path, FileHandle* out) = 0;
  // *got < size only at the end of the file.
  virtual SysError Read(FileHandle file, std::uint64_t offset, void* buffer, std::size_t size,
                        std::size_t* got) = 0;
  // All of it or an error: a short write is a full disk.
  virtual SysError Write(FileHandle file, const void* data, std::size_t size) = 0;
  virtual SysError Flush(FileHandle file) = 0;
  virtual SysError Close(FileHandle file) = 0;
  // Flushes and closes a staged file (written with CreateWrite), then,
  // when linkTarget is given, gives it the second name linkName, like Link
  // but with its failure ignored. Possibly on another thread after this
  // returns, so that it overlaps the copy of the next file; Settle waits
  // for every one and gives the first failed flush and its path.
  virtual SysError FinishStaged(FileHandle file, const std::string& path,
                                const std::string& linkTarget, const std::string& linkName) = 0;
  virtual SysError Settle(std::string* failedPath) = 0;
  // The last-write time of from given to to; best effort.
  virtual void CopyFileTime(FileHandle from, FileHandle to) = 0;
  // A second name for an existing file; fails where the volume has none.
  virtual SysError Link(const std::string& existing, const std::string& link) = 0;
  virtual SysError Move(const std::string& from, const std::string& to, bool replace) = 0;
  virtual SysError Delete(const std::string& path) = 0;
  virtual SysError DeleteAtReboot(const std::string& path) = 0;
  // Bytes free to this user on the volume that holds dir.
  virtual SysError FreeSpace(const std::string& dir, std::uint64_t* bytes) = 0;
};

class CopyUser {
 public:
  virtual ~CopyUser() = default;
  virtual void Progress(std::uint64_t done, std::uint64_t total) = 0;
  // Billboard index of those the job was given; false when it cannot be shown.
  virtual bool ShowBillboard(std::size_t index) = 0;
  virtual void RemoveBillboard() = 0;
  // Only asked when a person may answer: the problem and the system's
  // error; true to try again, false to cancel.
  virtual bool AskRetry(const std::string& problem, SysError error) = 0;
  // True: keep the installed file. The default answer is to keep it.
  virtual bool AskKeepNewer(const std::string& target, const FileVersion& installed,
                            const FileVersion& source) = 0;
  // The same for a source without a version over an installed file with one.
  virtual bool AskKeepVersioned(const std::string& target, const FileVersion& installed) = 0;
  virtual void LogError(const std::string& text, SysError error) = 0;
  // A file of the list failed: the error record, and what is at fault for the
  // person: the source when reading failed, else the target, or the target's
  // folder (ending in a backslash) when the folder could not be written.
  virtual void LogFileError(const std::string& text, SysError error, const std::string& file,
                            bool reading) {
    (void)file;
    (void)reading;
    LogError(text, error);
  }
  // Every file staged, before any is put in place: the system's word on the
  // staged copy of source (its signature); false stops the copy, logged.
  virtual bool AcceptStaged(const std::string& source, const std::string& staged) {
    (void)source;
    (void)staged;
    return true;
  }
  // The file (its target name) that the copy goes on with next.
  virtual void Copying(const std::string& name) { (void)name; }
  virtual void LogCopied(const std::string& source, const std::string& target,
                         std::uint64_t bytes) = 0;
  virtual void LogNote(const std::string& text) = 0;
  // A compressed source put in place expanded: both sizes and its kind.
  virtual void LogExpanded(const std::string& source, const std::string& target,
                           std::uint64_t bytes, std::uint64_t packedBytes, const char* kind) {
    LogNote("Copied: " + source + " -> " + target + " (" + std::to_string(bytes) +
            " bytes, expanded from " + std::to_string(packedBytes) + " bytes, " + kind + ")");
  }
};

}  // namespace stf
