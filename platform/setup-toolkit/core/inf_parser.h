// Reader for setup INF files.
//
// The syntax is a subset of the Windows INF syntax, so that editors and other
// INF readers understand our files too:
//   [Section Name]            ; comment
//   key = value1, "value, 2"  ; fields are separated by commas
//   key-less value, value2
//   long = a, b, \            ; a trailing backslash continues the line
//          c
//   text = %Name%             ; replaced from [Strings]; %% is one %
// Field 0 of a line is its key (empty on a key-less line), fields 1..n its
// values. Unquoted fields are trimmed of blanks and tabs; inside double
// quotes, commas, ';', blanks and backslashes are text and "" is one quote.
// A quoted field cannot run past the end of its physical line. Section names,
// keys and string names compare without regard to ASCII case. Sections of the
// same name are merged in file order. A %name% missing from [Strings] stays as
// written. [Strings] itself is not substituted; each of its lines is
// `name = value` with exactly one value (quote a value that holds commas), and
// the first definition of a name wins.
//
// Text is 8-bit ANSI and may hold double-byte characters; bytes of 0x80 and up
// are ordinary text. Pass a lead-byte test so that a trail byte equal to '\',
// '[' or ']' is not taken for syntax. Lines end in LF or CRLF; a UTF-8 byte
// order mark at the start is skipped. Any other control byte is an error.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ansi_text.h"

namespace stf {

// Bounds on untrusted input, so that a bad file fails cleanly instead of
// exhausting memory. Exceeding any of them is a parse error.
// The whole file; a longer one is refused after reading one byte past this.
constexpr std::size_t kInfMaxFileBytes = 1024 * 1024;
// A physical line, and a continued line once joined (line ends not counted).
constexpr std::size_t kInfMaxLineBytes = 4096;
// Values on one line, not counting the key.
constexpr std::size_t kInfMaxFields = 64;
// Lines holding data, all sections together.
constexpr std::size_t kInfMaxLines = 65536;
// All field text after %name% substitution, so that strings cannot inflate
// a small file without bound.
constexpr std::size_t kInfMaxTextBytes = 4 * 1024 * 1024;

struct InfLine {
  std::string key;                  // same as fields[0]; empty on a key-less line
  std::vector<std::string> fields;  // fields[0] is the key, then the values
  int line = 0;                     // physical line where it starts, from 1
};

struct InfSection {
  std::string name;  // as first written
  std::vector<InfLine> lines;
  int line = 0;  // of its first header
};

struct InfFile {
  std::string path;  // the name given when it was read; used in messages
  std::vector<InfSection> sections;
};

struct InfError {
  std::string file;
  int line = 0;  // 0 when the problem is with the file as a whole
  std::string message;
  // "setup.inf(12): unterminated quoted field", or "setup.inf: message" for line 0.
  std::string Text() const;
};

// Parses INF text. fileName is used for out->path and in errors. On failure
// *out is left empty and *err says where and what.
bool ParseInfText(const char* data, std::size_t size, const std::string& fileName, InfFile* out,
                  InfError* err, LeadBytePredicate isLead = nullptr);

// Reads and parses a file (binary; never more than kInfMaxFileBytes + 1 bytes).
bool LoadInfFile(const std::string& path, InfFile* out, InfError* err,
                 LeadBytePredicate isLead = nullptr);

// nullptr when absent.
const InfSection* FindSection(const InfFile& inf, const std::string& name);
// The first line with this key; nullptr when absent.
const InfLine* FindLine(const InfSection& section, const std::string& key);
// Field n (0 is the key); false when the line has no such field.
bool GetField(const InfLine& line, int n, std::string* out);

}  // namespace stf
