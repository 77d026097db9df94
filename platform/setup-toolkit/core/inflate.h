// The deflate format's decoder, as the MSZIP blocks of a cabinet need it:
// one whole deflate stream from memory at a time, its back-references
// reaching into what the earlier streams of the same cabinet folder wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace stf {

// Decodes the deflate stream in[0..size) and appends its output to *out,
// whose bytes already there are the history back-references may reach (the
// format reaches at most 32 KiB back). False when the stream is damaged, ends
// early, or would make *out longer than limit; *out is then unspecified.
bool Inflate(const std::uint8_t* in, std::size_t size, std::vector<std::uint8_t>* out,
             std::size_t limit);

}  // namespace stf
