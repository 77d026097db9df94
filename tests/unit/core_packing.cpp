#include "core_packing.h"

#include <zlib.h>

#include <cstring>
#include <stdexcept>

namespace stf {
namespace test {
namespace {

void Put16(std::string* b, std::size_t at, std::uint32_t v) {
  (*b)[at] = static_cast<char>(v & 0xFF);
  (*b)[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string* b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// Raw deflate of one block as a whole stream, with the 32 KiB before it as
// its dictionary.
std::string Deflate(const std::string& block, const std::string& before) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("zlib");
  const std::string dict = before.size() > 32768 ? before.substr(before.size() - 32768) : before;
  if (!dict.empty()) deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dict.data()), static_cast<uInt>(dict.size()));
  std::string out(deflateBound(&z, static_cast<uLong>(block.size())) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.data()));
  z.avail_in = static_cast<uInt>(block.size());
  z.next_out = reinterpret_cast<Bytef*>(&out[0]);
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

}  // namespace

// Greedy: at each byte the longest match (3 to 18 bytes) anywhere in the
// window, overlapping the bytes being written as the format allows.
std::string LzCompress(const std::string& data) {
  std::string out("SZDD\x88\xF0\x27\x33" "A_", 10);
  out.resize(14);
  Put32(&out, 10, static_cast<std::uint32_t>(data.size()));
  unsigned char ring[4096];
  std::memset(ring, ' ', sizeof ring);
  std::size_t pos = 4096 - 16, i = 0;
  while (i < data.size()) {
    std::string group;
    unsigned flags = 0;
    for (int bit = 0; bit < 8 && i < data.size(); ++bit) {
      std::size_t best = 0, bestFrom = 0;
      for (std::size_t from = 0; from < 4096; ++from) {
        std::size_t k = 0;
        for (; k < 18 && i + k < data.size(); ++k) {
          const std::size_t at = (from + k) % 4096, ahead = (at + 4096 - pos) % 4096;
          const unsigned char c = ahead < k ? static_cast<unsigned char>(data[i + ahead]) : ring[at];
          if (c != static_cast<unsigned char>(data[i + k])) break;
        }
        if (k > best) best = k, bestFrom = from;
      }
      if (best >= 3) {
        group += static_cast<char>(bestFrom & 0xFF);
        group += static_cast<char>(((bestFrom >> 4) & 0xF0) | (best - 3));
      } else {
        best = 1;
        flags |= 1u << bit;
        group += data[i];
      }
      for (std::size_t k = 0; k < best; ++k, ++i) ring[pos] = data[i], pos = (pos + 1) % 4096;
    }
    out += static_cast<char>(flags);
    out += group;
  }
  return out;
}

std::string Cabinet(const std::string& data, bool mszip) {
  const std::string name = "mlxidecd.SYS";
  const std::size_t files = 44, start = files + 16 + name.size() + 1;
  std::string blocks;
  std::uint32_t count = 0;
  std::size_t at = 0;
  do {
    const std::string block = data.substr(at, 32768);
    const std::string packed = mszip ? "CK" + Deflate(block, data.substr(0, at)) : block;
    std::string header(8, '\0');
    Put16(&header, 4, static_cast<std::uint32_t>(packed.size()));
    Put16(&header, 6, static_cast<std::uint32_t>(block.size()));
    blocks += header + packed;
    ++count;
    at += 32768;
  } while (at < data.size());
  std::string b(start, '\0');
  b.replace(0, 4, "MSCF");
  Put32(&b, 8, static_cast<std::uint32_t>(start + blocks.size()));
  Put32(&b, 16, files);
  b[24] = 3;
  b[25] = 1;
  Put16(&b, 26, 1);  // one folder
  Put16(&b, 28, 1);  // one file
  Put32(&b, 36, static_cast<std::uint32_t>(start));
  Put16(&b, 40, count);
  Put16(&b, 42, mszip ? 1 : 0);
  Put32(&b, files, static_cast<std::uint32_t>(data.size()));
  b.replace(files + 16, name.size(), name);
  return b + blocks;
}

std::string Noise(std::size_t size, std::uint32_t seed) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 24);
  }
  return out;
}

std::string Prose(std::size_t size) {
  static const char kWords[] = "     the driver loads at the next boot; aaaaaaaaaaaaaaaaaaaaaaaa ";
  std::string out;
  for (std::uint32_t i = 0; out.size() < size; ++i) out += kWords + (i * 7) % 40;
  return out.substr(0, size);
}

ReadAt MemoryReader(const std::string& bytes) {
  return [bytes](std::uint64_t offset, void* buffer, std::size_t size,
                 std::size_t* got) -> unsigned long {
    *got = offset >= bytes.size() ? 0 : std::min<std::size_t>(size, bytes.size() - offset);
    if (*got) std::memcpy(buffer, bytes.data() + offset, *got);
    return 0;
  };
}

}  // namespace test
}  // namespace stf
