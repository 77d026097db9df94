// The check of the installed driver: once at the first start of Windows after
// an install that needs a restart (support/boot_check.h), and on demand with
// /verify. It reads the service, the driver file and the kept previous
// driver, decides (support/driver_check_rules.h), puts the previous driver
// back where that rule applies and changes are allowed, and leaves the state
// in the uninstall entry, the log, standard output and one event.
#pragma once

enum class CheckRequest { kNone, kCheck, kRestore };
// What the run's switches ask: /verify, /verify /restore, or neither.
CheckRequest RequestedCheck(void);

// Returns the exit code the check decided: 0 running, 1603 not running,
// 3010 a restart is awaited. mayChange: /restore or the boot check; atBoot:
// the boot check itself, which is not pending once it runs.
int RunDriverCheck(bool mayChange, bool atBoot);
