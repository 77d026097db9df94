#include "inf_parser.h"

#include <cstring>
#include <utility>

#include "number_text.h"

namespace stf {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One physical line of data once its comment is cut off.
struct Piece {
  const char* end = nullptr;  // the content's end
  bool continues = false;     // it ends in a continuation
  bool solid = false;         // it holds more than blanks and backslashes
};

// What a byte is to the scanner of a line.
enum ByteClass : unsigned char { kPlain, kBlank, kQuote, kComment, kBackslash, kControl, kLead };

class Parser {
 public:
  Parser(const std::string& fileName, LeadBytePredicate isLead, InfError* err, InfFile* out)
      : fileName_(fileName), isLead_(isLead), err_(err), out_(out) {
    for (int c = 0; c < 256; ++c) {
      const unsigned char b = static_cast<unsigned char>(c);
      class_[c] = (b < 0x20 && b != '\t') || b == 0x7F ? kControl
                  : b == ' ' || b == '\t'               ? kBlank
                  : b == '"'                            ? kQuote
                  : b == ';'                            ? kComment
                  : b == '\\'                           ? kBackslash
                  : b >= 0x80 && isLead && isLead(b)    ? kLead
                                                        : kPlain;
      stop_[c] = b == '"' || b == ',' || b == '=';
    }
  }

  bool Run() {
    const char* data = out_->source.data();
    const std::size_t size = out_->source.size();
    // A ^Z ends the text; old DOS editors put one after the last line.
    const void* eof = std::memchr(data, 0x1A, size);
    const char* end = eof ? static_cast<const char*>(eof) : data + size;
    maxText_ = kInfTextGrowth * size + kInfTextSlackBytes;
    int lineNo = 0;
    for (const char* p = data; p < end;) {
      const char* newline = static_cast<const char*>(std::memchr(p, '\n', end - p));
      const char* contentEnd = newline != nullptr ? newline : end;
      if (contentEnd > p && contentEnd[-1] == '\r') --contentEnd;
      if (!PhysicalLine(p, contentEnd, ++lineNo)) return false;
      p = newline != nullptr ? newline + 1 : end;
    }
    if (continuing_) return Fail(continuationLine_, "line continuation at end of file");
    return ReadStrings() && SubstituteKeys();
  }

 private:
  bool Fail(int line, const std::string& message) {
    err_->file = fileName_;
    err_->line = line;
    err_->message = message;
    return false;
  }

  std::size_t Length(const char* p, const char* e) const {
    return static_cast<unsigned char>(*p) >= 0x80 && isLead_ ? CharLength(p, e, isLead_) : 1;
  }

  bool ControlByte(unsigned char c, int lineNo) {
    if (c == 0) return !Fail(lineNo, "NUL byte in text");
    return !Fail(lineNo, "control byte 0x" + HexText(c, 2, HexCase::kUpper) + " in text");
  }

  // Finds the comment and the continuation of a data line; checks its bytes.
  bool Scan(const char* b, const char* e, int lineNo, Piece* piece) {
    bool inQuote = false, backslashLast = false;
    const char* solidEnd = b;  // past the last character but blanks and backslashes
    const char* q = b;
    while (q < e) {
      const unsigned char c = static_cast<unsigned char>(*q);
      const ByteClass kind = static_cast<ByteClass>(class_[c]);
      if (kind == kControl) return !ControlByte(c, lineNo);
      if (kind == kComment && !inQuote) break;
      if (kind == kQuote) inQuote = !inQuote;
      q += kind == kLead ? CharLength(q, e, isLead_) : 1;
      if (kind == kBackslash && !inQuote) {
        backslashLast = true;
      } else if (kind != kBlank || inQuote) {
        solidEnd = q;
        backslashLast = false;
      }
    }
    for (const char* c = q; c < e; ++c) {  // the comment
      if (class_[static_cast<unsigned char>(*c)] == kControl) {
        return !ControlByte(static_cast<unsigned char>(*c), lineNo);
      }
    }
    if (inQuote) return Fail(lineNo, "unterminated quoted field");
    piece->continues = backslashLast;
    piece->end = backslashLast ? solidEnd : q;
    piece->solid = solidEnd > b;
    return true;
  }

  bool PhysicalLine(const char* b, const char* e, int lineNo) {
    while (b < e && IsBlank(*b)) ++b;  // also the blanks that start a continued line
    if (!continuing_ && b < e && *b == '[') return SectionHeader(b + 1, e, lineNo);
    Piece piece;
    if (!Scan(b, e, lineNo, &piece)) return false;
    if (!continuing_) {
      if (!piece.solid && !piece.continues) return true;  // blank or a comment
      BeginLine(lineNo);
    }
    solid_ |= piece.solid;
    Feed(b, piece.end);
    continuing_ = piece.continues;
    if (continuing_) {
      continuationLine_ = lineNo;
      return true;
    }
    return EndLine();
  }

