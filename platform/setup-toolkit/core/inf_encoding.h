// The encodings an INF file may be saved in, as Windows' own INF reader
// takes them: UTF-16LE with its byte order mark, UTF-8 with or without one,
// and otherwise the system's ANSI code page. The reader works on ANSI text,
// so Unicode text is converted by whoever knows the code page.
#pragma once

#include <cstddef>
#include <string>

namespace stf {

// Converts UTF-16 text to the ANSI code page (a character the code page
// lacks becomes its default character). False when it cannot.
using WideToAnsi = bool (*)(const char16_t* text, std::size_t length, std::string* out);

enum class InfEncoding { kAnsi, kUtf8, kUtf16, kUtf16BigEndian };

// The encoding of a file's bytes: by its byte order mark, or UTF-8 without
// one when every byte sequence is valid UTF-8 and at least one character is
// not ASCII; otherwise ANSI.
InfEncoding DetectInfEncoding(const char* data, std::size_t size);

// The file's text in the ANSI code page, byte order mark removed. False with
// *problem set for a file that is neither (UTF-16 big-endian, an odd UTF-16
// length, a conversion that fails or is not given).
bool DecodeInfBytes(const char* data, std::size_t size, WideToAnsi toAnsi, std::string* text,
                    std::string* problem);

}  // namespace stf
