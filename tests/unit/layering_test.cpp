// Dependencies point one way: the programs over the toolkit as they see it,
// over the support library, over the toolkit's declared contract, over the
// platform; inside our toolkit, each library over the common one over the
// portable core. The test reads every #include of the sources and fails on
// an arrow against that direction; in the programs' own parts it also reads
// every call of a function defined in another file, so that a declaration
// kept low for a definition higher up cannot hide an upward call.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
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
      {"platform/dialogs/box_text_ids.h", "dialog numbers"},
      {"platform/dialogs/", "dialogs"},
      {"platform/crt_binding/", "crt binding"},
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
      {"toolkit", {"support", "contract", "resources", "platform", "dialog numbers", "core"}},
      {"support", {"contract", "resources", "platform", "core"}},
      {"contract", {"platform"}},
      {"resources", {}},
      {"platform", {}},
      // The start-up shares the core's switch rule, inline: it runs before
      // the run-time is bound.
      {"crt binding", {"platform", "core"}},
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
        // The start-up is the platform's, to whoever may include the platform.
        if (toPart == "crt binding" && Allowed().at(fromPart).count("platform")) continue;
        found.push_back(from + " (" + fromPart + ") includes " + to + " (" + toPart + ")");
      }
    }
  }
  return found;
}

// The programs' parts, whose files call each other's functions directly
// (the libraries are reached through their exports).
const char* const kProgramFolders[] = {"installer", "uninstaller", "toolkit", "support"};

