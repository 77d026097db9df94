#include "lz_expand.h"

#include <cstring>
#include <vector>

namespace stf {
namespace {

const std::uint8_t kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::size_t kWindow = 4096;
constexpr std::size_t kWindowStart = kWindow - 16;  // the window starts as blanks
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kChunk = 64 * 1024;

// The compressed bytes, read a chunk at a time.
class Input {
 public:
  Input(const ReadAt& read, std::uint64_t offset) : read_(read), offset_(offset), data_(kChunk) {}
  // The next byte, or -1 at the end of the file or on a read error.
  int Next() {
    if (pos_ == size_) {
      if (error_ != 0 || atEnd_) return -1;
      std::size_t got = 0;
      error_ = read_(offset_, data_.data(), data_.size(), &got);
      atEnd_ = error_ != 0 || got < data_.size();
      if (error_ != 0 || got == 0) return -1;
      offset_ += got;
      pos_ = 0;
      size_ = got;
    }
    return data_[pos_++];
  }
  SysError Error() const { return error_; }

 private:
  const ReadAt& read_;
  std::uint64_t offset_;
  std::vector<std::uint8_t> data_;
  std::size_t pos_ = 0, size_ = 0;
  SysError error_ = 0;
  bool atEnd_ = false;
};

// The expanded bytes, handed on a chunk at a time; never more than promised.
class Output {
 public:
  Output(const WriteExpanded& write, std::uint64_t limit) : write_(write), limit_(limit) {
    data_.reserve(kChunk);
  }
  bool Put(std::uint8_t byte) {
    if (written_ + data_.size() == limit_ || error_ != 0) return false;
    data_.push_back(byte);
    if (data_.size() == kChunk) Flush();
    return error_ == 0;
  }
  SysError Flush() {
    if (error_ == 0 && !data_.empty()) error_ = write_(data_.data(), data_.size());
    written_ += data_.size();
    data_.clear();
    return error_;
  }
  std::uint64_t Count() const { return written_ + data_.size(); }
  SysError Error() const { return error_; }

 private:
  const WriteExpanded& write_;
  std::uint64_t limit_, written_ = 0;
  std::vector<std::uint8_t> data_;
  SysError error_ = 0;
};

SysError Damaged(std::string* problem, const std::string& what) {
  *problem = what;
  return kErrorFileCorrupt;
}

}  // namespace

bool IsLzHeader(const std::uint8_t* head, std::size_t size) {
  return size >= sizeof kSignature && std::memcmp(head, kSignature, sizeof kSignature) == 0;
}

SysError ReadLzHeader(const std::uint8_t* head, std::size_t size, PackedFile* out,
                      std::string* problem) {
  out->packing = Packing::kLz;
  if (size < kLzHeaderSize) return Damaged(problem, "its header is cut short");
  if (head[8] != 'A') return Damaged(problem, "it uses a compression method other than LZ ('A')");
  out->expandedSize = head[10] | (head[11] << 8) | (head[12] << 16) |
                      (static_cast<std::uint64_t>(head[13]) << 24);
  out->dataStart = kLzHeaderSize;
  return 0;
}

// Each flag bit, lowest first: 1 a literal byte; 0 a match of two bytes,
// the window position (12 bits) and the length less three (4 bits).
SysError ExpandLz(const ReadAt& read, std::uint64_t expandedSize, const WriteExpanded& write,
                  std::string* problem) {
  Input in(read, kLzHeaderSize);
  Output out(write, expandedSize);
  std::uint8_t window[kWindow];
  std::memset(window, ' ', sizeof window);
  std::size_t pos = kWindowStart;
  bool tooLong = false, cut = false;
  auto emit = [&](std::uint8_t byte) {
    window[pos] = byte;
    pos = (pos + 1) % kWindow;
    tooLong = !out.Put(byte) && out.Error() == 0;
    return !tooLong && out.Error() == 0;
  };
  for (int flags; (flags = in.Next()) >= 0;) {
    bool going = true;
    for (int bit = 0; bit < 8 && going; ++bit, flags >>= 1) {
      const int first = in.Next();
      if (first < 0) break;  // the last flags byte may have bits to spare
      if (flags & 1) {
        going = emit(static_cast<std::uint8_t>(first));
        continue;
      }
      const int second = in.Next();
      if (second < 0) {
        cut = true;
        break;
      }
      const std::size_t from = first | ((second & 0xF0) << 4);
      const std::size_t length = (second & 0x0F) + kMinMatch;
      for (std::size_t i = 0; i < length && going; ++i) going = emit(window[(from + i) % kWindow]);
    }
    if (!going || cut) break;
  }
  if (out.Error() != 0) return out.Error();
  if (in.Error() != 0) return in.Error();
  if (out.Flush() != 0) return out.Error();
  if (cut) return Damaged(problem, "its data ends in the middle of a match");
  if (tooLong) return Damaged(problem, "it holds more data than its header says");
  if (out.Count() != expandedSize) {
    return Damaged(problem, "it expands to " + std::to_string(out.Count()) +
                                " bytes where its header says " + std::to_string(expandedSize));
  }
  return 0;
}

}  // namespace stf
