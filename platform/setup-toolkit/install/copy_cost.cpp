// What the copy list costs on its destination drives, and the copy list as
// text. Sizes are the declared ones of the INF records; a record that declares
// 0 costs the real size of its source file, expanded when it is compressed.
#include <climits>
#include <string>
#include <vector>

#include "copy_list.h"
#include "packed_file.h"
#include "platform/setup-toolkit/install/install_state.h"
#include "platform/setup-toolkit/install/win32_file_system.h"

namespace {


bool SourceSize(const char* path, std::uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  *size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  Win32FileSystem fs(false);
  stf::FileHandle file = nullptr;
  if (fs.OpenRead(path, &file) != 0) return true;  // the copy reports an unreadable source
  stf::PackedFile packed;
  std::string problem;
  const stf::ReadAt read = [&fs, file](std::uint64_t offset, void* buffer, std::size_t bytes,
                                       std::size_t* got) {
    return fs.Read(file, offset, buffer, bytes, got);
  };
  if (stf::ProbePacking(read, &packed, &problem) == 0 && packed.packing != stf::Packing::kPlain) {
    *size = packed.expandedSize;
  }
  fs.Close(file);
  return true;
}

// The root GetDiskFreeSpaceExA wants: "C:\" or "\\server\share\".
std::string RootOf(const std::string& drive) {
  return drive.size() == 1 ? drive + ":\\" : drive + "\\";
}

// Extra bytes per drive from szExtraList, item by item (copy_plan.h).
void AddExtraCosts(LPCSTR list, std::vector<stf::DriveCost>* costs) {
  if (list == nullptr || list[0] == '\0') return;
  UINT count = UsGetListLength(list);
  for (UINT n = 1; n <= count; ++n) {
    char item[512];
    INT length = CbGetListItem(list, n, item, sizeof item);
    if (length > 0 && length < static_cast<INT>(sizeof item)) stf::AddExtraCost(item, n, costs);
  }
}

std::string Decimal(std::uint64_t value) {
  char text[32];
  int i = sizeof text - 1;
  text[i] = '\0';
  do {
    text[--i] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return text + i;
}

}  // namespace

extern "C" {

LONG STFAPI LcbGetCopyListCost(LPCSTR extraList, LPCSTR costList, LPCSTR needList) {
  std::vector<stf::CopyEntry> entries;
  INT count = 0;
  const stf::CopyEntryView* listed = StfCopyListEntries(&count);
  for (INT i = 0; i < count; ++i) {
    stf::CopyEntry entry;
    entry.sourcePath = listed[i].source;
    entry.destPath = listed[i].target;
    entry.record.size = listed[i].declared;
    if (entry.record.size == 0 && !SourceSize(listed[i].source, &entry.record.size)) {
      StfLogError(("copy list cost: size of " + entry.sourcePath).c_str(), GetLastError());
      return -1;
    }
    entries.push_back(entry);
  }
  std::vector<stf::DriveCost> costs = stf::CopyListCost(entries, StfIsLeadByte);
  AddExtraCosts(extraList, &costs);

  if (costList && costList[0]) FRemoveSymbol(costList);
  if (needList && needList[0]) FRemoveSymbol(needList);
  std::uint64_t total = 0;
  for (const stf::DriveCost& cost : costs) {
    std::string name = cost.drive.empty() ? std::string(".") : cost.drive;
    total += cost.bytes;
    if (costList && costList[0] && !FAddListItem(costList, (name + "=" + Decimal(cost.bytes)).c_str())) {
      return -1;
    }
    if (needList && needList[0]) {
      ULARGE_INTEGER available;
      std::uint64_t need = cost.bytes;
      if (!cost.drive.empty() &&
          GetDiskFreeSpaceExA(RootOf(cost.drive).c_str(), &available, nullptr, nullptr)) {
        need = cost.bytes > available.QuadPart ? cost.bytes - available.QuadPart : 0;
      }
      if (!FAddListItem(needList, (name + "=" + Decimal(need)).c_str())) return -1;
    }
  }
  return total > static_cast<std::uint64_t>(LONG_MAX) ? LONG_MAX : static_cast<LONG>(total);
}

BOOL STFAPI FDumpCopyListToFile(LPCSTR file) {
  if (file == nullptr || file[0] == '\0') return FALSE;
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    StfLogError(("CreateFileA " + std::string(file)).c_str(), GetLastError());
    return FALSE;
  }
  INT count = 0;
  const stf::CopyEntryView* listed = StfCopyListEntries(&count);
  BOOL ok = TRUE;
  for (INT i = 0; ok && i < count; ++i) {
    // One line per entry: source, destination, declared size (0: unknown).
    std::string line = std::string(listed[i].source) + " -> " + listed[i].target + " (" +
                       Decimal(listed[i].declared) + " bytes)\r\n";
    DWORD written;
    ok = WriteFile(h, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  if (!ok) StfLogError(("WriteFile " + std::string(file)).c_str(), GetLastError());
  CloseHandle(h);
  return ok;
}

}  // extern "C"