std::vector<fs::path> ProgramSources(const fs::path& top) {
  std::vector<fs::path> files;
  for (const char* folder : kProgramFolders) {
    if (!fs::exists(top / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(top / folder)) {
      if (entry.path().extension() == ".cpp") files.push_back(entry.path());
    }
  }
  return files;
}

// Source text without comments and string literals, which name functions
// without calling them.
std::string CodeOf(const fs::path& file) {
  std::ifstream in(file);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  static const std::regex kNoise(R"(//[^\n]*|/\*[\s\S]*?\*/|"(\\.|[^"\\\n])*"|'(\\.|[^'\\\n])*')");
  return std::regex_replace(text, kNoise, " ");
}

// Each function defined with external linkage, by name: the parts that define it.
std::map<std::string, std::set<std::string>> Definitions(const fs::path& top) {
  static const std::regex kDefinition(
      R"((^|\n)(?!static\b)[A-Za-z_][\w:<>\*& ]*?[\s\*&](\w+)\(([^;{}]*)\)\s*(const\s*)?\{)");
  std::map<std::string, std::set<std::string>> defined;
  for (const fs::path& file : ProgramSources(top)) {
    const std::string code = CodeOf(file);
    const std::string part = PartOf(fs::relative(file, top).generic_string());
    for (std::sregex_iterator it(code.begin(), code.end(), kDefinition), end; it != end; ++it) {
      defined[(*it)[2]].insert(part);
    }
  }
  return defined;
}

std::vector<std::string> UpwardCalls(const fs::path& top) {
  static const std::regex kCall(R"(\b([A-Za-z_]\w*)\s*\()");
  const auto defined = Definitions(top);
  std::vector<std::string> found;
  for (const fs::path& file : ProgramSources(top)) {
    const std::string from = fs::relative(file, top).generic_string();
    const std::string fromPart = PartOf(from);
    const std::string code = CodeOf(file);
    std::set<std::string> named;
    for (std::sregex_iterator it(code.begin(), code.end(), kCall), end; it != end; ++it) {
      named.insert((*it)[1]);
    }
    for (const std::string& name : named) {
      auto where = defined.find(name);
      if (where == defined.end()) continue;
      bool reachable = false;
      for (const std::string& part : where->second) {
        if (part == fromPart || Allowed().at(fromPart).count(part)) reachable = true;
      }
      if (!reachable) {
        found.push_back(from + " (" + fromPart + ") calls " + name + " (" +
                        *where->second.begin() + ")");
      }
    }
  }
  return found;
}

// Code without the bodies of anonymous namespaces, whose functions no other
// file can call.
std::string WithoutAnonymousNamespaces(const std::string& code) {
  static const std::regex kAnonymous(R"(namespace\s*\{)");
  std::string out;
  std::size_t at = 0;
  for (std::smatch m; std::regex_search(code.begin() + static_cast<long>(at), code.end(), m,
                                        kAnonymous);) {
    const std::size_t open = at + static_cast<std::size_t>(m.position(0) + m.length(0));
    out.append(code, at, open - at - m.length(0));
    int depth = 1;
    std::size_t i = open;
    for (; i < code.size() && depth > 0; ++i) depth += code[i] == '{' ? 1 : code[i] == '}' ? -1 : 0;
    at = i;
  }
  return out + code.substr(at);
}

// The folders whose files call each other directly, each its own unit.
const char* const kCallFolders[] = {
    "installer", "uninstaller", "toolkit", "support", "platform/setup-toolkit/core",
    "platform/setup-toolkit/common", "platform/setup-toolkit/shell", "platform/setup-toolkit/ui",
    "platform/setup-toolkit/install", "platform/setup-toolkit/detect", "platform/dialogs"};

// The calls between the files of one folder close no circle: each file reaches
// only files that do not reach it back. One circle per strongly connected
// group of files, as "a.cpp -> b.cpp -> a.cpp".
std::vector<std::string> CallCircles(const fs::path& top) {
  static const std::regex kDefinition(
      R"((^|\n)(?!static\b)[A-Za-z_][\w:<>\*& ]*?[\s\*&](\w+)\(([^;{}]*)\)\s*(const\s*)?\{)");
  static const std::regex kCall(R"(\b([A-Za-z_]\w*)\s*\()");
  std::vector<std::string> found;
  for (const char* folder : kCallFolders) {
    if (!fs::exists(top / folder)) continue;
    std::vector<std::string> files;
    std::map<std::string, std::string> code;
    std::map<std::string, std::set<std::string>> definedIn;
    for (const auto& entry : fs::directory_iterator(top / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      const std::string name = entry.path().filename().string();
      files.push_back(name);
      code[name] = CodeOf(entry.path());
      const std::string visible = WithoutAnonymousNamespaces(code[name]);
      for (std::sregex_iterator it(visible.begin(), visible.end(), kDefinition), end; it != end;
           ++it) {
        definedIn[(*it)[2]].insert(name);
      }
    }
    std::sort(files.begin(), files.end());
    std::map<std::string, std::set<std::string>> calls;
    for (const std::string& file : files) {
      const std::string& text = code[file];
      for (std::sregex_iterator it(text.begin(), text.end(), kCall), end; it != end; ++it) {
        auto where = definedIn.find((*it)[1]);
        if (where == definedIn.end()) continue;
        for (const std::string& other : where->second) {
          if (other != file) calls[file].insert(other);
        }
      }
    }
    // A file is in a circle when it reaches itself; the path back names it.
    std::set<std::string> reported;
    for (const std::string& start : files) {
      if (reported.count(start)) continue;
      std::map<std::string, std::string> cameFrom;
      std::vector<std::string> queue = {start};
      bool closed = false;
      for (std::size_t i = 0; i < queue.size() && !closed; ++i) {
        for (const std::string& next : calls[queue[i]]) {
          if (next == start) {
            cameFrom[start] = queue[i];
            closed = true;
            break;
          }
          if (cameFrom.emplace(next, queue[i]).second) queue.push_back(next);
        }
      }
      if (!closed) continue;
      std::vector<std::string> path = {start};
      for (std::string at = cameFrom[start]; at != start; at = cameFrom[at]) path.push_back(at);
      std::string line = std::string(folder) + ": " + start;
      for (auto it = path.rbegin(); it != path.rend(); ++it) line += " -> " + *it;
      for (const std::string& file : path) reported.insert(file);
      found.push_back(line);
    }
  }
  return found;
}

// The program's parts as empty folders, for a tree the checks are tried on.
fs::path EmptyTree(const char* name) {
  const fs::path top = fs::temp_directory_path() / name;
  fs::remove_all(top);
  for (const char* dir : {"support", "toolkit", "installer", "uninstaller", "contract",
                          "resources", "platform"}) {
    fs::create_directories(top / dir);
  }
  return top;
}

std::string Listed(const std::vector<std::string>& found) {
  std::string list;
  for (const std::string& v : found) list += "\n  " + v;
  return list;
}

TEST(Layering, EveryCallBetweenProgramFilesPointsDownward) {
  const std::vector<std::string> found = UpwardCalls(SOURCE_DIR);
  EXPECT_TRUE(found.empty()) << found.size() << " calls against the direction:" << Listed(found);
}

TEST(Layering, TheCheckSeesACallUpThroughALowDeclaration) {
  const fs::path top = EmptyTree("layering_call_tree");
  std::ofstream(top / "contract/fatal.h") << "void Fail(void);\n";
  std::ofstream(top / "toolkit/fatal.cpp") << "#include \"contract/fatal.h\"\n"
                                              "void Fail(void) {\n  Show(\"Fail()\");\n}\n";
  std::ofstream(top / "support/join.cpp") << "#include \"contract/fatal.h\"\n"
                                             "static void Join(void) {\n  Fail();\n}\n"
                                             "// Show(x) is a comment\n";
  EXPECT_EQ(Violations(top), std::vector<std::string>{});
  EXPECT_EQ(UpwardCalls(top), (std::vector<std::string>{
                                  "support/join.cpp (support) calls Fail (toolkit)"}));
  fs::remove_all(top);
}

TEST(Layering, NoFolderHasACallCircle) {
  const std::vector<std::string> found = CallCircles(SOURCE_DIR);
  EXPECT_TRUE(found.empty()) << found.size() << " call circles:" << Listed(found);
}

// A circle through three files is seen; a helper of the same name in an
// anonymous namespace, and a call back into a file's own functions, are not.
TEST(Layering, TheCheckSeesACallCircleInsideAFolder) {
  const fs::path top = EmptyTree("layering_circle_tree");
  std::ofstream(top / "support/a.cpp") << "void A(void) {\n  B();\n}\n";
  std::ofstream(top / "support/b.cpp") << "void B(void) {\n  C();\n}\n";
  std::ofstream(top / "support/c.cpp") << "void C(void) {\n  A();\n}\n";
  std::ofstream(top / "toolkit/d.cpp") << "namespace {\nvoid Help(void) {\n}\n}\n"
                                          "void D(void) {\n  E();\n  D2();\n}\nvoid D2(void) {\n}\n";
  std::ofstream(top / "toolkit/e.cpp") << "void E(void) {\n  Help();\n}\n";
  EXPECT_EQ(CallCircles(top), (std::vector<std::string>{
                                  "support: a.cpp -> b.cpp -> c.cpp -> a.cpp"}));
  fs::remove_all(top);
}

TEST(Layering, EveryIncludePointsDownward) {
  const std::vector<std::string> found = Violations(SOURCE_DIR);
  EXPECT_TRUE(found.empty()) << found.size() << " includes against the direction:"
                             << Listed(found);
}

TEST(Layering, TheCheckSeesAnArrowAgainstTheDirection) {
  const fs::path top = EmptyTree("layering_test_tree");
  std::ofstream(top / "toolkit/setup_lifecycle.h") << "#pragma once\n";
  std::ofstream(top / "support/path_join.cpp") << "#include \"toolkit/setup_lifecycle.h\"\n";
  EXPECT_EQ(Violations(top), (std::vector<std::string>{
                                 "support/path_join.cpp (support) includes "
                                 "toolkit/setup_lifecycle.h (toolkit)"}));
  fs::remove_all(top);
}

}  // namespace
