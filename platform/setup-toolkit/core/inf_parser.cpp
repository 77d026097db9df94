#include "inf_parser.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <utility>

namespace stf {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int CompareNoCase(const char* a, std::size_t an, const char* b, std::size_t bn) {
  const std::size_t n = an < bn ? an : bn;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(ToUpperAscii(a[i]));
    const unsigned char y = static_cast<unsigned char>(ToUpperAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return an == bn ? 0 : an < bn ? -1 : 1;
}

// One physical line of data once its comment is cut off.
struct Piece {
  const char* end = nullptr;  // the content's end
  bool continues = false;     // it ends in a continuation
  bool solid = false;         // it holds more than blanks and backslashes
};

class Parser {
 public:
  Parser(const std::string& fileName, LeadBytePredicate isLead, InfError* err, InfFile* out)
      : fileName_(fileName), isLead_(isLead), err_(err), out_(out) {}

  bool Run(const char* data, std::size_t size) {
    // A ^Z ends the text; old DOS editors put one after the last line.
    const void* eof = std::memchr(data, 0x1A, size);
    const char* end = eof ? static_cast<const char*>(eof) : data + size;
    out_->text.reserve(size);
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
    return SubstituteStrings();
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
    char message[40];
    std::snprintf(message, sizeof message, "control byte 0x%02X in text", c);
    return !Fail(lineNo, message);
  }

  // Finds the comment and the continuation of a data line; checks its bytes.
  bool Scan(const char* b, const char* e, int lineNo, Piece* piece) {
    bool inQuote = false, backslashLast = false;
    const char* solidEnd = b;  // past the last character but blanks and backslashes
    const char* q = b;
    for (; q < e && !(*q == ';' && !inQuote);) {
      const unsigned char c = static_cast<unsigned char>(*q);
      if ((c < 0x20 && c != '\t') || c == 0x7F) return !ControlByte(c, lineNo);
      if (c == '"') inQuote = !inQuote;
      const std::size_t length = Length(q, e);
      if (c == '\\' && length == 1 && !inQuote) {
        backslashLast = true;
      } else if (inQuote || !IsBlank(static_cast<char>(c))) {
        solidEnd = q + length;
        backslashLast = false;
      }
      q += length;
    }
    for (const char* c = q; c < e; ++c) {  // the comment
      const unsigned char b = static_cast<unsigned char>(*c);
      if ((b < 0x20 && b != '\t') || b == 0x7F) return !ControlByte(b, lineNo);
    }
    if (inQuote) return Fail(lineNo, "unterminated quoted field");
    piece->continues = backslashLast;
    piece->end = backslashLast ? solidEnd : q;
    piece->solid = solidEnd > b;
    return true;
  }

