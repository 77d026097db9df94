#!/usr/bin/env bash
# Unattended installs: /quiet answers every dialog with its default button.
source "$(dirname "$0")/lib.sh"

# The robot's check may itself be ended by the restart's first phase: try again.
driver_running() {
  local rc=0
  run_robot service mlxidecd running 1000 || rc=$?
  WAIT_SEEN=$(tr -d '\r' <"$SCEN/robot.out" | paste -sd ' ')
  ((rc == 0))
}

quiet_install() {
  run_setup /quiet /log "$LOG_WIN" "$@"
}

# A successful install that leaves the restart for later: 3010 tells a
# deployment tool that the driver loads at the next boot.
expect_installed() {
  expect_exit_code 3010
  expect_outcome "$OUTCOME_INSTALLED"
  expect_driver_installed
  expect_service
}

# A 32-bit program's system32 is syswow64 unless it asks otherwise.
expect_not_in_syswow64() {
  local wow64_drivers=$WINEPREFIX/drive_c/windows/syswow64/drivers
  if [[ -d $wow64_drivers && -n $(find "$wow64_drivers/" -maxdepth 1 -iname mlxidecd.sys) ]]; then
    fail "the driver went to C:\\windows\\syswow64\\drivers; expected C:\\windows\\system32\\drivers, which the service's image path names"
  fi
}

case $1 in
  quiet-fresh)
    scenario_begin "$1"
    session_begin
    quiet_install
    expect_installed
    expect_dialog_logged "$DLG_RESTART" 1
    # No restart asked for: the driver waits for the next boot.
    expect_service_state stopped
    ;;

  quiet-rerun)
    scenario_begin "$1"
    session_begin
    quiet_install
    expect_installed
    # Someone moved the driver and made it demand-start by hand, then rebooted.
    moved='System32\drivers\mlxidecd.SYS'
    wine reg add "$SERVICE_KEY" /v ImagePath /t REG_EXPAND_SZ /d "$moved" /f >"$SCEN/reg-add.out" 2>&1 ||
      fail "reg add ImagePath: $(cat "$SCEN/reg-add.out")"
    wine reg add "$SERVICE_KEY" /v Start /t REG_DWORD /d 3 /f >"$SCEN/reg-add.out" 2>&1 ||
      fail "reg add Start: $(cat "$SCEN/reg-add.out")"
    session_end
    # A newer driver on the disk this time, so that the copy is seen to happen.
    head -c 512 /dev/zero >>"$DISK/mlxidecd.SYS"
    persistent_session
    snapshot_drivers
    expect_service Start=3 ImagePath="$moved"
    quiet_install
    expect_exit_code 3010
    expect_outcome "$OUTCOME_INSTALLED"
    expect_driver_installed
    expect_service ImagePath="$moved"  # and Start back to 1
    # The configuration kept is logged; the relative path names the file installed.
    grep -qF "image \"$moved\"" "$LOG" ||
      fail "log: expected the existing service's image path, saw: $(tr -d '\r' <"$LOG")"
    ! grep -q 'Warning: service' "$LOG" || fail "log: a warning about an image path that names the file"
    ;;

  quiet-restart)
    scenario_begin "$1"
    session_begin
    quiet_install /forcerestart
    # Wine's restart ends every program of the session, then boots it again;
    # only that boot loads a system-start driver within this session.
    wait_for "the driver loaded by Wine's restart" 30 driver_running
    # 1641 when setup ended before Wine's restart ended it.
    expect_exit_code 1641 killed
    expect_outcome 'Outcome: (RESTARTING|SUCCESS \(restarting.*\))'
    expect_driver_installed
    expect_service
    # And at every boot after it.
    session_end
    persistent_session
    robot service mlxidecd running 30000
    ;;

  quiet-dbcs-path)
    # 0x95 0x5C is one character in code page 932; its trail byte is a backslash.
    scenario_begin "$1" 'ドライバ表'
    use_locale ja_JP UTF-8
    session_begin
    expect_code_page 932
    quiet_install
    expect_installed
    ;;

  quiet-cp1252-path)
    # A-umlaut is 0xE4 in ANSI code page 1252; read again as OEM 850 it would
    # be another letter, and the INF file would not be found.
    scenario_begin "$1" 'Gerät'
    use_locale de_DE UTF-8
    session_begin
    expect_code_page 1252
    quiet_install
    expect_installed
    ;;

  quiet-cp936-path)
    # The folder name ends in 0xB5 0x5C, one character in code page 936.
    scenario_begin "$1" '驱动程序礬'
    use_locale zh_CN UTF-8
    session_begin
    expect_code_page 936
    quiet_install
    expect_installed
    ;;

  quiet-empty-section)
    # A [System Files] that lists nothing: nothing to copy, and the service
    # is not registered, since the file it would name is not there.
    scenario_begin "$1"
    sed -i '/^mlxidecd = /d' "$DISK/setup.inf"
    session_begin
    quiet_install
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED \(.*mlxidecd.SYS is not in place.*\)'
    expect_drivers_unchanged
    expect_no_service
    ;;

  quiet-win64)
    # The 32-bit stand-in can never load on 64-bit Windows: refused, nothing changed.
    scenario_begin "$1"
    session_begin
    quiet_install
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED \(.*made for 32-bit.*\)'
    grep -q 'made for 32-bit (x86) Windows. This computer runs 64-bit (x64) Windows' "$LOG" ||
      fail "log: expected the refusal of the 32-bit driver, saw: $(tr -d '\r' <"$LOG")"
    expect_drivers_unchanged
    expect_not_in_syswow64
    expect_no_service
    ;;

  quiet-win64-x64-driver)
    # A disk that carries the driver for x86-64 installs it where the service
    # looks, and every boot loads it.
    scenario_begin "$1"
    cp "$WINE_TEST_DRIVER_X64" "$DISK/mlxidecd.SYS"
    session_begin
    quiet_install
    expect_not_in_syswow64
    expect_installed
    # Wine marks a service that a 32-bit program created with WOW64=1 and then
    # loads its driver in a 32-bit device host, where an x86-64 driver cannot
    # load; Windows has no such mark. Removed to see the boot Windows would do.
    wine reg delete "$SERVICE_KEY" /v WOW64 /f >"$SCEN/reg-delete.out" 2>&1 ||
      fail "reg delete WOW64: $(cat "$SCEN/reg-delete.out")"
    session_end
    persistent_session
    robot service mlxidecd running 30000
    ;;

  *) echo "quiet.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
say "PASS $1"
