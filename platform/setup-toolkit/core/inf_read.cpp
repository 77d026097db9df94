// Finding the sections, lines and fields of a parsed INF file, and expanding its strings.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "dbcs_path.h"
#include "inf_parser.h"

namespace stf {
namespace {

int CompareNoCase(const char* a, std::size_t an, const char* b, std::size_t bn) {
  const std::size_t n = an < bn ? an : bn;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(ToUpperAscii(a[i]));
    const unsigned char y = static_cast<unsigned char>(ToUpperAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return an == bn ? 0 : an < bn ? -1 : 1;
}

const char* TextOf(const InfFile& inf, const InfField& field) {
  return (field.processed ? inf.text : inf.source).data() + field.offset;
}

}  // namespace

const InfSection* FindSection(const InfFile& inf, const std::string& name) {
  const auto found = inf.sectionIndex.find(name);
  return found == inf.sectionIndex.end() ? nullptr : &inf.sections[found->second];
}

const InfLine* FindLine(const InfFile& inf, const InfSection& section, const std::string& key) {
  auto keyOf = [&inf, &section](std::uint32_t i) -> const InfField& {
    return inf.fields[section.lines[i].first];
  };
  auto less = [&inf](const InfField& a, const char* b, std::size_t bn) {
    return CompareNoCase(TextOf(inf, a), a.length, b, bn) < 0;
  };
  if (section.byKey.size() != section.lines.size()) {
    section.byKey.resize(section.lines.size());
    std::iota(section.byKey.begin(), section.byKey.end(), 0u);
    std::stable_sort(section.byKey.begin(), section.byKey.end(),
                     [&](std::uint32_t a, std::uint32_t b) {
                       const InfField& kb = keyOf(b);
                       return less(keyOf(a), TextOf(inf, kb), kb.length);
                     });
  }
  const auto at = std::lower_bound(
      section.byKey.begin(), section.byKey.end(), key,
      [&](std::uint32_t i, const std::string& k) { return less(keyOf(i), k.data(), k.size()); });
  if (at == section.byKey.end()) return nullptr;
  const InfField& found = keyOf(*at);
  if (CompareNoCase(TextOf(inf, found), found.length, key.data(), key.size()) != 0) {
    return nullptr;
  }
  return &section.lines[*at];
}

// The replacement of a %name% that [Strings] does not define: a directory
// id's directory, without its trailing backslash when one follows the id.
static bool DirectoryOf(const InfFile& inf, const char* name, const char* close, const char* end,
                        std::string* out) {
  long id = 0;
  std::string dir;
  if (!ParseDirectoryId(name, close - name, &id) || !LookUpDirectoryId(inf.directories, id, &dir)) {
    return false;
  }
  const bool dropSlash = close + 1 < end && close[1] == '\\' && EndsWithBackslash(dir, inf.isLead);
  out->append(dir, 0, dir.size() - (dropSlash ? 1 : 0));
  return true;
}

void ExpandStrings(const InfFile& inf, const char* text, std::size_t length, std::string* out) {
  out->clear();
  std::string name;
  const char* end = text + length;
  for (const char* p = text; p < end;) {
    const char* open = static_cast<const char*>(std::memchr(p, '%', end - p));
    const char* close =
        open ? static_cast<const char*>(std::memchr(open + 1, '%', end - open - 1)) : nullptr;
    if (close == nullptr) {
      out->append(p, end);
      break;
    }
    out->append(p, open);
    name.assign(open + 1, close);
    for (char& c : name) c = ToUpperAscii(c);
    const auto found = inf.strings.find(name);
    if (close == open + 1) {
      *out += '%';
    } else if (found != inf.strings.end()) {
      out->append(TextOf(inf, found->second), found->second.length);
    } else if (!DirectoryOf(inf, open + 1, close, end, out)) {
      out->append(open, close + 1);  // not defined: stays as written
    }
    p = close + 1;
  }
  if (out->size() > kInfMaxFieldChars) {
    out->resize(CharPrefix(out->data(), out->size(), kInfMaxFieldChars, inf.isLead));
  }
}

bool FieldView(const InfFile& inf, const InfLine& line, int n, std::string* scratch,
               const char** text, std::size_t* length) {
  if (n < 0 || static_cast<std::uint32_t>(n) >= line.count) return false;
  const InfField& field = inf.fields[line.first + static_cast<std::uint32_t>(n)];
  if (!field.strings) {
    *text = TextOf(inf, field);
    *length = field.length;
    return true;
  }
  ExpandStrings(inf, TextOf(inf, field), field.length, scratch);
  *text = scratch->data();
  *length = scratch->size();
  return true;
}

bool GetField(const InfFile& inf, const InfLine& line, int n, std::string* out) {
  std::string scratch;
  const char* text = nullptr;
  std::size_t length = 0;
  if (!FieldView(inf, line, n, &scratch, &text, &length)) return false;
  if (text == scratch.data()) {
    out->swap(scratch);
  } else {
    out->assign(text, length);
  }
  return true;
}

std::string LineKey(const InfFile& inf, const InfLine& line) {
  std::string key;
  GetField(inf, line, 0, &key);
  return key;
}

}  // namespace stf
