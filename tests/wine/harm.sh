#!/usr/bin/env bash
# Do no harm: the uninstaller leaves alone a place its entry names that is not
# the product's own, a refused registration puts the machine back as it was,
# and an incomplete disk is refused before anything changes.
source "$(dirname "$0")/lib.sh"

readonly UNINSTALLER='C:\Program Files\Merlox IDE CD-ROM Drive\uninstall.exe'

expect_no_entry() {
  if wine reg query "$UNINSTALL_KEY" >"$SCEN/entry.out" 2>&1; then
    fail "expected no uninstall entry, saw: $(tr -d '\r' <"$SCEN/entry.out")"
  fi
}

# The drivers directory byte for byte, and the service's key as text.
machine_state() {
  (cd "$DRIVERS" && find . -type f -print0 | sort -z | xargs -0 -r sha1sum) >"$SCEN/$1.drivers"
  wine reg query "$SERVICE_KEY" 2>/dev/null | tr -d '\r' | grep -v '^$' >"$SCEN/$1.service" || true
}

expect_service_as() {
  machine_state after
  diff "$SCEN/$1.service" "$SCEN/after.service" >"$SCEN/service.diff" ||
    fail "service mlxidecd changed: $(cat "$SCEN/service.diff")"
}

expect_drivers_as() {
  machine_state after
  diff "$SCEN/$1.drivers" "$SCEN/after.drivers" >"$SCEN/drivers.diff" ||
    fail "C:\\windows\\system32\\drivers changed: $(cat "$SCEN/drivers.diff")"
}

uninstall_quietly() {
  start_program "$WINEPREFIX/drive_c" "$UNINSTALLER" /quiet /log 'C:\uninstall.log'
  wait_setup
  LOG=$WINEPREFIX/drive_c/uninstall.log
}

case $1 in
  harm-location-windows | harm-location-root)
    scenario_begin "$1"
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    if [[ $1 == harm-location-windows ]]; then place='C:\windows'; else place='C:\'; fi
    unix_place=$WINEPREFIX/drive_c/${place#C:\\}
    unix_place=${unix_place//\\//}
    echo planted >"$unix_place/MSCOMSTF.dll"
    echo planted >"$unix_place/uninstall.exe"
    wine reg add "$UNINSTALL_KEY" /v InstallLocation /t REG_SZ /d "$place" /f >"$SCEN/reg-add.out" 2>&1 ||
      fail "reg add InstallLocation: $(cat "$SCEN/reg-add.out")"
    # C:\windows in an entry without the install's records, as an earlier
    # setup wrote it: InstallLocation is all the uninstaller has to go by.
    if [[ $1 == harm-location-windows ]]; then
      for value in InstalledFiles InstalledFolders; do
        wine reg delete "$UNINSTALL_KEY" /v "$value" /f >"$SCEN/reg-delete.out" 2>&1 ||
          fail "reg delete $value: $(cat "$SCEN/reg-delete.out")"
      done
    fi
    uninstall_quietly
    expect_exit_code 0 3010
    expect_outcome 'Outcome: SUCCESS( \(restart pending\))?'
    grep -F 'Warning: the uninstall entry' "$LOG" | grep -qF " $place," ||
      fail "log: expected a warning naming $place, saw: $(tr -d '\r' <"$LOG")"
    wine wineboot -r >"$SCEN/wineboot.out" 2>&1 || fail "wineboot -r: $(cat "$SCEN/wineboot.out")"
    session_end
    for file in MSCOMSTF.dll uninstall.exe; do
      [[ $(cat "$unix_place/$file" 2>/dev/null) == planted ]] ||
        fail "$place\\$file: the planted file is gone or changed"
    done
    [[ -d $WINEPREFIX/drive_c/windows/system32 ]] || fail "C:\\windows\\system32 is gone"
    # Without records nothing names the product's folder, so it stays.
    product=$WINEPREFIX/drive_c/Program\ Files/Merlox\ IDE\ CD-ROM\ Drive
    if [[ $1 == harm-location-root ]]; then
      [[ ! -e $product ]] || fail "the product's folder is still there after the boot: $(ls -A "$product")"
    else
      [[ -f $product/uninstall.exe ]] || fail "the product's folder was acted on without a record"
    fi
    [[ -z $(find "$DRIVERS/" -maxdepth 1 -iname mlxidecd.sys) ]] || fail "the driver file is still there after the boot"
    expect_no_service
    expect_no_entry
    ;;

  harm-registration-rollback)
    scenario_begin "$1"
    # A driver without an unload routine: once loaded, its service can only be
    # marked for deletion until the next boot.
    cp -p "$DISK/mlxidecd.SYS" "$SCEN/mlxidecd.SYS"
    printf '%s\n' '#include <ddk/wdm.h>' \
      'NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT d, PUNICODE_STRING r) { (void)d; (void)r; return STATUS_SUCCESS; }' \
      >"$SCEN/nounload.c"
    i686-w64-mingw32-gcc -shared -nostdlib -Wl,--subsystem,native -Wl,--entry,_DriverEntry@8 \
      -o "$DISK/mlxidecd.SYS" "$SCEN/nounload.c" -lntoskrnl >"$SCEN/cc.out" 2>&1 ||
      fail "cannot build the driver without an unload routine: $(cat "$SCEN/cc.out")"
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    # A new session is a boot: the driver loads, and cannot unload.
    session_end
    persistent_session
    uninstall_quietly
    expect_exit_code 3010
    # The service is marked for deletion until the next boot.
    machine_state before
    LOG=$WINEPREFIX/drive_c/setup.log
    rm -f "$LOG"
    cp -p "$SCEN/mlxidecd.SYS" "$DISK/mlxidecd.SYS"  # another driver, so that the copy changes something
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 1603
    expect_error_logged 1072
    grep -q '^.*Undoing the install' "$LOG" || fail "log: expected the undo to be listed, saw: $(tr -d '\r' <"$LOG")"
    expect_no_entry
    expect_service_as before
    # The loaded driver is one file under two names (its own and the copy's
    # second name); Windows lets neither go while it holds the file, so the
    # second name is left for the boot, and the log must say so.
    held=$(tr -d '\r' <"$LOG" | sed -n 's/^.*The old file \(.*\) is in use; it will be removed when Windows restarts$/\1/p')
    if [[ -n $held ]]; then
      held=${held##*\\drivers\\}
      machine_state after
      grep -vF "./${held//\\//}" "$SCEN/after.drivers" >"$SCEN/after.kept" || true
      diff "$SCEN/before.drivers" "$SCEN/after.kept" >"$SCEN/drivers.diff" ||
        fail "C:\\windows\\system32\\drivers changed beyond the held name $held: $(cat "$SCEN/drivers.diff")"
    else
      expect_drivers_as before
    fi
    ;;

  harm-no-uninstaller)
    scenario_begin "$1"
    rm -f "$DISK/uninstall.exe"
    session_begin
    machine_state before
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 1603
    grep -qF "uninstall.exe" "$SCEN/setup.err" ||
      fail "standard error: expected uninstall.exe named, saw: $(cat "$SCEN/setup.err")"
    grep -qF 'Setup has changed nothing' "$LOG" ||
      fail "log: expected the missing files named, saw: $(tr -d '\r' <"$LOG")"
    expect_drivers_unchanged
    expect_drivers_as before
    expect_service_as before
    expect_no_service
    expect_no_entry
    ;;

  *) fail "unknown scenario $1" ;;
esac
