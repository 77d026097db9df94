// The toolkit's copy (the copy list planned from an INF section, then
// GrcCopyFilesInCopyList: staged, flushed, put in place as one transaction)
// against a plain CopyFileA loop over the same files, round by round.
//
//   copy_bench copy <src dir> <dst dir> <files> <bytes> <rounds> fresh|overwrite [<dst as stored>]
//   copy_bench growth <src dir> <dst dir> <small> <large> <bytes> <rounds>
//
// Directories end in a backslash. The source files and their INF are made
// on the first run, in two sets of different bytes: the runs into one
// destination take them in turn, so that every run copies (a target that
// already holds the source's bytes is left alone by the toolkit, which would
// then time only its check). "fresh" empties the destination before each run
// (not timed); "overwrite" copies over the files of the run before. After
// each run its files are flushed to the disk (not timed): a plain copy leaves
// its data in the page cache, and the next run, whoever's, would pay for it.
// The flushing CopyFileA loop flushes each file as it is copied, which the
// toolkit's transaction does too.
#include <cstdlib>

#include "bench/bench_stats.h"
#include "contract/toolkit_api.h"

namespace {

typedef void(STFAPI* SetRunSwitches)(BOOL, BOOL, INT);

struct Toolkit {
  decltype(&FOpenInf) openInf = Export<decltype(&FOpenInf)>("MSCOMSTF.dll", "FOpenInf");
  decltype(&FAddSectionFilesToCopyList) addSection =
      Export<decltype(&FAddSectionFilesToCopyList)>("MSCOMSTF.dll", "FAddSectionFilesToCopyList");
  decltype(&ResetCopyList) reset = Export<decltype(&ResetCopyList)>("MSINSSTF.dll", "ResetCopyList");
  decltype(&GrcCopyFilesInCopyList) copy =
      Export<decltype(&GrcCopyFilesInCopyList)>("MSINSSTF.dll", "GrcCopyFilesInCopyList");
  decltype(&FCommitCopyList) commit =
      Export<decltype(&FCommitCopyList)>("MSINSSTF.dll", "FCommitCopyList");
};

std::string Name(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "b%05d.sys", i);
  return name;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "bench: %s (error %lu)\n", what.c_str(), GetLastError());
  ExitProcess(1);
}

