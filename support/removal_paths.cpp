#include "support/removal_paths.h"

#include "support/path_join.h"

static const int kPathLimit = 512;

// The path without a trailing backslash, in `out`; false when it does not fit.
static bool Trimmed(LPCSTR path, char (&out)[kPathLimit]) {
  if (path == nullptr || lstrlenA(path) >= kPathLimit) return false;
  lstrcpyA(out, path);
  StripTrailingBackslash(out);
  return true;
}

bool SameDirectory(LPCSTR a, LPCSTR b) {
  char left[kPathLimit], right[kPathLimit];
  return Trimmed(a, left) && Trimmed(b, right) && lstrcmpiA(left, right) == 0;
}

// Is `outer` (no trailing backslash) `inner` or a directory above it?
static bool IsAtOrAbove(LPCSTR outer, LPCSTR inner) {
  char below[kPathLimit];
  if (!Trimmed(inner, below) || below[0] == '\0') return false;
  const int length = lstrlenA(outer);
  if (lstrlenA(below) < length) return false;
  const char after = below[length];
  if (after != '\0' && after != '\\') return false;
  below[length] = '\0';  // a cut at a single-byte backslash: no character is split
  return lstrcmpiA(below, outer) == 0;
}

// Checks each part after "X:\": none empty, "." or "..", none with a wildcard
// or a colon (a stream). `last` gets the start of the final part.
static bool PlainParts(LPCSTR parts, LPCSTR* last) {
  LPCSTR part = parts;
  for (LPCSTR p = parts;; p = CharNextA(p)) {
    if (*p == '\\' || *p == '\0') {
      const int length = static_cast<int>(p - part);
      if (length == 0) return false;
      if (part[0] == '.' && (length == 1 || (length == 2 && part[1] == '.'))) return false;
      *last = part;
      if (*p == '\0') return true;
      part = p + 1;
    } else if (*p == '*' || *p == '?' || *p == ':' || *p == '/') {
      return false;
    }
  }
}

FolderVerdict JudgeProductFolder(LPCSTR folder, LPCSTR productFolderName,
                                 const ProtectedDirs& dirs) {
  char path[kPathLimit];
  if (!Trimmed(folder, path)) return kFolderNotFull;
  const char drive = path[0];
  const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  if (!letter || path[1] != ':') return kFolderNotFull;
  if (path[2] == '\0') return lstrlenA(folder) == 3 ? kFolderRoot : kFolderNotFull;
  if (path[2] != '\\') return kFolderNotFull;  // "C:folder": relative to the drive's current folder
  LPCSTR last = nullptr;
  if (!PlainParts(path + 3, &last)) return kFolderOddName;
  const LPCSTR protectedDirs[] = {dirs.windowsDir, dirs.systemDir, dirs.programFilesDir};
  for (LPCSTR dir : protectedDirs) {
    if (dir != nullptr && IsAtOrAbove(path, dir)) return kFolderSystem;
  }
  return lstrcmpiA(last, productFolderName) == 0 ? kFolderOurs : kFolderNotProducts;
}

LPCSTR FolderVerdictText(FolderVerdict verdict) {
  switch (verdict) {
    case kFolderOurs: return "the product's folder";
    case kFolderNotFull: return "not a full path of a folder on a drive";
    case kFolderRoot: return "the root of a drive";
    case kFolderOddName: return "not a plain folder path";
    case kFolderSystem: return "a directory of Windows itself";
    case kFolderNotProducts: return "not this product's folder";
  }
  return "not this product's folder";
}

bool FileDirectlyIn(LPCSTR file, LPCSTR folder) {
  char dir[kPathLimit];
  if (!Trimmed(folder, dir) || dir[0] == '\0' || file == nullptr) return false;
  const int length = lstrlenA(dir);
  if (lstrlenA(file) <= length + 1 || file[length] != '\\') return false;
  char head[kPathLimit];
  lstrcpyA(head, file);
  head[length] = '\0';
  if (lstrcmpiA(head, dir) != 0) return false;
  LPCSTR name = file + length + 1;
  LPCSTR last = nullptr;
  // One plain part: no further backslash, no "..", no wildcard or stream.
  if (!PlainParts(name, &last) || last != name) return false;
  return true;
}
