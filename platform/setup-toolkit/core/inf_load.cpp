// Reading an INF file, or the bytes of one, in any of the encodings INF files
// come in: what the parser is handed is the ANSI text.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "inf_encoding.h"
#include "inf_parser.h"

namespace stf {

bool LoadInfFile(const std::string& path, InfFile* out, InfError* err, LeadBytePredicate isLead,
                 WideToAnsi toAnsi, const InfDirectoryIds* dirs) {
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
  bool readFailed = size < 0 || std::fseek(file, 0, SEEK_SET) != 0;
  const bool tooLarge = !readFailed && static_cast<unsigned long>(size) > kInfMaxFileBytes;
  std::string data;
  if (!readFailed && !tooLarge) {
    data.resize(static_cast<std::size_t>(size));
    readFailed = std::fread(&data[0], 1, data.size(), file) != data.size();
  }
  std::fclose(file);
  if (readFailed || tooLarge) {
    err->message = readFailed ? std::string("read error")
                              : "file is larger than " + std::to_string(kInfMaxFileBytes) + " bytes";
    return false;
  }
  return LoadInfBytes(std::move(data), path, out, err, isLead, toAnsi, dirs);
}

bool LoadInfBytes(std::string data, const std::string& path, InfFile* out, InfError* err,
                  LeadBytePredicate isLead, WideToAnsi toAnsi, const InfDirectoryIds* dirs) {
  *out = InfFile();
  *err = InfError();
  err->file = path;
  if (data.size() > kInfMaxFileBytes) {
    err->message = "file is larger than " + std::to_string(kInfMaxFileBytes) + " bytes";
    return false;
  }
  if (DetectInfEncoding(data.data(), data.size()) != InfEncoding::kAnsi) {
    std::string text, problem;
    if (!DecodeInfBytes(data.data(), data.size(), toAnsi, &text, &problem)) {
      err->message = problem;
      return false;
    }
    data.swap(text);
  }
  return ParseInfSource(std::move(data), path, out, err, isLead, dirs);
}

}  // namespace stf
