// Dependencies point one way: the programs over the toolkit as they see it,
// over the support library, over the toolkit's declared contract, over the
// platform; inside our toolkit, each library over the common one over the
// portable core. The test reads every #include of the sources and fails on
// an arrow against that direction.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The part of the tree a path belongs to, by its longest matching prefix.
std::string PartOf(const std::string& path) {
  static const std::vector<std::pair<std::string, std::string>> kParts = {
      {"platform/setup-toolkit/core/", "core"},
      {"platform/setup-toolkit/common/", "common"},
      {"platform/setup-toolkit/stf_internal.h", "common"},
      {"platform/setup-toolkit/shell/", "shell"},
      {"platform/setup-toolkit/ui/", "ui"},
      {"platform/setup-toolkit/install/", "install"},
      {"platform/setup-toolkit/detect/", "detect"},
      {"platform/dialogs/dialog_ids.h", "dialog numbers"},
      {"platform/dialogs/", "dialogs"},
      {"platform/", "platform"},
      {"installer/", "installer"},
      {"uninstaller/", "uninstaller"},
      {"toolkit/", "toolkit"},
      {"support/", "support"},
      {"contract/", "contract"},
      {"resources/", "resources"},
  };
  std::string best, part;
  for (const auto& [prefix, name] : kParts) {
    if (path.rfind(prefix, 0) == 0 && prefix.size() > best.size()) {
      best = prefix;
      part = name;
    }
  }
  return part;
}

// What each part may include besides itself.
const std::map<std::string, std::set<std::string>>& Allowed() {
  static const std::set<std::string> kLibrary = {"common", "core", "contract", "platform"};
  static const std::map<std::string, std::set<std::string>> kAllowed = {
      {"installer", {"toolkit", "support", "contract", "resources", "platform", "dialog numbers"}},
      {"uninstaller",
       {"toolkit", "support", "contract", "resources", "platform", "dialog numbers"}},
      {"toolkit", {"support", "contract", "platform"}},
      {"support", {"contract", "platform"}},
      {"contract", {"platform"}},
      {"resources", {}},
      {"platform", {}},
      {"core", {}},
      {"common", {"core", "contract", "platform"}},
      {"shell", kLibrary},
      {"ui", kLibrary},
      {"install", kLibrary},
      {"detect", kLibrary},
      {"dialogs", {"dialog numbers", "common", "contract", "platform"}},
      {"dialog numbers", {}},
  };
  return kAllowed;
}

// An include as a path from the top of the tree: from the top, beside the
// including file, or in the core (which the libraries include by bare name).
std::string Resolve(const fs::path& top, const fs::path& file, const std::string& name) {
  for (const fs::path& base :
       {top, file.parent_path(), top / "platform/setup-toolkit/core"}) {
    if (fs::exists(base / name)) return fs::relative(fs::canonical(base / name), top).generic_string();
  }
  return "";
}

std::vector<std::string> Violations(const fs::path& top) {
  static const std::regex kInclude("^\\s*#\\s*include\\s+\"([^\"]+)\"");
  std::vector<std::string> found;
  for (const char* folder : {"installer", "uninstaller", "toolkit", "support", "contract",
                             "resources", "platform"}) {
    for (const auto& entry : fs::recursive_directory_iterator(top / folder)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h" && ext != ".rc") continue;
      const std::string from = fs::relative(entry.path(), top).generic_string();
      const std::string fromPart = PartOf(from);
      std::ifstream in(entry.path());
      std::smatch match;
      for (std::string line; std::getline(in, line);) {
        if (!std::regex_search(line, match, kInclude)) continue;
        const std::string to = Resolve(top, entry.path(), match[1]);
        if (to.empty()) continue;  // a system header or one a build makes
        const std::string toPart = PartOf(to);
        if (toPart == fromPart || Allowed().at(fromPart).count(toPart)) continue;
        found.push_back(from + " (" + fromPart + ") includes " + to + " (" + toPart + ")");
      }
    }
  }
  return found;
}

TEST(Layering, EveryIncludePointsDownward) {
  const std::vector<std::string> found = Violations(SOURCE_DIR);
  std::string list;
  for (const std::string& v : found) list += "\n  " + v;
  EXPECT_TRUE(found.empty()) << found.size() << " includes against the direction:" << list;
}

TEST(Layering, TheCheckSeesAnArrowAgainstTheDirection) {
  const fs::path top = fs::temp_directory_path() / "layering_test_tree";
  fs::remove_all(top);
  for (const char* dir : {"support", "toolkit", "installer", "uninstaller", "contract",
                          "resources", "platform"}) {
    fs::create_directories(top / dir);
  }
  std::ofstream(top / "toolkit/setup_lifecycle.h") << "#pragma once\n";
  std::ofstream(top / "support/path_join.cpp") << "#include \"toolkit/setup_lifecycle.h\"\n";
  EXPECT_EQ(Violations(top), (std::vector<std::string>{
                                 "support/path_join.cpp (support) includes "
                                 "toolkit/setup_lifecycle.h (toolkit)"}));
  fs::remove_all(top);
}

}  // namespace
