#include "disk_manifest.h"

#include <algorithm>

#include "ansi_text.h"

namespace stf {
namespace {

bool ParseSize(const std::string& text, std::uint64_t* out) {
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  *out = value;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Lower case only, as sha256sum prints it.
bool ParseDigest(const std::string& text, unsigned char* out) {
  if (text.size() != 2 * kSha256Size) return false;
  for (std::size_t i = 0; i < kSha256Size; ++i) {
    const int high = HexDigit(text[2 * i]), low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<unsigned char>(high * 16 + low);
  }
  return true;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

bool ParseEntry(const std::string& line, ManifestEntry* e) {
  const std::vector<std::string> f = Fields(line);
  if (f.size() != 3 && f.size() != 5) return false;
  e->name = f[0];
  e->packed = f.size() == 5;
  return !e->name.empty() && ParseSize(f[1], &e->size) && ParseDigest(f[2], e->digest) &&
         (!e->packed || (ParseSize(f[3], &e->expandedSize) && ParseDigest(f[4], e->expandedDigest)));
}

bool SameDigest(const unsigned char* a, const unsigned char* b) {
  unsigned char differ = 0;
  for (std::size_t i = 0; i < kSha256Size; ++i) differ |= a[i] ^ b[i];
  return differ == 0;
}

// ASCII case only, as the names of the disk's files are compared.
int CompareNoCase(const std::string& a, const std::string& b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = ToUpperAscii(a[i]), y = ToUpperAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

bool ParseRecordedBytes(const std::string& text, std::uint64_t* size,
                        unsigned char digest[kSha256Size]) {
  const std::size_t space = 2 * kSha256Size;
  return text.size() > space + 1 && text[space] == ' ' &&
         ParseDigest(text.substr(0, space), digest) && ParseSize(text.substr(space + 1), size);
}

bool ParseManifest(const char* text, std::size_t size, DiskManifest* out, std::string* problem) {
  *out = DiskManifest();
  std::size_t end = 0;
  while (end < size && text[end] != '\0') ++end;
  for (std::size_t i = end; i < size; ++i) {
    if (text[i] != '\0') {
      *problem = "text after the end of the manifest";
      return false;
    }
  }
  std::size_t at = 0, number = 0;
  while (at < end) {
    std::size_t next = at;
    while (next < end && text[next] != '\n') ++next;
    std::string line(text + at, next - at);
    at = next + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1) {
      if (line != kManifestHeader) {
        *problem = "it does not begin with \"" + std::string(kManifestHeader) + "\"";
        return false;
      }
      continue;
    }
    if (line.empty()) continue;
    ManifestEntry entry;
    if (!ParseEntry(line, &entry)) {
      *problem = "line " + std::to_string(number) + " is not a file's name, size and SHA-256";
      *out = DiskManifest();
      return false;
    }
    out->entries.push_back(entry);
  }
  if (number == 0) {
    *problem = "it is empty";
    return false;
  }
  // An index by name: a disk of thousands of files is looked up in each of
  // them. Put in place one by one, as the build writes the names in this
  // order already.
  const std::vector<ManifestEntry>& entries = out->entries;
  std::vector<std::size_t>& order = out->byName;
  order.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& name = entries[i].name;
    std::size_t j = i;
    for (; j > 0 && CompareNoCase(entries[order[j - 1]].name, name) > 0; --j) order[j] = order[j - 1];
    order[j] = i;
    if (j > 0 && CompareNoCase(entries[order[j - 1]].name, name) == 0) {
      *problem = "it names " + name + " twice";
      *out = DiskManifest();
      return false;
    }
  }
  return true;
}

const ManifestEntry* FindManifestEntry(const DiskManifest& manifest, const std::string& name) {
  const std::vector<ManifestEntry>& entries = manifest.entries;
  auto found = std::lower_bound(manifest.byName.begin(), manifest.byName.end(), name,
                                [&entries](std::size_t i, const std::string& wanted) {
                                  return CompareNoCase(entries[i].name, wanted) < 0;
                                });
  if (found == manifest.byName.end() || CompareNoCase(entries[*found].name, name) != 0) return nullptr;
  return &entries[*found];
}

void LandingOf(const ManifestEntry& entry, std::uint64_t* size, const unsigned char** digest) {
  *size = entry.packed ? entry.expandedSize : entry.size;
  *digest = entry.packed ? entry.expandedDigest : entry.digest;
}

ManifestMatch MatchManifest(const DiskManifest& manifest, const std::string& name,
                            std::uint64_t size, const unsigned char digest[kSha256Size],
                            bool landed) {
  const ManifestEntry* e = FindManifestEntry(manifest, name);
  if (e == nullptr) return ManifestMatch::kUnlisted;
  std::uint64_t wantSize = e->size;
  const unsigned char* want = e->digest;
  if (landed) LandingOf(*e, &wantSize, &want);
  return MatchBytes(size, digest, wantSize, want);
}

ManifestMatch MatchBytes(std::uint64_t size, const unsigned char digest[kSha256Size],
                         std::uint64_t wantSize, const unsigned char want[kSha256Size]) {
  return wantSize == size && SameDigest(want, digest) ? ManifestMatch::kMatches
                                                      : ManifestMatch::kDiffers;
}

ManifestDecision DecideManifest(const std::string& path, ManifestMatch match, bool diskSigned,
                                bool setupInformation, bool fromDiskFolder) {
  ManifestDecision d;
  const std::string theFile = "The file " + path;
  switch (match) {
    case ManifestMatch::kMatches:
      d.line = "Matches the disk's manifest: " + path;
      break;
    case ManifestMatch::kUnlisted:
      if (diskSigned) {
        d.action = ManifestAction::kRefuse;
        d.line = theFile + " is not one of the files of the signed installation disk: its "
                           "manifest does not list it";
      } else {
        d.line = "Not in the disk's manifest (a file added to the disk): " + path;
      }
      break;
    case ManifestMatch::kDiffers:
      if (setupInformation && !diskSigned) {
        d.line = "Differs from the disk's manifest (an edited setup information file): " + path;
      } else if (setupInformation && !fromDiskFolder) {
        d.action = ManifestAction::kRefuse;
        d.line = theFile + " in the folder setup was started from differs from the installation "
                           "disk's own: a signed disk is installed only with its own setup.inf. "
                           "Start setup from another folder";
      } else if (diskSigned) {
        d.action = ManifestAction::kRefuse;
        d.line = theFile + " differs from the one the signed installation disk was made with: "
                           "the disk has been changed";
      } else {
        d.action = ManifestAction::kRetry;
        d.line = theFile + " on the installation disk is damaged: its content differs from "
                           "what the disk was made with. Clean the disk or copy it again";
      }
      break;
  }
  return d;
}

std::string NoManifestLine(const std::string& program, const std::string& problem) {
  return program + " is signed but carries no readable list of its disk's files (" + problem +
         "): no file of the disk can be trusted";
}

}  // namespace stf