  bool SectionHeader(const char* q, const char* e, int lineNo) {
    for (const char* c = q; c < e; ++c) {
      if (class_[static_cast<unsigned char>(*c)] == kControl) {
        return !ControlByte(static_cast<unsigned char>(*c), lineNo);
      }
    }
    const char* nameStart = q;
    std::size_t characters = 0;
    for (; q < e && *q != ']'; ++characters) q += Length(q, e);
    if (q >= e) return Fail(lineNo, "section header without closing ']'");
    if (q == nameStart) return Fail(lineNo, "empty section name");
    if (characters > kInfMaxSectionName) {
      return Fail(lineNo, "section name longer than " + std::to_string(kInfMaxSectionName) +
                              " characters");
    }
    const std::string name(nameStart, q);
    for (++q; q < e && IsBlank(*q); ++q) {
    }
    if (q < e && *q != ';') return Fail(lineNo, "unexpected text after section header");

    const auto known = out_->sectionIndex.find(name);
    if (known != out_->sectionIndex.end()) {
      current_ = known->second;
    } else {
      current_ = out_->sections.size();
      out_->sectionIndex.emplace(name, current_);
      InfSection section;
      section.name = name;
      section.line = lineNo;
      out_->sections.push_back(std::move(section));
    }
    inStrings_ = EqualsNoCase(name, "Strings");
    haveSection_ = true;
    return true;
  }

  // ---- the fields of one logical line ----
  // A field that is one stretch of the file (the most) stays where it is;
  // one made of several (quotes within text, "", a continued line) is put
  // together in scratch_ and kept in InfFile::text.

  void BeginLine(int lineNo) {
    logicalLine_ = lineNo;
    lineFirst_ = out_->fields.size();
    out_->fields.push_back(InfField());  // the key's place
    values_ = 0;
    haveKey_ = missingKey_ = solid_ = false;
    ResetField();
  }

  void ResetField() {
    hasPart_ = complex_ = quoted_ = false;
    scratch_.clear();
  }

  // [begin, end) of the source joins the field; quoted text is kept whole.
  void AddPart(const char* begin, const char* end, bool quoted) {
    const std::size_t b = static_cast<std::size_t>(begin - out_->source.data());
    const std::size_t e = static_cast<std::size_t>(end - out_->source.data());
    if (!hasPart_ || (!complex_ && b == partEnd_)) {
      if (!hasPart_) partBegin_ = keep_ = b;
      partEnd_ = e;
      hasPart_ = true;
    } else {
      if (!complex_) {
        scratch_.assign(out_->source, partBegin_, partEnd_ - partBegin_);
        keepLength_ = keep_ - partBegin_;
        complex_ = true;
      }
      scratch_.append(begin, end);
    }
    if (quoted) {
      keep_ = e;  // blanks inside quotes survive trimming
      keepLength_ = scratch_.size();
    }
  }

  // Each piece has balanced quotes; '"', ',' and '=' are never trail bytes.
  void Feed(const char* p, const char* end) {
    while (p < end) {
      const char c = *p;
      if (c == '"') {
        quoted_ = true;
        for (++p;;) {
          const char* close = static_cast<const char*>(std::memchr(p, '"', end - p));
          AddPart(p, close, true);
          p = close + 1;
          if (p == end || *p != '"') break;
          AddPart(close, close + 1, true);  // "" inside quotes is one
          ++p;
        }
      } else if (c == ',') {
        EndField();
        ++p;
      } else if (c == '=' && !haveKey_ && values_ == 0) {
        const InfField key = TakeField();
        missingKey_ = key.length == 0;
        out_->fields[lineFirst_] = key;
        haveKey_ = true;
        ++p;
      } else if (IsBlank(c) && !hasPart_ && !quoted_) {
        ++p;  // a blank before an unquoted field
      } else {
        const char* q = p + 1;
        while (q < end && !stop_[static_cast<unsigned char>(*q)]) ++q;
        AddPart(p, q, false);
        p = q;
      }
    }
  }

  // The field so far, trimmed of the unquoted blanks at its end.
  InfField TakeField() {
    InfField field;
    const std::string& source = out_->source;
    if (complex_) {
      while (scratch_.size() > keepLength_ && IsBlank(scratch_.back())) scratch_.pop_back();
      field.offset = static_cast<std::uint32_t>(out_->text.size());
      field.length = static_cast<std::uint32_t>(scratch_.size());
      field.processed = true;
      out_->text += scratch_;
    } else if (hasPart_) {
      std::size_t end = partEnd_;
      while (end > keep_ && IsBlank(source[end - 1])) --end;
      field.offset = static_cast<std::uint32_t>(partBegin_);
      field.length = static_cast<std::uint32_t>(end - partBegin_);
    }
    const char* text = (field.processed ? out_->text : source).data() + field.offset;
    if (field.length > kInfMaxFieldChars) Cut(text, &field);
    field.strings = !inStrings_ && std::memchr(text, '%', field.length) != nullptr;
    ResetField();
    return field;
  }

  // Windows keeps the first kInfMaxFieldChars characters of a longer field.
  void Cut(const char* text, InfField* field) {
    const std::size_t keep = CharPrefix(text, field->length, kInfMaxFieldChars, isLead_);
    if (keep == field->length) return;
    field->length = static_cast<std::uint32_t>(keep);
    if (out_->cutFields++ == 0) out_->cutLine = logicalLine_;
  }

