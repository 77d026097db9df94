// What an exit code of setup.exe or uninstall.exe means for the Windows
// Installer package that ran it (packaging/setup_action.c). Plain C: the
// custom action is C, the host test C++.
#pragma once

enum ActionResult {
  kActionDone,         // the step is done
  kActionDoneRestart,  // done; Windows must restart for it to take effect
  kActionFailed        // the package must fail, and roll back what it placed
};

// Windows Installer's codes, as setup ends a quiet run with them.
static inline enum ActionResult ActionResultOf(unsigned long code, int removing) {
  switch (code) {
    case 0:
      return kActionDone;
    case 3010:  // done, restart needed
    case 1641:  // done, and the restart was started
      return kActionDoneRestart;
    case 1605:  // the uninstaller found nothing to remove: removed already
      return removing ? kActionDone : kActionFailed;
    default:
      return kActionFailed;
  }
}
