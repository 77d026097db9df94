// What the Windows Installer package makes of setup's and the uninstaller's
// exit codes: a restart asked for, not a failure, for 3010 and 1641; nothing
// to remove is a removal done; every other code fails the package.
#include <gtest/gtest.h>

#include "packaging/action_result.h"

namespace {

TEST(PackageAction, ExitCodesAsTheInstallerTakesThem) {
  struct Case {
    unsigned long code;
    bool removing;
    ActionResult result;
  } cases[] = {
      {0, false, kActionDone},           {0, true, kActionDone},
      {3010, false, kActionDoneRestart}, {3010, true, kActionDoneRestart},
      {1641, false, kActionDoneRestart}, {1641, true, kActionDoneRestart},
      {1605, true, kActionDone},         {1605, false, kActionFailed},
      {1603, false, kActionFailed},      {1602, true, kActionFailed},
      {1618, false, kActionFailed},      {1639, true, kActionFailed},
      {259, false, kActionFailed},  // STILL_ACTIVE: never taken for a success
      {0xC0000005UL, false, kActionFailed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ActionResultOf(c.code, c.removing ? 1 : 0), c.result)
        << c.code << (c.removing ? " removing" : " installing");
  }
}

}  // namespace
