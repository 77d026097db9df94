// Check first, then change: every file the install takes from the disk is
// looked for before the copy starts, and whatever is missing is named in one
// message. The copy's targets that do not exist yet are noted on the way:
// they are the files this install adds, which the uninstaller may remove.
#include "installer/installer.h"
#include "resources/product.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/setup_paths.h"
#include "support/string_list.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "toolkit/wrappers.h"
#include "contract/toolkit_api.h"
#include "platform/setup-toolkit/box_text_ids.h"

InstallChangeRecord Changes;

static const char kCaption[] = "Merlox IDE CD-ROM Drive Setup";
static const char kSection[] = "System Files";
static const LPCSTR kUninstallerFiles[] = {UNINSTALLER_FILES};

static bool Exists(LPCSTR path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Each missing file is an error record of its own; the first is the cause the
// error dialog names, with the advice to insert the disk that holds it.
static void NoteMissing(LPSTR missing, int size, int* count, LPCSTR path) {
  LogFailedCall("read", path, ERROR_FILE_NOT_FOUND);
  ++*count;
  if (lstrlenA(missing) + lstrlenA(path) + 8 < size) {
    lstrcatA(missing, "\n    ");
    lstrcatA(missing, path);
  }
}

// Field 15 bit 0, the vital flag; an empty field means vital.
static bool IsVital(UINT line) {
  char flags[32] = "";
  if (CountListItems("STF_FILE_FLAGS") >= line) {
    ReadListItem("STF_FILE_FLAGS", static_cast<INT>(line), flags, sizeof flags);
  }
  LPCSTR p = flags;
  while (*p == ' ') ++p;
  if (*p < '0' || *p > '9') return true;
  unsigned value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + static_cast<unsigned>(*p - '0');
  return (value & 1) != 0;
}

// The copy list's files: each source on the disk, each target noted when new.
static void CheckCopyList(LPSTR missing, int size, int* count) {
  char source[SETUP_PATH_SIZE + 16], name[SETUP_PATH_SIZE], target[SETUP_PATH_SIZE];
  // Without the section there is no list: building the copy list names that fault.
  if (!FMakeListInfSectionField("STF_DISK_FILES", kSection, 1)) return;
  CollectInstallNames("STF_INSTALL_NAMES", kSection);
  CollectFileFlags("STF_FILE_FLAGS", kSection);
  const UINT files = CountListItems("STF_DISK_FILES");
  for (UINT i = 1; i <= files; ++i) {
    ReadListItem("STF_DISK_FILES", static_cast<INT>(i), name, sizeof name);
    lstrcpyA(source, SetupPaths.SourceDir);
    AppendBackslash(source);
    if (lstrlenA(source) + lstrlenA(name) >= static_cast<int>(sizeof source)) {
      FailWithBufferOverflow();
    }
    lstrcatA(source, name);
    // A file that is not vital may be missing: the copy skips it and says so.
    if (!Exists(source) && IsVital(i)) NoteMissing(missing, size, count, source);
    if (CountListItems("STF_INSTALL_NAMES") >= i) {
      char renamed[SETUP_PATH_SIZE];
      ReadListItem("STF_INSTALL_NAMES", static_cast<INT>(i), renamed, sizeof renamed);
      if (renamed[0] != '\0') lstrcpyA(name, renamed);
    }
    wsprintfA(target, "%.200sDRIVERS\\%.50s", SetupPaths.SystemDir, FileNameOfPath(name));
    PVOID redirection = TurnOffFileRedirection();
    const bool present = Exists(target);
    RestoreFileRedirection(redirection);
    if (!present && !AddToStringList(Changes.newDriverFiles, sizeof Changes.newDriverFiles, target)) {
      FailWithBufferOverflow();
    }
  }
}

void CheckDiskFiles(void) {
  char missing[2048] = "", programDir[SETUP_PATH_SIZE];
  int count = 0;
  CheckCopyList(missing, sizeof missing, &count);
  // The uninstaller comes from beside setup.exe, which loaded the same libraries from there.
  if (!ReadProgramDir(programDir)) {
    FailWithMessage("Setup cannot find its own folder to copy the uninstaller from.");
  }
  for (LPCSTR file : kUninstallerFiles) {
    char path[SETUP_PATH_SIZE + 16];
    ConcatPath(path, programDir, file);
    if (!Exists(path)) NoteMissing(missing, sizeof missing, &count, path);
  }
  if (count == 0) return;
  char text[2400];
  wsprintfA(text,
            "The setup disk lacks %d file%s that the installation needs:\n%s\n\n"
            "Setup has changed nothing on this computer. Start setup from a complete "
            "installation disk.",
            count, count == 1 ? "" : "s", missing);
  char number[16];
  wsprintfA(number, "%d", count);
  StfLanguageBox(count == 1 ? IDS_STF_DISK_LACKS_ONE : IDS_STF_DISK_LACKS, STF_BOX_CAPTION_ID, text,
                 kCaption, number, missing, "", MB_ICONHAND);
  FatalSetupError();
}