// Writes what a run left in the page cache to the disk, untimed, so that no
// run pays for the writes of the one before it.
void Settle(const std::string& dir, int n) {
  for (int i = 0; i < n; ++i) {
    HANDLE h = CreateFileA((dir + Name(i)).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    FlushFileBuffers(h);
    CloseHandle(h);
  }
}

// n files of the given size, different in content, and <inf> listing the first n.
void MakeSources(const std::string& dir, int n, DWORD bytes, const std::string& inf,
                 unsigned seed = 12345) {
  CreateDirectoryA(dir.c_str(), nullptr);
  std::vector<char> data(bytes);
  std::string lines = "[Version]\r\nSignature = \"$Windows NT$\"\r\n[Files]\r\n";
  for (int i = 0; i < n; ++i) {
    const std::string path = dir + Name(i);
    lines += "f" + std::to_string(i) + " = " + Name(i) + "\r\n";
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    for (char& c : data) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    if (h == INVALID_HANDLE_VALUE || !WriteFile(h, data.data(), bytes, &put, nullptr)) Fail(path);
    CloseHandle(h);
  }
  HANDLE h = CreateFileA((dir + inf).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  if (h == INVALID_HANDLE_VALUE ||
      !WriteFile(h, lines.data(), static_cast<DWORD>(lines.size()), &put, nullptr)) {
    Fail(dir + inf);
  }
  CloseHandle(h);
  Settle(dir, n);
}

void Empty(const std::string& dst, int n) {
  for (int i = 0; i < n; ++i) DeleteFileA((dst + Name(i)).c_str());
}

double Ours(Toolkit& t, const std::string& src, const std::string& inf, const std::string& dst) {
  const double start = Seconds();
  if (!t.openInf((src + inf).c_str(), TRUE, FALSE)) Fail("FOpenInf " + src + inf);
  t.reset();
  if (!t.addSection("Files", src.c_str(), dst.c_str())) Fail("FAddSectionFilesToCopyList");
  const INT grc = t.copy(GetModuleHandleA(nullptr));
  if (grc != 0) Fail("GrcCopyFilesInCopyList gave " + std::to_string(grc));
  // The replaced files are removed as an install's end removes them.
  if (!t.commit()) Fail("FCommitCopyList");
  return Seconds() - start;
}

// flush: each copy is written to the disk before the next starts.
double CopyLoop(const std::string& src, const std::string& dst, int n, bool flush = false) {
  const double start = Seconds();
  for (int i = 0; i < n; ++i) {
    const std::string target = dst + Name(i);
    if (!CopyFileA((src + Name(i)).c_str(), target.c_str(), FALSE)) Fail("CopyFileA");
    if (!flush) continue;
    HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (h == INVALID_HANDLE_VALUE || !FlushFileBuffers(h)) Fail("FlushFileBuffers " + target);
    CloseHandle(h);
  }
  return Seconds() - start;
}

// The two source sets: the folder of each, ending in a backslash.
std::string SetDir(const std::string& src, int set) { return src + (set ? "b\\" : "a\\"); }

void MakeSets(const std::string& src, int n, DWORD bytes, const std::string& inf) {
  CreateDirectoryA(src.c_str(), nullptr);
  MakeSources(SetDir(src, 0), n, bytes, inf, 12345);
  MakeSources(SetDir(src, 1), n, bytes, inf, 54321);
}

int CopyBench(char** argv, int argc) {
  const std::string src = argv[2], dst = argv[3], stored = argc > 8 ? argv[8] : "";
  const int n = std::atoi(argv[4]), rounds = std::atoi(argv[6]);
  const DWORD bytes = static_cast<DWORD>(std::atol(argv[5]));
  const bool fresh = std::string(argv[7]) == "fresh";
  MakeSets(src, n, bytes, "files.inf");
  CreateDirectoryA(dst.c_str(), nullptr);
  Toolkit t;
  Series ours{"toolkit copy (transaction, flush)", {}}, loop{"CopyFileA loop", {}},
      flushing{"CopyFileA loop, each file flushed", {}},
      loopStored{"CopyFileA loop, destination as stored", {}};
  Series* series[] = {&ours, &loop, &flushing, &loopStored};
  int run = 0;  // the runs into the destination take the two sets in turn
  for (int r = -1; r < rounds; ++r) {  // round -1 warms up
    for (int k = 0; k < 4; ++k) {
      const int which = (k + r + 4) % 4;  // each goes first in turn
      if (which == 3 && stored.empty()) continue;
      if (fresh) Empty(dst, n);
      const std::string set = SetDir(src, run++ % 2);
      const double t0 = which == 0   ? Ours(t, set, "files.inf", dst)
                        : which == 1 ? CopyLoop(set, dst, n)
                        : which == 2 ? CopyLoop(set, dst, n, true)
                                     : CopyLoop(set, stored, n);
      Settle(dst, n);
      if (r >= 0) series[which]->values.push_back(t0);
    }
  }
  const double mb = static_cast<double>(n) * bytes / (1024.0 * 1024.0);
  std::printf("%d files of %lu bytes, %s, %d rounds; seconds per run:\n", n,
              static_cast<unsigned long>(bytes), fresh ? "fresh install" : "overwriting", rounds);
  for (const Series* s : series) Print(*s, "s");
  std::printf("throughput of the toolkit copy relative to (pair by pair, higher is faster):\n");
  Print(Ratio("  CopyFileA loop (same paths)", loop, ours), "x");
  Print(Ratio("  CopyFileA loop, each file flushed", flushing, ours), "x");
  if (!stored.empty()) Print(Ratio("  CopyFileA loop (destination as stored)", loopStored, ours), "x");
  std::printf("(%.1f MB per run)\n", mb);
  return 0;
}

// Each of the four copies into a folder of its own, so that every run
// overwrites the other set's bytes.
int GrowthBench(char** argv) {
  const std::string src = argv[2], dst = argv[3];
  const int small = std::atoi(argv[4]), large = std::atoi(argv[5]), rounds = std::atoi(argv[7]);
  const DWORD bytes = static_cast<DWORD>(std::atol(argv[6]));
  MakeSets(src, small, bytes, "small.inf");
  MakeSets(src, large, bytes, "large.inf");
  CreateDirectoryA(dst.c_str(), nullptr);
  const char* const folders[] = {"ours-small\\", "ours-large\\", "loop-small\\", "loop-large\\"};
  for (const char* folder : folders) CreateDirectoryA((dst + folder).c_str(), nullptr);
  Toolkit t;
  Series oursSmall{"toolkit copy, per file, " + std::to_string(small) + " files", {}},
      oursLarge{"toolkit copy, per file, " + std::to_string(large) + " files", {}},
      loopSmall{"CopyFileA loop, per file, " + std::to_string(small) + " files", {}},
      loopLarge{"CopyFileA loop, per file, " + std::to_string(large) + " files", {}};
  Series* s[] = {&oursSmall, &oursLarge, &loopSmall, &loopLarge};
  for (int r = -1; r < rounds; ++r) {
    for (int k = 0; k < 4; ++k) {
      const int which = (k + r + 4) % 4;
      const int n = which % 2 ? large : small;
      const std::string to = dst + folders[which], set = SetDir(src, (r + 1) % 2);
      const double seconds = which < 2 ? Ours(t, set, which % 2 ? "large.inf" : "small.inf", to)
                                       : CopyLoop(set, to, n);
      Settle(to, n);
      if (r >= 0) s[which]->values.push_back(seconds / n);
    }
  }
  std::printf("growth, files of %lu bytes, overwriting, %d rounds; milliseconds per file:\n",
              static_cast<unsigned long>(bytes), rounds);
  for (const Series* each : s) Print(*each, "ms", 1000);
  std::printf("per-file cost at %d files over that at %d (pair by pair, lower is better):\n", large,
              small);
  Print(Ratio("  toolkit copy", oursLarge, oursSmall), "x");
  Print(Ratio("  CopyFileA loop", loopLarge, loopSmall), "x");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Export<SetRunSwitches>("MSCOMSTF.dll", "StfSetRunSwitches")(TRUE, FALSE, 0);  // quiet, no restart chosen
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "copy" && argc >= 8) return CopyBench(argv, argc);
  if (mode == "growth" && argc >= 8) return GrowthBench(argv);
  std::fprintf(stderr,
               "usage: copy_bench copy <src\\> <dst\\> <files> <bytes> <rounds> fresh|overwrite "
               "[<dst as stored\\>]\n"
               "       copy_bench growth <src\\> <dst\\> <small> <large> <bytes> <rounds>\n");
  return 2;
}