  void EndField() {
    const InfField field = TakeField();
    out_->fields.push_back(field);
    ++values_;
  }

  bool EndLine() {
    if (!solid_) {  // nothing but continuations
      out_->fields.resize(lineFirst_);
      return true;
    }
    EndField();
    if (!haveSection_) return Fail(logicalLine_, "line before any section header");
    if (missingKey_) return Fail(logicalLine_, "missing key before '='");
    if (++lineCount_ > kInfMaxLines) {
      return Fail(logicalLine_, "more than " + std::to_string(kInfMaxLines) + " lines");
    }
    std::vector<InfField>& fields = out_->fields;
    // One value and no '=': Windows finds the line by that value.
    if (!haveKey_ && values_ == 1) fields[lineFirst_] = fields[lineFirst_ + 1];
    InfLine line;
    line.first = static_cast<std::uint32_t>(lineFirst_);
    line.count = static_cast<std::uint32_t>(1 + values_);
    line.line = logicalLine_;
    line.keyed = haveKey_;
    out_->sections[current_].lines.push_back(line);
    return true;
  }

  // ---- [Strings] ----

  bool ReadStrings() {
    const auto section = out_->sectionIndex.find("Strings");
    if (section == out_->sectionIndex.end()) return true;
    for (const InfLine& line : out_->sections[section->second].lines) {
      const std::string name = LineKey(*out_, line);
      if (!line.keyed) return Fail(line.line, "string without a name in [Strings]");
      if (line.count > 2) {
        return Fail(line.line, "string '" + name +
                                   "' has more than one value (quote a value holding commas)");
      }
      out_->strings.emplace(ToUpperAscii(name), out_->fields[line.first + 1]);
    }
    return true;
  }

  // Lines are found by their keys as substituted; values wait until read.
  bool SubstituteKeys() {
    std::string expanded;
    for (InfSection& section : out_->sections) {
      for (const InfLine& line : section.lines) {
        InfField& key = out_->fields[line.first];
        if (!key.strings) continue;
        const std::string& from = key.processed ? out_->text : out_->source;
        ExpandStrings(*out_, from.data() + key.offset, key.length, &expanded);
        if (out_->text.size() + expanded.size() > maxText_) {
          return Fail(line.line, "text after string substitution larger than " +
                                     std::to_string(maxText_) + " bytes");
        }
        key.offset = static_cast<std::uint32_t>(out_->text.size());
        key.length = static_cast<std::uint32_t>(expanded.size());
        key.processed = true;
        key.strings = false;
        out_->text += expanded;
      }
    }
    return true;
  }

  std::string fileName_;
  LeadBytePredicate isLead_;
  InfError* err_;
  InfFile* out_;
  std::size_t current_ = 0;
  bool haveSection_ = false;
  bool inStrings_ = false;
  bool continuing_ = false;
  int continuationLine_ = 0;
  int logicalLine_ = 0;
  std::size_t lineCount_ = 0;
  std::size_t maxText_ = 0;
  // The logical line being read, and its field being read.
  std::size_t lineFirst_ = 0, values_ = 0;
  bool haveKey_ = false, missingKey_ = false, solid_ = false;
  std::size_t partBegin_ = 0, partEnd_ = 0, keep_ = 0, keepLength_ = 0;
  bool hasPart_ = false, complex_ = false, quoted_ = false;
  std::string scratch_;
  unsigned char class_[256];
  bool stop_[256];  // ends a run of ordinary field text
};

}  // namespace

std::string InfError::Text() const {
  if (line <= 0) return file + ": " + message;
  return file + "(" + std::to_string(line) + "): " + message;
}

// Refused before anything is copied or read.
static bool TooLarge(std::size_t size, const std::string& fileName, InfFile* out, InfError* err) {
  *out = InfFile();
  *err = InfError();
  if (size <= kInfMaxFileBytes) return false;
  err->file = fileName;
  err->message = "file is larger than " + std::to_string(kInfMaxFileBytes) + " bytes";
  return true;
}

bool ParseInfSource(std::string text, const std::string& fileName, InfFile* out, InfError* err,
                    LeadBytePredicate isLead, const InfDirectoryIds* dirs) {
  if (TooLarge(text.size(), fileName, out, err)) return false;
  InfFile parsed;
  parsed.source = std::move(text);
  parsed.isLead = isLead;
  if (dirs != nullptr) parsed.directories = *dirs;
  Parser parser(fileName, isLead, err, &parsed);
  if (!parser.Run()) return false;
  parsed.path = fileName;
  *out = std::move(parsed);
  return true;
}

bool ParseInfText(const char* data, std::size_t size, const std::string& fileName, InfFile* out,
                  InfError* err, LeadBytePredicate isLead, const InfDirectoryIds* dirs) {
  if (TooLarge(size, fileName, out, err)) return false;
  return ParseInfSource(std::string(data, size), fileName, out, err, isLead, dirs);
}

}  // namespace stf