  bool PhysicalLine(const char* b, const char* e, int lineNo) {
    if (static_cast<std::size_t>(e - b) > kInfMaxLineBytes) {
      return Fail(lineNo, "line longer than " + std::to_string(kInfMaxLineBytes) + " bytes");
    }
    while (b < e && IsBlank(*b)) ++b;  // also the blanks that start a continued line
    if (!continuing_ && b < e && *b == '[') return SectionHeader(b + 1, e, lineNo);
    Piece piece;
    if (!Scan(b, e, lineNo, &piece)) return false;
    if (!continuing_) {
      if (!piece.solid && !piece.continues) return true;  // blank or a comment
      BeginLine(lineNo);
    }
    logicalBytes_ += static_cast<std::size_t>(piece.end - b);
    if (logicalBytes_ > kInfMaxLineBytes) {
      return Fail(lineNo,
                  "continued line longer than " + std::to_string(kInfMaxLineBytes) + " bytes");
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
      const unsigned char b = static_cast<unsigned char>(*c);
      if ((b < 0x20 && b != '\t') || b == 0x7F) return !ControlByte(b, lineNo);
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

  // ---- the fields of one logical line, written straight into the file's text ----

  void BeginLine(int lineNo) {
    logicalLine_ = lineNo;
    logicalBytes_ = 0;
    lineText_ = out_->text.size();
    lineFirst_ = out_->fields.size();
    out_->fields.push_back(InfField());  // the key's place
    fieldStart_ = keep_ = lineText_;
    values_ = 0;
    quoted_ = haveKey_ = missingKey_ = tooMany_ = solid_ = false;
  }

  // Each piece has balanced quotes; '"', ',' and '=' are never trail bytes.
  void Feed(const char* p, const char* end) {
    std::string& text = out_->text;
    while (p < end) {
      const char c = *p;
      if (c == '"') {
        quoted_ = true;
        for (++p;;) {
          const char* close = static_cast<const char*>(std::memchr(p, '"', end - p));
          text.append(p, close);
          p = close + 1;
          if (p == end || *p != '"') break;
          text.push_back('"');  // "" inside quotes
          ++p;
        }
        keep_ = text.size();  // blanks inside quotes survive trimming
      } else if (c == ',') {
        EndField();
        ++p;
      } else if (c == '=' && !haveKey_ && values_ == 0) {
        const InfField key = TakeField();
        missingKey_ = key.length == 0;
        out_->fields[lineFirst_] = key;
        haveKey_ = true;
        ++p;
      } else if (IsBlank(c) && text.size() == fieldStart_ && !quoted_) {
        ++p;  // a blank before an unquoted field
      } else {
        const char* q = p + 1;
        while (q < end && *q != '"' && *q != ',' && *q != '=') ++q;
        text.append(p, q);
        p = q;
      }
    }
  }

  InfField TakeField() {
    std::string& text = out_->text;
    const std::size_t keep = keep_ > fieldStart_ ? keep_ : fieldStart_;
    while (text.size() > keep && IsBlank(text.back())) text.pop_back();
    const InfField field{static_cast<std::uint32_t>(fieldStart_),
                         static_cast<std::uint32_t>(text.size() - fieldStart_)};
    fieldStart_ = keep_ = text.size();
    quoted_ = false;
    return field;
  }

  void EndField() {
    const InfField field = TakeField();
    if (values_ >= kInfMaxFields) {
      tooMany_ = true;
      return;
    }
    out_->fields.push_back(field);
    ++values_;
  }

  bool EndLine() {
    if (!solid_) {  // nothing but continuations
      out_->text.resize(lineText_);
      out_->fields.resize(lineFirst_);
      return true;
    }
    EndField();
    if (!haveSection_) return Fail(logicalLine_, "line before any section header");
    if (missingKey_) return Fail(logicalLine_, "missing key before '='");
    if (tooMany_) {
      return Fail(logicalLine_,
                  "too many fields (more than " + std::to_string(kInfMaxFields) + ")");
    }
    if (++lineCount_ > kInfMaxLines) {
      return Fail(logicalLine_, "more than " + std::to_string(kInfMaxLines) + " lines");
    }
    std::vector<InfField>& fields = out_->fields;
    // One value and no '=': Windows finds the line by that value.
    if (!haveKey_ && values_ == 1) fields[lineFirst_] = fields[lineFirst_ + 1];
    if (!inStrings_) {
      for (std::size_t i = lineFirst_; i < fields.size(); ++i) {
        if (std::memchr(out_->text.data() + fields[i].offset, '%', fields[i].length)) {
          percent_.push_back({i, logicalLine_});
        }
      }
    }
    InfLine line;
    line.first = static_cast<std::uint32_t>(lineFirst_);
    line.count = static_cast<std::uint32_t>(1 + values_);
    line.line = logicalLine_;
    line.keyed = haveKey_;
    out_->sections[current_].lines.push_back(line);
    return true;
  }

  // ---- [Strings] ----

  bool SubstituteStrings() {
    std::map<std::string, InfField, NoCaseLess> strings;
    const auto section = out_->sectionIndex.find("Strings");
    if (section != out_->sectionIndex.end()) {
      for (const InfLine& line : out_->sections[section->second].lines) {
        const std::string name = LineKey(*out_, line);
        if (!line.keyed) return Fail(line.line, "string without a name in [Strings]");
        if (line.count > 2) {
          return Fail(line.line, "string '" + name +
                                     "' has more than one value (quote a value holding commas)");
        }
        strings.emplace(name, out_->fields[line.first + 1]);
      }
    }
    for (const auto& at : percent_) {
      if (!Substitute(strings, &out_->fields[at.first])) {
        return Fail(at.second, "text after string substitution larger than " +
                                   std::to_string(maxText_) + " bytes");
      }
    }
    return true;
  }

  // Replaces %name% and %% in the field; the new text goes to the end.
  bool Substitute(const std::map<std::string, InfField, NoCaseLess>& strings, InfField* field) {
    std::string& text = out_->text;
    const std::string in = text.substr(field->offset, field->length);
    std::string result;
    std::size_t i = 0;
    while (i < in.size()) {
      const std::size_t open = in.find('%', i);
      const std::size_t close = open == std::string::npos ? open : in.find('%', open + 1);
      if (close == std::string::npos) {
        result.append(in, i, std::string::npos);
        break;
      }
      result.append(in, i, open - i);
      const auto found = strings.find(in.substr(open + 1, close - open - 1));
      if (close == open + 1) {
        result += '%';
      } else if (found != strings.end()) {
        result.append(text, found->second.offset, found->second.length);
      } else {
        result.append(in, open, close - open + 1);
      }
      if (result.size() > maxText_) return false;
      i = close + 1;
    }
    if (text.size() + result.size() > maxText_) return false;
    field->offset = static_cast<std::uint32_t>(text.size());
    field->length = static_cast<std::uint32_t>(result.size());
    text += result;
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
  std::size_t logicalBytes_ = 0;
  std::size_t lineCount_ = 0;
  std::size_t maxText_ = 0;
  // The logical line being read.
  std::size_t lineText_ = 0, lineFirst_ = 0, fieldStart_ = 0, keep_ = 0, values_ = 0;
  bool quoted_ = false, haveKey_ = false, missingKey_ = false, tooMany_ = false, solid_ = false;
  std::vector<std::pair<std::size_t, int>> percent_;  // fields holding '%', with their line
};

}  // namespace

std::string InfError::Text() const {
  if (line <= 0) return file + ": " + message;
  return file + "(" + std::to_string(line) + "): " + message;
}

bool ParseInfText(const char* data, std::size_t size, const std::string& fileName, InfFile* out,
                  InfError* err, LeadBytePredicate isLead) {
  *out = InfFile();
  *err = InfError();
  InfFile parsed;
  if (size > kInfMaxFileBytes) {
    err->file = fileName;
    err->message = "file is larger than " + std::to_string(kInfMaxFileBytes) + " bytes";
    return false;
  }
  Parser parser(fileName, isLead, err, &parsed);
  if (!parser.Run(data, size)) return false;
  parsed.path = fileName;
  *out = std::move(parsed);
  return true;
}

bool LoadInfFile(const std::string& path, InfFile* out, InfError* err, LeadBytePredicate isLead,
                 WideToAnsi toAnsi) {
  *out = InfFile();
  *err = InfError();
  err->file = path;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    err->message = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  std::string data;
  bool readFailed = size < 0 || std::fseek(file, 0, SEEK_SET) != 0;
  if (!readFailed && static_cast<unsigned long>(size) <= kInfMaxFileBytes) {
    data.resize(static_cast<std::size_t>(size));
    readFailed = std::fread(&data[0], 1, data.size(), file) != data.size();
  }
  std::fclose(file);
  if (readFailed) {
    err->message = "read error";
    return false;
  }
  if (static_cast<unsigned long>(size) > kInfMaxFileBytes) {
    err->message = "file is larger than " + std::to_string(kInfMaxFileBytes) + " bytes";
    return false;
  }
  std::string text, problem;
  if (!DecodeInfBytes(data.data(), data.size(), toAnsi, &text, &problem)) {
    err->message = problem;
    return false;
  }
  return ParseInfText(text.data(), text.size(), path, out, err, isLead);
}

const InfSection* FindSection(const InfFile& inf, const std::string& name) {
  const auto found = inf.sectionIndex.find(name);
  return found == inf.sectionIndex.end() ? nullptr : &inf.sections[found->second];
}

const InfLine* FindLine(const InfFile& inf, const InfSection& section, const std::string& key) {
  auto keyOf = [&inf, &section](std::uint32_t i) {
    return inf.fields[section.lines[i].first];
  };
  auto less = [&inf](const InfField& a, const char* b, std::size_t bn) {
    return CompareNoCase(inf.text.data() + a.offset, a.length, b, bn) < 0;
  };
  if (section.byKey.size() != section.lines.size()) {
    section.byKey.resize(section.lines.size());
    std::iota(section.byKey.begin(), section.byKey.end(), 0u);
    std::stable_sort(section.byKey.begin(), section.byKey.end(),
                     [&](std::uint32_t a, std::uint32_t b) {
                       const InfField kb = keyOf(b);
                       return less(keyOf(a), inf.text.data() + kb.offset, kb.length);
                     });
  }
  const auto at = std::lower_bound(
      section.byKey.begin(), section.byKey.end(), key,
      [&](std::uint32_t i, const std::string& k) { return less(keyOf(i), k.data(), k.size()); });
  if (at == section.byKey.end()) return nullptr;
  const InfField found = keyOf(*at);
  if (CompareNoCase(inf.text.data() + found.offset, found.length, key.data(), key.size()) != 0) {
    return nullptr;
  }
  return &section.lines[*at];
}

bool FieldView(const InfFile& inf, const InfLine& line, int n, const char** text,
               std::size_t* length) {
  if (n < 0 || static_cast<std::uint32_t>(n) >= line.count) return false;
  const InfField& field = inf.fields[line.first + static_cast<std::uint32_t>(n)];
  *text = inf.text.data() + field.offset;
  *length = field.length;
  return true;
}

bool GetField(const InfFile& inf, const InfLine& line, int n, std::string* out) {
  const char* text = nullptr;
  std::size_t length = 0;
  if (!FieldView(inf, line, n, &text, &length)) return false;
  out->assign(text, length);
  return true;
}

std::string LineKey(const InfFile& inf, const InfLine& line) {
  std::string key;
  GetField(inf, line, 0, &key);
  return key;
}

}  // namespace stf
