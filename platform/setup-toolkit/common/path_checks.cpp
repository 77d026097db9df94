// Path syntax checks and splitting (no file system access).
#include <string>

#include "copy_plan.h"
#include "platform/setup-toolkit/common/common_state.h"

// "X:\..." or "\\server\share\..."; the length of the root, or 0.
static size_t RootLength(const std::string& path) {
  if (path.size() >= 3 && IsCharAlphaA(path[0]) && path[1] == ':' && path[2] == '\\') return 3;
  if (path.rfind("\\\\", 0) == 0) {
    size_t server = path.find('\\', 2);
    if (server == std::string::npos || server == 2) return 0;
    size_t share = path.find('\\', server + 1);
    return share == std::string::npos ? path.size() : share + 1;
  }
  return 0;
}

// Every component after the root is a name a file may have.
static bool ValidComponents(const std::string& path, size_t from, bool allowTrailing) {
  std::string name;
  for (size_t i = from; i <= path.size(); ++i) {
    bool lead = i < path.size() && IsAnsiLeadByte(static_cast<unsigned char>(path[i]));
    if (i == path.size() || (path[i] == '\\' && !(i > from && lead))) {
      if (name.empty()) {
        if (i == path.size() && allowTrailing) return true;
        if (i == path.size() && from == path.size()) return true;  // the root alone
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

extern "C" {

BOOL STFAPI FValidPath(LPCSTR path) {
  if (path == nullptr) return FALSE;
  std::string p = path;
  size_t root = RootLength(p);
  return root != 0 && p.size() <= stf::kMaxPathBytes && ValidComponents(p, root, false);
}

BOOL STFAPI FValidDir(LPCSTR dir) {
  if (dir == nullptr) return FALSE;
  std::string p = dir;
  size_t root = RootLength(p);
  return root != 0 && p.size() <= stf::kMaxPathBytes && ValidComponents(p, root, true);
}

BOOL STFAPI FParsePathIntoPieces(LPCSTR path, LPSTR vol, INT cbVol, LPSTR dir, INT cbDir,
                                 LPSTR file, INT cbFile) {
  if (!FValidPath(path)) return FALSE;
  std::string p = path;
  size_t root = RootLength(p);
  // The last real backslash: a trail byte 0x5C is not one.
  size_t lastSlash = root - 1;
  for (size_t i = root; i < p.size(); ++i) {
    if (IsAnsiLeadByte(static_cast<unsigned char>(p[i]))) {
      ++i;
    } else if (p[i] == '\\') {
      lastSlash = i;
    }
  }
  std::string volume = p.substr(0, root - 1);
  std::string directory = p.substr(root - 1, lastSlash - (root - 1) + 1);
  std::string name = p.substr(lastSlash + 1);
  if (vol && CopyOut(volume, vol, cbVol) >= cbVol) return FALSE;
  if (dir && CopyOut(directory, dir, cbDir) >= cbDir) return FALSE;
  if (file && CopyOut(name, file, cbFile) >= cbFile) return FALSE;
  return TRUE;
}

}  // extern "C"
