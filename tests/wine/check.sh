#!/usr/bin/env bash
# The driver checked once at the next start of Windows: a failing update over
# a running driver is put back, a failing driver with nothing to go back to is
# reported, a good update removes the driver it kept; setup.exe /verify agrees.
source "$(dirname "$0")/lib.sh"

readonly CHECK_KEY='HKLM\System\CurrentControlSet\Services\mlxidecdcheck'
readonly KEPT_DRIVER='Program Files/Merlox IDE CD-ROM Drive/mlxidecd.previous.SYS'
: "${WINE_TEST_FAILING_DRIVER:?set by ctest: the driver whose DriverEntry fails}"

check_registered() { wine reg query "$CHECK_KEY" >"$SCEN/check-key.out" 2>&1; }

check_done() {
  WAIT_SEEN="DriverState '$(entry_value DriverState)'"
  ! check_registered && [[ $(entry_value DriverState) != 'check pending' ]]
}

# Wine's restart: the next session boots the prefix, loads the drivers and
# starts the check; it has run once it is gone and the entry says more than pending.
restart() {
  session_end
  persistent_session
  wait_for "the check at the start of Windows" 60 check_done
  say "after the restart: DriverState '$(entry_value DriverState)', checked $(entry_value DriverChecked)"
}

install() {
  run_setup /quiet /log "$LOG_WIN"
  expect_exit_code 3010
  [[ $(entry_value DriverState) == 'check pending' ]] || fail "DriverState after the install: '$(entry_value DriverState)'"
  check_registered || fail "no check is registered for the next start"
  grep -q 'ImagePath.*uninstall.exe" /quiet /verify /restore' "$SCEN/check-key.out" ||
    fail "the check's service: $(tr -d '\r' <"$SCEN/check-key.out")"
}

# verify <exit code> <state> [/restore]: setup.exe /verify prints the state the entry holds.
verify() {
  local code=$1 state=$2
  shift 2
  start_program "$DISK" setup.exe /quiet /verify "$@"
  wait_setup
  expect_exit_code "$code"
  grep -qF "Driver state: $state" "$SCEN/launch.out" ||
    fail "setup.exe /verify printed: $(tr -d '\r' <"$SCEN/launch.out")"
}

# A driver that loads, unlike the disk's, by its bytes: the stand-in with a tail.
use_driver() {
  cp "$1" "$DISK/mlxidecd.SYS"
}

check_logs() { find "$WINEPREFIX/drive_c" -name 'Merlox IDE CD-ROM Drive check *.log' | wc -l; }

case $1 in
  check-restored)
    scenario_begin "$1"
    cp "$DISK/mlxidecd.SYS" "$SCEN/good.SYS"
    session_begin
    install
    restart
    [[ $(entry_value DriverState) == running ]] || fail "the good driver: '$(entry_value DriverState)'"
    use_driver "$WINE_TEST_FAILING_DRIVER"
    install
    cmp -s "$WINEPREFIX/drive_c/$KEPT_DRIVER" "$SCEN/good.SYS" || fail "the running driver was not kept"
    restart
    [[ $(entry_value DriverState) == 'previous version 1.0.0.0 restored' ]] ||
      fail "DriverState: '$(entry_value DriverState)'"
    cmp -s "$DRIVERS/mlxidecd.SYS" "$SCEN/good.SYS" || fail "DRIVERS\\mlxidecd.SYS is not the previous driver"
    [[ ! -e $WINEPREFIX/drive_c/$KEPT_DRIVER ]] || fail "the kept driver is still in the product's folder"
    [[ $(entry_value DisplayVersion) == 1.0.0.0 ]] || fail "DisplayVersion: '$(entry_value DisplayVersion)'"
    expect_service
    (($(check_logs) == 2)) || fail "expected one check after each restart, saw $(check_logs) check logs"
    verify 3010 'previous version 1.0.0.0 restored'
    # The next restart loads the driver put back.
    session_end
    persistent_session
    robot service mlxidecd running 30000
    verify 0 running
    [[ $(entry_value DriverState) == running ]] || fail "/verify left DriverState '$(entry_value DriverState)'"
    ! check_registered || fail "a check was left for a later start"
    ;;

  check-no-previous)
    scenario_begin "$1"
    use_driver "$WINE_TEST_FAILING_DRIVER"
    session_begin
    install
    verify 3010 'check pending'
    restart
    [[ $(entry_value DriverState) =~ ^not\ started\ \(code\ [0-9]+\)$ ]] ||
      fail "DriverState: '$(entry_value DriverState)'"
    cmp -s "$DRIVERS/mlxidecd.SYS" "$WINE_TEST_FAILING_DRIVER" || fail "the driver file was changed"
    ! entry_value PreviousDriver >/dev/null || fail "a previous driver is named: $(entry_value PreviousDriver)"
    expect_service_state stopped
    verify 1603 "$(entry_value DriverState)"
    verify 1603 "$(entry_value DriverState)" /restore
    cmp -s "$DRIVERS/mlxidecd.SYS" "$WINE_TEST_FAILING_DRIVER" || fail "/restore changed the driver file"
    ;;

  check-running)
    scenario_begin "$1"
    { cat "$DISK/mlxidecd.SYS"; printf 'the same driver, built again\n'; } >"$SCEN/newer.SYS"
    session_begin
    install
    restart
    use_driver "$SCEN/newer.SYS"
    install
    [[ -e $WINEPREFIX/drive_c/$KEPT_DRIVER ]] || fail "the replaced driver was not kept"
    entry_value InstalledFiles | grep -qF 'mlxidecd.previous.SYS' || fail "InstalledFiles lacks the kept driver"
    restart
    [[ $(entry_value DriverState) == running ]] || fail "DriverState: '$(entry_value DriverState)'"
    cmp -s "$DRIVERS/mlxidecd.SYS" "$SCEN/newer.SYS" || fail "DRIVERS\\mlxidecd.SYS is not the new driver"
    [[ ! -e $WINEPREFIX/drive_c/$KEPT_DRIVER ]] || fail "the kept driver was not removed"
    ! entry_value PreviousDriver >/dev/null || fail "PreviousDriver is still there"
    ! entry_value InstalledFiles | grep -qF '.previous.' || fail "InstalledFiles still records the kept files"
    verify 0 running
    # The uninstaller takes a check that still waits along.
    { cat "$SCEN/newer.SYS"; printf 'and again\n'; } >"$DISK/mlxidecd.SYS"
    install
    LOG=$WINEPREFIX/drive_c/uninstall.log
    start_program "$WINEPREFIX/drive_c" "$PRODUCT_DIR_WIN\\uninstall.exe" /quiet /log 'C:\uninstall.log'
    wait_setup
    expect_exit_code 0 3010
    ! check_registered || fail "the uninstaller left the check: $(tr -d '\r' <"$SCEN/check-key.out")"
    ;;

  *) fail "unknown scenario $1" ;;
esac
say "PASS $1"
