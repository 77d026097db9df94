// Path syntax checks and splitting (no file system access), by the core's
// rules (path_syntax.h).
#include <string>

#include "path_syntax.h"
#include "platform/setup-toolkit/common/common_state.h"

extern "C" {

BOOL STFAPI FValidPath(LPCSTR path) {
  return path != nullptr && stf::IsValidFullPath(path, false, StfIsLeadByte);
}

BOOL STFAPI FValidDir(LPCSTR dir) {
  return dir != nullptr && stf::IsValidFullPath(dir, true, StfIsLeadByte);
}

BOOL STFAPI FParsePathIntoPieces(LPCSTR path, LPSTR vol, INT cbVol, LPSTR dir, INT cbDir,
                                 LPSTR file, INT cbFile) {
  stf::PathPieces pieces;
  if (path == nullptr || !stf::SplitFullPath(path, StfIsLeadByte, &pieces)) return FALSE;
  if (vol && CopyOut(pieces.volume, vol, cbVol) >= cbVol) return FALSE;
  if (dir && CopyOut(pieces.directory, dir, cbDir) >= cbDir) return FALSE;
  if (file && CopyOut(pieces.name, file, cbFile) >= cbFile) return FALSE;
  return TRUE;
}

}  // extern "C"
