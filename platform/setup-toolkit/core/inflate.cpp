#include "inflate.h"

namespace stf {
namespace {

constexpr int kMaxBits = 15;
constexpr int kMaxLiteralCodes = 286;
constexpr int kMaxDistanceCodes = 30;
constexpr int kFixedLiteralCodes = 288;

const std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const std::uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                         33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
const std::uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                           11, 4,  12, 3, 13, 2, 14, 1, 15};

// Canonical Huffman code: how many codes of each length, and the symbols in
// code order.
struct Huffman {
  std::uint16_t count[kMaxBits + 1];
  std::uint16_t symbol[kFixedLiteralCodes];
};

// Reads the stream's bits, least significant first; reading past the end
// marks the stream as damaged and gives zeros.
struct Bits {
  const std::uint8_t* in;
  std::size_t size;
  std::size_t pos = 0;
  std::uint32_t buffer = 0;
  int count = 0;
  bool bad = false;

  std::uint32_t Take(int need) {
    while (count < need) {
      if (pos == size) {
        bad = true;
        return 0;
      }
      buffer |= static_cast<std::uint32_t>(in[pos++]) << count;
      count += 8;
    }
    const std::uint32_t value = buffer & ((1u << need) - 1);
    buffer >>= need;
    count -= need;
    return value;
  }
};

// False when the lengths over-subscribe the code. An incomplete code is
// allowed; its unused codes read as damage when they occur.
bool Build(Huffman* h, const std::uint8_t* length, int n) {
  for (int len = 0; len <= kMaxBits; ++len) h->count[len] = 0;
  for (int s = 0; s < n; ++s) h->count[length[s]]++;
  int left = 1;
  for (int len = 1; len <= kMaxBits; ++len) {
    left = (left << 1) - h->count[len];
    if (left < 0) return false;
  }
  std::uint16_t offset[kMaxBits + 2] = {0, 0};
  for (int len = 1; len <= kMaxBits; ++len) offset[len + 1] = offset[len] + h->count[len];
  for (int s = 0; s < n; ++s) {
    if (length[s] != 0) h->symbol[offset[length[s]]++] = static_cast<std::uint16_t>(s);
  }
  return true;
}

// The next symbol, or -1 when the bits match no code.
int Decode(Bits* bits, const Huffman& h) {
  int code = 0, first = 0, index = 0;
  for (int len = 1; len <= kMaxBits; ++len) {
    code |= static_cast<int>(bits->Take(1));
    if (bits->bad) return -1;
    const int count = h.count[len];
    if (code - first < count) return h.symbol[index + (code - first)];
    index += count;
    first = (first + count) << 1;
    code <<= 1;
  }
  return -1;
}

bool Stored(Bits* bits, std::vector<std::uint8_t>* out, std::size_t limit) {
  bits->buffer = 0;
  bits->count = 0;
  if (bits->size - bits->pos < 4) return false;
  const std::uint8_t* p = bits->in + bits->pos;
  const std::size_t length = p[0] | (p[1] << 8);
  if (static_cast<std::size_t>(p[2] | (p[3] << 8)) != (~length & 0xFFFF)) return false;
  bits->pos += 4;
  if (bits->size - bits->pos < length || limit - out->size() < length) return false;
  out->insert(out->end(), bits->in + bits->pos, bits->in + bits->pos + length);
  bits->pos += length;
  return true;
}

bool Codes(Bits* bits, const Huffman& literals, const Huffman& distances,
           std::vector<std::uint8_t>* out, std::size_t limit) {
  for (;;) {
    int symbol = Decode(bits, literals);
    if (symbol < 0) return false;
    if (symbol == 256) return true;
    if (symbol < 256) {
      if (out->size() == limit) return false;
      out->push_back(static_cast<std::uint8_t>(symbol));
      continue;
    }
    symbol -= 257;
    if (symbol >= 29) return false;
    const std::size_t length = kLengthBase[symbol] + bits->Take(kLengthExtra[symbol]);
    symbol = Decode(bits, distances);
    if (symbol < 0 || symbol >= kMaxDistanceCodes) return false;
    const std::size_t distance = kDistanceBase[symbol] + bits->Take(kDistanceExtra[symbol]);
    if (bits->bad || distance > out->size() || limit - out->size() < length) return false;
    for (std::size_t i = 0; i < length; ++i) out->push_back((*out)[out->size() - distance]);
  }
}

bool Fixed(Bits* bits, std::vector<std::uint8_t>* out, std::size_t limit) {
  std::uint8_t length[kFixedLiteralCodes];
  int s = 0;
  for (; s < 144; ++s) length[s] = 8;
  for (; s < 256; ++s) length[s] = 9;
  for (; s < 280; ++s) length[s] = 7;
  for (; s < kFixedLiteralCodes; ++s) length[s] = 8;
  Huffman literals, distances;
  Build(&literals, length, kFixedLiteralCodes);
  for (s = 0; s < kMaxDistanceCodes; ++s) length[s] = 5;
  Build(&distances, length, kMaxDistanceCodes);
  return Codes(bits, literals, distances, out, limit);
}

// The code lengths of a dynamic block, themselves Huffman-coded.
bool ReadLengths(Bits* bits, std::uint8_t* length, int* literalCount, int* distanceCount) {
  *literalCount = static_cast<int>(bits->Take(5)) + 257;
  *distanceCount = static_cast<int>(bits->Take(5)) + 1;
  const int lengthCount = static_cast<int>(bits->Take(4)) + 4;
  if (*literalCount > kMaxLiteralCodes || *distanceCount > kMaxDistanceCodes) return false;
  std::uint8_t codeLength[19] = {};
  for (int i = 0; i < lengthCount; ++i) codeLength[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(bits->Take(3));
  Huffman lengths;
  if (bits->bad || !Build(&lengths, codeLength, 19)) return false;
  const int total = *literalCount + *distanceCount;
  for (int index = 0; index < total;) {
    const int symbol = Decode(bits, lengths);
    if (symbol < 0) return false;
    if (symbol < 16) {
      length[index++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    std::uint8_t value = 0;
    int repeat;
    if (symbol == 16) {
      if (index == 0) return false;
      value = length[index - 1];
      repeat = 3 + static_cast<int>(bits->Take(2));
    } else {
      repeat = symbol == 17 ? 3 + static_cast<int>(bits->Take(3)) : 11 + static_cast<int>(bits->Take(7));
    }
    if (bits->bad || index + repeat > total) return false;
    while (repeat-- > 0) length[index++] = value;
  }
  return length[256] != 0;  // a block must be able to end
}

bool Dynamic(Bits* bits, std::vector<std::uint8_t>* out, std::size_t limit) {
  std::uint8_t length[kMaxLiteralCodes + kMaxDistanceCodes];
  int literalCount = 0, distanceCount = 0;
  if (!ReadLengths(bits, length, &literalCount, &distanceCount)) return false;
  Huffman literals, distances;
  return Build(&literals, length, literalCount) &&
         Build(&distances, length + literalCount, distanceCount) &&
         Codes(bits, literals, distances, out, limit);
}

}  // namespace

bool Inflate(const std::uint8_t* in, std::size_t size, std::vector<std::uint8_t>* out,
             std::size_t limit) {
  Bits bits{in, size};
  for (bool last = false; !last;) {
    last = bits.Take(1) != 0;
    const std::uint32_t type = bits.Take(2);
    if (bits.bad) return false;
    bool ok = false;
    if (type == 0) ok = Stored(&bits, out, limit);
    if (type == 1) ok = Fixed(&bits, out, limit);
    if (type == 2) ok = Dynamic(&bits, out, limit);
    if (!ok || bits.bad) return false;
  }
  return true;
}

}  // namespace stf
