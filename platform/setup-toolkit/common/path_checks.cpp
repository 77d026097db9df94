// Path syntax checks and splitting (no file system access).
#include <string>

#include "copy_plan.h"
#include "platform/setup-toolkit/common/common_state.h"

// Index of the next real backslash at or after from (a trail byte 0x5C of a
// double-byte character is not one), or npos.
static size_t NextBackslash(const std::string& path, size_t from) {
  for (size_t i = from; i < path.size(); ++i) {
    if (IsAnsiLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\') {
      return i;
    }
  }
  return std::string::npos;
}

// "X:\..." or "\\server\share..."; the length of the root including the
// backslash that ends it (a bare "\\server\share" counts one past its end), or 0.
static size_t RootLength(const std::string& path) {
  // Drive letters are A to Z only, whatever else the code page calls a letter.
  char drive = path.empty() ? '\0' : static_cast<char>(path[0] & ~0x20);
  if (path.size() >= 3 && drive >= 'A' && drive <= 'Z' && path[1] == ':' && path[2] == '\\') {
    return 3;
  }
  if (path.rfind("\\\\", 0) == 0) {
    size_t server = NextBackslash(path, 2);
    if (server == std::string::npos || server == 2) return 0;
    size_t share = NextBackslash(path, server + 1);
    if (share == server + 1 || server + 1 == path.size()) return 0;  // no share name
    return share == std::string::npos ? path.size() + 1 : share + 1;
  }
  return 0;
}

// Every component after the root is a name a file may have.
static bool ValidComponents(const std::string& path, size_t from, bool allowTrailing) {
  if (from >= path.size()) return true;  // the root alone
  std::string name;
  for (size_t i = from; i <= path.size(); ++i) {
    bool lead = i < path.size() && IsAnsiLeadByte(static_cast<unsigned char>(path[i]));
    if (i == path.size() || (path[i] == '\\' && !(i > from && lead))) {
      if (name.empty()) {
        if (i == path.size() && allowTrailing) return true;
        return false;
      }
      std::string problem;
      if (!stf::IsSafeFileName(name, IsAnsiLeadByte, &problem)) return false;
      name.clear();
      continue;
    }
    name += path[i];
    if (lead && i + 1 < path.size()) name += path[++i];
  }
  return true;
}

// The server and share names of a UNC root are names like any other.
static bool ValidRoot(const std::string& path, size_t root) {
  if (root == 0) return false;
  if (root == 3) return true;
  return ValidComponents(path.substr(0, root - 1), 2, false);
}

extern "C" {

BOOL STFAPI FValidPath(LPCSTR path) {
  if (path == nullptr) return FALSE;
  std::string p = path;
  size_t root = RootLength(p);
  return ValidRoot(p, root) && p.size() <= stf::kMaxPathBytes && ValidComponents(p, root, false);
}

BOOL STFAPI FValidDir(LPCSTR dir) {
  if (dir == nullptr) return FALSE;
  std::string p = dir;
  size_t root = RootLength(p);
  return ValidRoot(p, root) && p.size() <= stf::kMaxPathBytes && ValidComponents(p, root, true);
}

BOOL STFAPI FParsePathIntoPieces(LPCSTR path, LPSTR vol, INT cbVol, LPSTR dir, INT cbDir,
                                 LPSTR file, INT cbFile) {
  if (!FValidPath(path)) return FALSE;
  std::string p = path;
  size_t root = RootLength(p);
  std::string volume, directory, name;
  if (root > p.size()) {
    volume = p;  // "\\server\share": the volume alone, its root directory
    directory = "\\";
  } else {
    // The last real backslash: a trail byte 0x5C is not one.
    size_t lastSlash = root - 1;
    for (size_t at = NextBackslash(p, root); at != std::string::npos;
         at = NextBackslash(p, at + 1)) {
      lastSlash = at;
    }
    volume = p.substr(0, root - 1);
    directory = p.substr(root - 1, lastSlash - (root - 1) + 1);
    name = p.substr(lastSlash + 1);
  }
  if (vol && CopyOut(volume, vol, cbVol) >= cbVol) return FALSE;
  if (dir && CopyOut(directory, dir, cbDir) >= cbDir) return FALSE;
  if (file && CopyOut(name, file, cbFile) >= cbFile) return FALSE;
  return TRUE;
}

}  // extern "C"
