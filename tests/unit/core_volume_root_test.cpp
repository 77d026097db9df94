// Volume roots as Windows NT 4.0 knows them.
#include <gtest/gtest.h>

#include "volume_root.h"

namespace {

bool Lead95(unsigned char b) { return b == 0x95; }

TEST(VolumeRoot, DrivesAndSharesDoubleByteAware) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\WINNT\\SYSTEM32\\DRIVERS\\", "C:\\"},
      {"d:", "d:\\"},
      {"\\\\SERVER\\SHARE\\DIR\\FILE", "\\\\SERVER\\SHARE\\"},
      {"\\\\SERVER\\SHARE", "\\\\SERVER\\SHARE\\"},
      {"\\\\SERVER\\\x95\\\\DIR", "\\\\SERVER\\\x95\\\\"},  // 0x95 0x5C is one character
      {"\\\\SERVER", ""},
      {"\\\\SERVER\\", ""},
      {"RELATIVE\\DIR", ""},
      {"", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(stf::VolumeRootOf(c.first, Lead95), c.second) << c.first;
  }
}

}  // namespace
