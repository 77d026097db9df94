#include "support/install_record.h"

const char kInstalledFilesValue[] = "InstalledFiles";
const char kInstalledFoldersValue[] = "InstalledFolders";
const char kDisplayVersionValue[] = "DisplayVersion";

static bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

std::string PlacedFileItem(const PlacedFile& file) {
  if (!file.hashed) return file.path;
  return file.sha256 + ' ' + std::to_string(file.size) + ' ' + file.path;
}

// "<digest> <size> <path>": the digest and the size are ASCII, so the first
// two blanks part the fields whatever the path's code page.
PlacedFile ReadPlacedFileItem(const std::string& item) {
  PlacedFile bare;
  bare.path = item;
  const std::size_t digits = 64;
  if (item.size() < digits + 3 || item[digits] != ' ') return bare;
  for (std::size_t i = 0; i < digits; ++i) {
    if (!IsHexDigit(item[i])) return bare;
  }
  std::size_t at = digits + 1;
  std::uint64_t size = 0;
  const std::size_t sizeStart = at;
  for (; at < item.size() && item[at] >= '0' && item[at] <= '9'; ++at) {
    const unsigned digit = static_cast<unsigned>(item[at] - '0');
    if (size > (UINT64_MAX - digit) / 10) return bare;
    size = size * 10 + digit;
  }
  if (at == sizeStart || at - sizeStart > 20 || at + 1 >= item.size() || item[at] != ' ') {
    return bare;
  }
  PlacedFile file;
  file.hashed = true;
  file.sha256 = item.substr(0, digits);
  file.size = size;
  file.path = item.substr(at + 1);
  return file;
}

bool SameContent(const PlacedFile& a, const PlacedFile& b) {
  return a.hashed && b.hashed && a.size == b.size && a.sha256 == b.sha256;
}

std::vector<std::string> RegistryStrings(const std::string& bytes) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    if (end == start) break;  // the empty string that ends the list
    items.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

std::string RegistryText(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string PathKey(const std::string& path) {
  std::string key = path;
  for (char& c : key) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return key;
}

std::vector<PlacedFile> RecordedFiles(const std::string& bytes) {
  std::vector<PlacedFile> files;
  for (const std::string& item : RegistryStrings(bytes)) files.push_back(ReadPlacedFileItem(item));
  return files;
}
