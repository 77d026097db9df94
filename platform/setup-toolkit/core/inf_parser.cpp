#include "inf_parser.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>

namespace stf {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const char* b, const char* e) {
  while (b < e && IsBlank(*b)) ++b;
  while (e > b && IsBlank(e[-1])) --e;
  return std::string(b, e);
}

// Splits one logical line into fields. It is fed the physical pieces of a
// continued line one by one; each piece has balanced quotes, so a quoted run
// never spans two pieces.
class FieldSplitter {
 public:
  void Feed(const char* p, const char* end) {
    while (p < end) {
      const char c = *p++;
      if (c == '"') {
        quoted_ = true;
        any_ = true;
        while (p < end) {
          if (*p == '"') {
            if (end - p >= 2 && p[1] == '"') {
              current_ += '"';
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          current_ += *p++;
        }
        keep_ = current_.size();  // blanks inside quotes survive trimming
      } else if (c == ',') {
        EndField();
      } else if (c == '=' && !haveKey_ && values_.empty()) {
        key_ = TakeField();
        if (key_.empty()) missingKey_ = true;
        haveKey_ = true;
      } else if (IsBlank(c) && current_.empty() && !quoted_) {
        // leading blank of an unquoted field
      } else {
        if (!IsBlank(c)) any_ = true;
        current_ += c;
      }
    }
  }

  // Nothing but blanks so far: the line is empty.
  bool Empty() const { return !any_ && !haveKey_ && values_.empty(); }

  bool Finish(InfLine* out, std::string* problem) {
    EndField();
    if (missingKey_) {
      *problem = "missing key before '='";
      return false;
    }
    if (tooMany_) {
      *problem = "too many fields (more than " + std::to_string(kInfMaxFields) + ")";
      return false;
    }
    out->fields.clear();
    out->fields.push_back(key_);
    for (std::string& v : values_) out->fields.push_back(std::move(v));
    out->key = key_;
    return true;
  }

 private:
  std::string TakeField() {
    while (current_.size() > keep_ && IsBlank(current_.back())) current_.pop_back();
    std::string field = std::move(current_);
    current_.clear();
    keep_ = 0;
    quoted_ = false;
    return field;
  }

  void EndField() {
    std::string field = TakeField();
    if (values_.size() >= kInfMaxFields) {
      tooMany_ = true;
      return;
    }
    values_.push_back(std::move(field));
  }

  std::vector<std::string> values_;
  std::string key_;
  std::string current_;
  std::size_t keep_ = 0;
  bool quoted_ = false;
  bool any_ = false;
  bool haveKey_ = false;
  bool missingKey_ = false;
  bool tooMany_ = false;
};

class Parser {
 public:
  Parser(const std::string& fileName, LeadBytePredicate isLead, InfError* err)
      : fileName_(fileName), isLead_(isLead), err_(err) {}

  bool Run(const char* data, std::size_t size, InfFile* out) {
    if (size > kInfMaxFileBytes) {
      return Fail(0, "file is larger than " + std::to_string(kInfMaxFileBytes) + " bytes");
    }
    const char* p = data;
    const char* end = data + size;
    if (size >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    int lineNo = 0;
    while (p < end) {
      const char* newline = static_cast<const char*>(std::memchr(p, '\n', end - p));
      const char* lineEnd = newline != nullptr ? newline : end;
      const char* contentEnd = lineEnd;
      if (contentEnd > p && contentEnd[-1] == '\r') --contentEnd;
      if (!PhysicalLine(p, contentEnd, ++lineNo)) return false;
      p = newline != nullptr ? newline + 1 : end;
    }
    if (continuing_) return Fail(continuationLine_, "line continuation at end of file");
    if (!SubstituteStrings()) return false;
    out->path = fileName_;
    out->sections = std::move(sections_);
    return true;
  }

 private:
  bool Fail(int line, const std::string& message) {
    err_->file = fileName_;
    err_->line = line;
    err_->message = message;
    return false;
  }

  bool PhysicalLine(const char* b, const char* e, int lineNo) {
    if (static_cast<std::size_t>(e - b) > kInfMaxLineBytes) {
      return Fail(lineNo, "line longer than " + std::to_string(kInfMaxLineBytes) + " bytes");
    }
    for (const char* q = b; q < e; ++q) {
      const unsigned char c = static_cast<unsigned char>(*q);
      if (c == 0) return Fail(lineNo, "NUL byte in text");
      if ((c < 0x20 && c != '\t') || c == 0x7F) {
        char message[40];
        std::snprintf(message, sizeof message, "control byte 0x%02X in text", c);
        return Fail(lineNo, message);
      }
    }
    if (!continuing_) {
      const char* q = b;
      while (q < e && IsBlank(*q)) ++q;
      if (q < e && *q == '[') return SectionHeader(q + 1, e, lineNo);
    }

    // Find where a comment starts and whether the line ends in a continuation.
    bool inQuote = false;
    const char* contentEnd = e;
    const char* last = nullptr;  // last non-blank character before the comment
    std::size_t lastLength = 0;
    for (const char* q = b; q < e;) {
      if (*q == ';' && !inQuote) {
        contentEnd = q;
        break;
      }
      if (*q == '"') inQuote = !inQuote;
      const std::size_t length = CharLength(q, e, isLead_);
      if (!IsBlank(*q)) {
        last = q;
        lastLength = length;
      }
      q += length;
    }
    if (inQuote) return Fail(lineNo, "unterminated quoted field");
    const bool continues = last != nullptr && lastLength == 1 && *last == '\\';
    const char* pieceEnd = continues ? last : contentEnd;

    if (!continuing_) {
      splitter_ = FieldSplitter();
      logicalBytes_ = 0;
      logicalLine_ = lineNo;
    }
    logicalBytes_ += static_cast<std::size_t>(pieceEnd - b);
    if (logicalBytes_ > kInfMaxLineBytes) {
      return Fail(lineNo,
                  "continued line longer than " + std::to_string(kInfMaxLineBytes) + " bytes");
    }
    splitter_.Feed(b, pieceEnd);
    continuing_ = continues;
    if (continues) {
      continuationLine_ = lineNo;
      return true;
    }
    return EndLogicalLine();
  }

  bool SectionHeader(const char* q, const char* e, int lineNo) {
    const char* nameStart = q;
    while (q < e && *q != ']') q += CharLength(q, e, isLead_);
    if (q >= e) return Fail(lineNo, "section header without closing ']'");
    const std::string name = Trim(nameStart, q);
    if (name.empty()) return Fail(lineNo, "empty section name");
    for (++q; q < e && IsBlank(*q); ++q) {
    }
    if (q < e && *q != ';') return Fail(lineNo, "unexpected text after section header");

    auto found = sectionIndex_.find(name);
    if (found != sectionIndex_.end()) {
      current_ = found->second;
    } else {
      current_ = sections_.size();
      sectionIndex_.emplace(name, current_);
      InfSection section;
      section.name = name;
      section.line = lineNo;
      sections_.push_back(std::move(section));
    }
    haveSection_ = true;
    return true;
  }

  bool EndLogicalLine() {
    if (splitter_.Empty()) return true;
    if (!haveSection_) return Fail(logicalLine_, "line before any section header");
    if (++lineCount_ > kInfMaxLines) {
      return Fail(logicalLine_, "more than " + std::to_string(kInfMaxLines) + " lines");
    }
    InfLine line;
    line.line = logicalLine_;
    std::string problem;
    if (!splitter_.Finish(&line, &problem)) return Fail(logicalLine_, problem);
    sections_[current_].lines.push_back(std::move(line));
    return true;
  }

  bool SubstituteStrings() {
    std::map<std::string, std::string, NoCaseLess> strings;
    auto stringsSection = sectionIndex_.find("Strings");
    if (stringsSection != sectionIndex_.end()) {
      for (const InfLine& line : sections_[stringsSection->second].lines) {
        if (line.key.empty()) return Fail(line.line, "string without a name in [Strings]");
        if (line.fields.size() > 2) {
          return Fail(line.line, "string '" + line.key +
                                     "' has more than one value (quote a value holding commas)");
        }
        strings.emplace(line.key, line.fields[1]);
      }
    }
    std::size_t total = 0;
    for (std::size_t s = 0; s < sections_.size(); ++s) {
      if (stringsSection != sectionIndex_.end() && s == stringsSection->second) continue;
      for (InfLine& line : sections_[s].lines) {
        for (std::string& field : line.fields) {
          if (!Substitute(strings, &field, &total)) {
            return Fail(line.line, "text after string substitution larger than " +
                                       std::to_string(kInfMaxTextBytes) + " bytes");
          }
        }
        line.key = line.fields[0];
      }
    }
    return true;
  }

  // Replaces %name% and %% in *field; false when *total would pass the limit.
  static bool Substitute(const std::map<std::string, std::string, NoCaseLess>& strings,
                         std::string* field, std::size_t* total) {
    if (field->find('%') == std::string::npos) {
      *total += field->size();
      return *total <= kInfMaxTextBytes;
    }
    std::string result;
    const std::string& in = *field;
    std::size_t i = 0;
    while (i < in.size()) {
      const std::size_t open = in.find('%', i);
      const std::size_t close = open == std::string::npos ? open : in.find('%', open + 1);
      if (close == std::string::npos) {
        result.append(in, i, std::string::npos);
        break;
      }
      result.append(in, i, open - i);
      const std::string name = in.substr(open + 1, close - open - 1);
      const auto found = strings.find(name);
      if (name.empty()) {
        result += '%';
      } else if (found != strings.end()) {
        if (*total + result.size() + found->second.size() > kInfMaxTextBytes) return false;
        result += found->second;
      } else {
        result.append(in, open, close - open + 1);
      }
      i = close + 1;
    }
    *total += result.size();
    if (*total > kInfMaxTextBytes) return false;
    *field = std::move(result);
    return true;
  }

  std::string fileName_;
  LeadBytePredicate isLead_;
  InfError* err_;
  std::vector<InfSection> sections_;
  std::map<std::string, std::size_t, NoCaseLess> sectionIndex_;
  std::size_t current_ = 0;
  bool haveSection_ = false;
  FieldSplitter splitter_;
  bool continuing_ = false;
  int continuationLine_ = 0;
  int logicalLine_ = 0;
  std::size_t logicalBytes_ = 0;
  std::size_t lineCount_ = 0;
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
  Parser parser(fileName, isLead, err);
  if (!parser.Run(data, size, &parsed)) return false;
  *out = std::move(parsed);
  return true;
}

bool LoadInfFile(const std::string& path, InfFile* out, InfError* err, LeadBytePredicate isLead) {
  *out = InfFile();
  *err = InfError();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    const int code = errno;
    err->file = path;
    err->message = std::string("cannot open: ") + std::strerror(code);
    return false;
  }
  // One byte past the limit is enough to tell that the file is too large.
  std::string data(kInfMaxFileBytes + 1, '\0');
  const std::size_t got = std::fread(&data[0], 1, data.size(), file);
  const bool readFailed = std::ferror(file) != 0;
  std::fclose(file);
  if (readFailed) {
    err->file = path;
    err->message = "read error";
    return false;
  }
  return ParseInfText(data.data(), got, path, out, err, isLead);
}

const InfSection* FindSection(const InfFile& inf, const std::string& name) {
  for (const InfSection& section : inf.sections) {
    if (EqualsNoCase(section.name, name)) return &section;
  }
  return nullptr;
}

const InfLine* FindLine(const InfSection& section, const std::string& key) {
  for (const InfLine& line : section.lines) {
    if (EqualsNoCase(line.key, key)) return &line;
  }
  return nullptr;
}

bool GetField(const InfLine& line, int n, std::string* out) {
  if (n < 0 || static_cast<std::size_t>(n) >= line.fields.size()) return false;
  *out = line.fields[static_cast<std::size_t>(n)];
  return true;
}

}  // namespace stf
