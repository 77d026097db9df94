// The driver service's one description: the image path forms that name the
// installed file, and the paths built from it.
#include <cstring>

#include "support/driver_service.h"
#include "tests/fakes/process_state.h"

namespace {

const char kSystemDir[] = "C:\\WINNT\\SYSTEM32\\";

TEST(DriverService, ImagePathFormsThatNameTheInstalledFile) {
  const struct {
    const char* path;
    bool names;
  } cases[] = {
      {"\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS", true},
      {"%SystemRoot%\\system32\\drivers\\MLXIDECD.sys", true},
      {"System32\\Drivers\\mlxidecd.sys", true},
      {"C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS", true},
      {"\\??\\C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS", true},
      {"D:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS", false},  // another Windows
      {"\\SystemRoot\\SYSTEM32\\DRIVERS\\atapi.sys", false},
      {"\\SystemRoot\\SYSTEM32\\mlxidecd.SYS", false},
      {"\\??\\SYSTEM32\\DRIVERS\\mlxidecd.SYS", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NamesDriverFile(c.path, kSystemDir), c.names) << c.path;
  }
  // What registration writes is a form the check accepts.
  EXPECT_TRUE(NamesDriverFile(DriverService.imagePath, kSystemDir));
}

TEST(DriverService, DriverPathsFitOrLeaveTheBufferAlone) {
  char path[64];
  ASSERT_TRUE(DriverFileIn(kSystemDir, path, sizeof path));
  EXPECT_STREQ(path, "C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
  ASSERT_TRUE(DriversDirIn(kSystemDir, path, sizeof path));
  EXPECT_STREQ(path, "C:\\WINNT\\SYSTEM32\\DRIVERS\\");
  char small[26] = "kept";  // one byte short of the directory
  EXPECT_FALSE(DriversDirIn(kSystemDir, small, sizeof small));
  EXPECT_FALSE(DriverFileIn(kSystemDir, small, sizeof small));
  EXPECT_STREQ(small, "kept");
}

}  // namespace
