#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "copy_list.h"

namespace stf {
namespace {

std::string Upper(const std::string& path) {
  std::string folded = path;
  for (char& c : folded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return folded;
}

CopyEntry Entry(const std::string& target) {
  CopyEntry entry;
  entry.sourcePath = "E:\\" + target.substr(target.rfind('\\') + 1);
  entry.destPath = target;
  return entry;
}

std::vector<std::string> Targets(CopyList* list) {
  std::size_t count = 0;
  const CopyEntryView* views = list->Views(&count);
  std::vector<std::string> targets;
  for (std::size_t i = 0; i < count; ++i) targets.push_back(views[i].target);
  return targets;
}

// Each batch is added whole or not at all; a clash names the target.
TEST(CopyList, BatchesAreAddedWholeOrRefused) {
  struct Case {
    const char* name;
    std::vector<std::vector<std::string>> batches;
    std::vector<bool> accepted;
    std::string clash;  // of the last refused batch
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {"two sections", {{"C:\\d\\a.sys"}, {"C:\\d\\b.sys", "C:\\e\\a.sys"}}, {true, true}, "",
       {"C:\\d\\a.sys", "C:\\d\\b.sys", "C:\\e\\a.sys"}},
      {"same target again, other case", {{"C:\\d\\a.sys"}, {"C:\\d\\b.sys", "c:\\D\\A.SYS"}},
       {true, false}, "c:\\D\\A.SYS", {"C:\\d\\a.sys"}},
      {"twice within one batch", {{"C:\\d\\a.sys", "C:\\d\\x", "C:\\D\\x"}}, {false}, "C:\\D\\x",
       {}},
      {"refused batch leaves room", {{"C:\\a", "C:\\a"}, {"C:\\a"}}, {false, true}, "C:\\a",
       {"C:\\a"}},
  };
  for (const Case& c : cases) {
    CopyList list;
    std::string clash;
    for (std::size_t i = 0; i < c.batches.size(); ++i) {
      std::vector<CopyEntry> planned;
      for (const std::string& target : c.batches[i]) planned.push_back(Entry(target));
      EXPECT_EQ(list.Add(planned, Upper, &clash), c.accepted[i]) << c.name << " batch " << i;
    }
    EXPECT_EQ(clash, c.clash) << c.name;
    EXPECT_EQ(Targets(&list), c.listed) << c.name;
    EXPECT_EQ(list.Entries().size(), c.listed.size()) << c.name;
  }
}

// What a library reads through the views is what the copy job gets: source
// folder joined to the disk name, the target, the declared size, the vital
// flag and the required version; the views follow every change of the list.
TEST(CopyList, ViewsHandTheWholeRecordToTheCopy) {
  std::vector<CopyEntry> planned(2);
  planned[0].sourcePath = "E:\\I386\\mlxidecd.SY_";
  planned[0].destPath = "C:\\WINNT\\system32\\drivers\\mlxidecd.sys";
  planned[0].record.size = 5000000000ull;  // wider than a DWORD
  planned[0].record.version = "4.0.1381.1";
  planned[1].sourcePath = "E:\\I386\\readme.txt";
  planned[1].destPath = "C:\\Merlox\\readme.txt";
  planned[1].record.flags = 0;
  CopyList list;
  std::size_t count = 99;
  EXPECT_EQ(list.Views(&count), list.Views(&count));
  EXPECT_EQ(count, 0u);
  ASSERT_TRUE(list.Add({planned[0]}, Upper, nullptr));
  list.Views(&count);  // taken before the list grows
  ASSERT_TRUE(list.Add({planned[1]}, Upper, nullptr));

  const CopyEntryView* views = list.Views(&count);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(views[0].declared, 5000000000ull);
  const std::vector<CopyItem> items = CopyItemsFrom(views, count);
  ASSERT_EQ(items.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(items[i].source, planned[i].sourcePath);
    EXPECT_EQ(items[i].target, planned[i].destPath);
    EXPECT_EQ(items[i].vital, planned[i].record.vital());
    EXPECT_EQ(items[i].requiredVersion, planned[i].record.version);
  }

  list.Clear();
  list.Views(&count);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(list.Add({planned[0]}, Upper, nullptr)) << "a cleared list forgets its targets";
}

}  // namespace
}  // namespace stf
