// Reader for setup INF files.
//
// The syntax is a subset of the Windows INF syntax, read as Windows' own INF
// reader reads it, so that editors and other INF readers understand our
// files too:
//   [Section Name]            ; comment
//   key = value1, "value, 2"  ; fields are separated by commas
//   value1, value2            ; a line without a key
//   single                    ; one value and no '=': the value is also the key
//   long = a, b, \            ; a trailing backslash continues the line
//          c
//   text = %Name%             ; replaced from [Strings]; %% is one %
//   path = %11%\drivers        ; a directory id (inf_dirids.h)
// Field 0 of a line is its key, fields 1..n its values. Unquoted fields are
// trimmed of blanks and tabs; inside double quotes, commas, ';', blanks and
// backslashes are text and "" is one quote. A quoted field cannot run past
// the end of its physical line. Before a continuation, the blanks and any
// further backslashes up to the line's end (or its comment) go, and so do
// the blanks that start the continued line. A section name is everything
// between '[' and the first ']', blanks included. Section names, keys and
// string names compare without regard to ASCII case. Sections of the same
// name are merged in file order. A %name% missing from [Strings] is a
// directory id when it is a number the caller's table knows (a trailing
// backslash of the directory goes when a backslash follows the id), and
// otherwise stays as written. [Strings] itself is not substituted; each of
// its lines is `name = value` with exactly one value, and the first
// definition wins. A ^Z (0x1A) ends the file, as it did for DOS editors.
// Lines and continued lines may be of any length and hold any number of
// fields. A field, and a field once its strings are replaced, is at most
// kInfMaxFieldChars characters: Windows reads the first that many of a
// longer one, and so do we (InfFile::cutLine says where it happened).
//
// Refused, with the line: text before the first section, text after a
// section's ']', an empty section name, a line "= value" (no key), a quote
// left open at the end of a line, a continuation on the last line, any
// control byte but a tab, and the limits below.
//
// Text is 8-bit ANSI and may hold double-byte characters; bytes of 0x80 and
// up are ordinary text. Pass a lead-byte test so that a trail byte equal to
// '\', '[' or ']' is not taken for syntax. Lines end in LF or CRLF. Files in
// UTF-16LE or UTF-8 (inf_encoding.h) are converted to ANSI first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "inf_dirids.h"
#include "inf_encoding.h"

namespace stf {

// Bounds on untrusted input, so that a bad file fails cleanly instead of
// exhausting memory. Exceeding any of them is a parse error.
// The whole file.
constexpr std::size_t kInfMaxFileBytes = 64 * 1024 * 1024;
// Lines holding data, all sections together.
constexpr std::size_t kInfMaxLines = 4 * 1024 * 1024;
// A section name, in characters (Windows' own limit).
constexpr std::size_t kInfMaxSectionName = 255;
// Keys are substituted when the file is read (values when they are read):
// all field text may then be at most this many times the file's size plus
// kInfTextSlackBytes, so that strings cannot inflate a file without bound.
constexpr std::size_t kInfTextGrowth = 4;
constexpr std::size_t kInfTextSlackBytes = 4 * 1024 * 1024;

// Characters of a field: not a refusal, Windows' reader keeps the first this
// many of a longer one (Windows NT 4.0 to XP kept 511).
constexpr std::size_t kInfMaxFieldChars = 4096;

struct InfField {
  std::uint32_t offset = 0;  // into InfFile::source, or InfFile::text when processed
  std::uint32_t length = 0;
  bool processed = false;    // not a plain part of the file: quotes undone, pieces joined
  bool strings = false;      // holds %name%, replaced when the field is read
};

struct InfLine {
  std::uint32_t first = 0;  // the key's index in InfFile::fields; the values follow
  std::uint32_t count = 1;  // fields, the key included
  int line = 0;             // physical line where it starts, from 1
  bool keyed = false;       // written as "key = ..."
};

struct InfSection {
  std::string name;  // as first written
  std::vector<InfLine> lines;
  int line = 0;  // of its first header
  // Its lines in the order of their keys, made by the first look-up by key.
  mutable std::vector<std::uint32_t> byKey;
};

struct InfFile {
  std::string path;  // the name given when it was read; used in messages
  std::vector<InfSection> sections;
  std::map<std::string, std::size_t, NoCaseLess> sectionIndex;
  std::string source;  // the file's text, which most fields are parts of
  std::string text;    // the text of the other fields
  std::vector<InfField> fields;
  std::unordered_map<std::string, InfField> strings;  // [Strings], by upper-case name
  InfDirectoryIds directories;  // for %id% that [Strings] does not define
  LeadBytePredicate isLead = nullptr;
  // The first line where a field was longer than kInfMaxFieldChars (0: none),
  // and how many such fields the file has.
  int cutLine = 0;
  std::size_t cutFields = 0;
};

struct InfError {
  std::string file;
  int line = 0;  // 0 when the problem is with the file as a whole
  std::string message;
  // "setup.inf(12): unterminated quoted field", or "setup.inf: message" for line 0.
  std::string Text() const;
};

// Parses INF text in the ANSI code page (copied into out->source).
// fileName is used for out->path and in errors; dirs are the directory ids
// (none when null). On failure *out is left empty and *err says where and what.
bool ParseInfText(const char* data, std::size_t size, const std::string& fileName, InfFile* out,
                  InfError* err, LeadBytePredicate isLead = nullptr,
                  const InfDirectoryIds* dirs = nullptr);
// The same for text already in a string, taken without a copy.
bool ParseInfSource(std::string text, const std::string& fileName, InfFile* out, InfError* err,
                    LeadBytePredicate isLead = nullptr, const InfDirectoryIds* dirs = nullptr);

// Reads a file (binary, at most kInfMaxFileBytes), converts Unicode text
// with toAnsi and parses it.
bool LoadInfFile(const std::string& path, InfFile* out, InfError* err,
                 LeadBytePredicate isLead = nullptr, WideToAnsi toAnsi = nullptr,
                 const InfDirectoryIds* dirs = nullptr);

// The same for a file's bytes, read by the caller (who may check them first).
bool LoadInfBytes(std::string data, const std::string& path, InfFile* out, InfError* err,
                  LeadBytePredicate isLead = nullptr, WideToAnsi toAnsi = nullptr,
                  const InfDirectoryIds* dirs = nullptr);

// nullptr when absent.
const InfSection* FindSection(const InfFile& inf, const std::string& name);
// The first line with this key; nullptr when absent.
const InfLine* FindLine(const InfFile& inf, const InfSection& section, const std::string& key);
// Field n of a line (0 is the key); false when the line has no such field.
bool GetField(const InfFile& inf, const InfLine& line, int n, std::string* out);
// The same without a copy where it can: *text points into the file, or into
// *scratch for a field whose strings were replaced; not NUL-terminated.
bool FieldView(const InfFile& inf, const InfLine& line, int n, std::string* scratch,
               const char** text, std::size_t* length);
// text with each %name% that [Strings] defines, and each directory id,
// replaced and %% made one %; at most kInfMaxFieldChars characters.
void ExpandStrings(const InfFile& inf, const char* text, std::size_t length, std::string* out);
std::string LineKey(const InfFile& inf, const InfLine& line);
inline int ValueCount(const InfLine& line) { return static_cast<int>(line.count) - 1; }

}  // namespace stf
