// The copy job's test rig: a disk of n new files and a drivers directory
// holding an old set of the same names, on the in-memory file system.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ansi_text.h"
#include "copy_job.h"
#include "core_memory_fs.h"

namespace stf {
namespace test {

inline const char kDrivers[] = "C:\\windows\\system32\\drivers";
// Spelled as setup spells it; the directories are stored in lower case.
inline const char kDest[] = "C:\\windows\\SYSTEM32\\DRIVERS\\";

inline std::string Old(int i) { return "old " + std::to_string(i) + std::string(100, 'o'); }
inline std::string New(int i) { return "new " + std::to_string(i) + std::string(3000, 'n'); }
inline std::string Target(int i) { return std::string(kDrivers) + "\\f" + std::to_string(i) + ".sys"; }

// A disk of n new files, and a drivers directory holding the old set when asked.
struct Rig {
  MemoryFs fs;
  ScriptedUser user;
  CopyJob job;

  explicit Rig(int n, bool oldSet = true, std::size_t chunk = 64) {
    fs.AddDir("C:\\windows");
    fs.AddDir("C:\\windows\\system32");
    fs.AddDir(kDrivers);
    fs.AddDir("C:\\disk");
    for (int i = 1; i <= n; ++i) {
      fs.AddFile("C:\\disk\\f" + std::to_string(i) + ".sys", New(i));
      if (oldSet) fs.AddFile(Target(i), Old(i));
      job.items.push_back({"C:\\disk\\f" + std::to_string(i) + ".sys",
                           kDest + std::string("F") + std::to_string(i) + ".SYS", true, "", {}});
    }
    job.billboardTicks = {5};
    job.quiet = true;
    job.tag = 0x1234;
    job.chunkBytes = chunk;
  }
  PendingCopy pending;

  int Run() { return RunCopyJob(job, fs, user); }
  // As the install library runs it: the replaced files kept for FinishCopy or UndoCopy.
  int RunKeeping() { return RunCopyJob(job, fs, user, &pending); }
  // Every path under C:\windows with its data.
  std::vector<std::pair<std::string, std::string>> Tree() const {
    std::vector<std::pair<std::string, std::string>> tree;
    for (const std::string& path : fs.List("C:\\windows")) tree.push_back({path, fs.Data(path)});
    return tree;
  }
  // 1: wholly new, 0: wholly old, -1: mixed or a file missing.
  int SetState(int n) const {
    int news = 0, olds = 0;
    for (int i = 1; i <= n; ++i) {
      news += fs.Data(Target(i)) == New(i);
      olds += fs.Data(Target(i)) == Old(i);
    }
    return news == n ? 1 : olds == n ? 0 : -1;
  }
  // Every target holds its new (or old) data and nothing else is there.
  void ExpectSet(int n, bool fresh) {
    std::vector<std::string> expected, listed;
    for (int i = 1; i <= n; ++i) {
      expected.push_back(ToUpperAscii(Target(i)));
      EXPECT_EQ(fs.Data(Target(i)), fresh ? New(i) : Old(i)) << i;
    }
    // Renamed back, an old file may take the spelling of the INF's name.
    for (const std::string& path : fs.List(kDrivers)) listed.push_back(ToUpperAscii(path));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
  }
};

}  // namespace test
}  // namespace stf
