#!/usr/bin/env bash
# The uninstall entry's record of every placed file (size and SHA-256): an
# edited entry costs no file that is not ours, a removal killed part way is
# finished by the next run, and the same disk again changes nothing.
source "$(dirname "$0")/lib.sh"

readonly DRIVERS_WIN='C:\windows\system32\drivers'

uninstall_quietly() {
  start_program "$WINEPREFIX/drive_c" "$PRODUCT_DIR_WIN\\uninstall.exe" /quiet /log "$1"
}

# add_disk_files <n>: n more files in [System Files], f0001.sys on, each the
# stand-in driver with its name appended: an image without a certificate
# table, whose signature check costs nothing (a data file's costs WinVerifyTrust).
add_disk_files() {
  local i name
  for ((i = 1; i <= $1; i++)); do
    printf -v name 'f%04d.sys' "$i"
    { cat "$DISK/mlxidecd.SYS"; printf 'file %s of the disk\n' "$name"; } >"$DISK/$name"
    printf '%s = %s\r\n' "${name%.sys}" "$name"
  done >"$SCEN/records.inf"
  sed -i "/^mlxidecd = /r $SCEN/records.inf" "$DISK/setup.inf"
}

# The entry as a reviewer edits it: system drivers, a 930-character path under
# DRIVERS, a 900-character one elsewhere, and more items past 20 KB.
edit_entry() {
  local files long_drivers long_elsewhere i
  files=$(entry_value InstalledFiles) || fail "no InstalledFiles in the entry"
  long_drivers="$DRIVERS_WIN\\$(printf 'A%.0s' $(seq $((930 - ${#DRIVERS_WIN} - 1))))"
  long_elsewhere="C:\\windows\\$(printf 'B%.0s' $(seq 889))"
  files+="\\0$DRIVERS_WIN\\scsiport.sys\\0$DRIVERS_WIN\\ndis.sys\\0$long_drivers\\0$long_elsewhere"
  for ((i = 0; ${#files} < 21000; i++)); do files+="\\0C:\\Other Program\\library$i.dll"; done
  wine reg add "$UNINSTALL_KEY" /v InstalledFiles /t REG_MULTI_SZ /d "$files" /f >"$SCEN/reg-add.out" 2>&1 ||
    fail "reg add InstalledFiles: $(cat "$SCEN/reg-add.out")"
  LONG_DRIVERS=$long_drivers
  LONG_ELSEWHERE=$long_elsewhere
}

# expect_log_names <text>...: a warning of the log names each.
expect_log_names() {
  local text
  grep 'Warning: ' "$LOG" >"$SCEN/warnings.log" || true
  for text in "$@"; do
    grep -qiF -- "$text" "$SCEN/warnings.log" || fail "log: no warning names ${text:0:60}..."
  done
}

case $1 in
  record-edited-entry)
    scenario_begin "$1"
    add_disk_files 1
    session_begin
    for name in scsiport.sys ndis.sys; do
      [[ -f $DRIVERS/$name ]] || printf 'a system driver\n' >"$DRIVERS/$name"
    done
    sha256sum "$DRIVERS/scsiport.sys" "$DRIVERS/ndis.sys" >"$SCEN/system.sha"
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    driver_sha=$(sha256sum <"$DRIVERS/mlxidecd.SYS" | cut -d' ' -f1)
    entry_value InstalledFiles | grep -qiF "$driver_sha 5120 $DRIVERS_WIN\mlxidecd.SYS" ||
      fail "InstalledFiles lacks the driver's size and SHA-256: $(entry_value InstalledFiles | head -c 300)"
    # A re-install reads the edited entry and keeps none of it.
    edit_entry
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    [[ $(entry_value InstalledFiles) != *scsiport* && $(entry_value InstalledFiles) != *AAAA* ]] ||
      fail "the re-install kept the edited items: $(entry_value InstalledFiles | head -c 400)"
    # Edited again, and a file of ours replaced since: the uninstaller takes
    # only what is still its own and names the rest.
    edit_entry
    printf 'replaced by someone\n' >"$DRIVERS/f0001.sys"
    LOG=$WINEPREFIX/drive_c/uninstall.log
    uninstall_quietly 'C:\uninstall.log'
    wait_setup
    expect_exit_code 3010
    expect_outcome 'Outcome: SUCCESS \(restart pending\)'
    sha256sum -c --quiet "$SCEN/system.sha" || fail "a system driver was removed or changed"
    [[ -f $DRIVERS/f0001.sys ]] || fail "the replaced f0001.sys was removed"
    expect_log_names "$DRIVERS_WIN\\scsiport.sys" "$DRIVERS_WIN\\ndis.sys" "$LONG_DRIVERS" \
      "$LONG_ELSEWHERE" "$DRIVERS_WIN\\f0001.sys is not the file setup installed"
    expect_no_service
    ! entry_value DisplayName >/dev/null || fail "the uninstall entry is still there"
    wine wineboot -r >"$SCEN/wineboot.out" 2>&1 || fail "wineboot -r: $(cat "$SCEN/wineboot.out")"
    [[ ! -e "$WINEPREFIX/drive_c/Program Files/Merlox IDE CD-ROM Drive" ]] ||
      fail "the product's folder is still there after the boot"
    [[ -z $(find "$DRIVERS/" -maxdepth 1 -iname mlxidecd.sys) ]] || fail "the driver file is still there"
    ;;

  record-killed-uninstall)
    # 2,000 files: installed, the removal killed among them, then finished by
    # the disk's own uninstaller.
    scenario_begin "$1"
    add_disk_files 2000
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    (($(new_driver_files | wc -l) == 2001)) || fail "expected 2001 files added to DRIVERS, saw $(new_driver_files | wc -l)"
    LOG=$WINEPREFIX/drive_c/uninstall.log
    uninstall_quietly 'C:\uninstall.log'
    wait_for "the removal to reach the recorded files" 60 grep -q 'Removed: .*f0001.sys' "$LOG"
    kill -KILL "$(setup_process uninstall.exe)" || fail "no uninstall.exe to kill"
    wait "$SETUP_PID" || true
    SETUP_PID=""
    [[ $(entry_value RemovalProgress) == 'service, driver file' ]] ||
      fail "RemovalProgress: expected 'service, driver file', saw '$(entry_value RemovalProgress)'"
    left=$(find "$DRIVERS/" -maxdepth 1 -name 'f[0-9][0-9][0-9][0-9].sys' | wc -l)
    ((left > 0)) || fail "the kill came after every file was removed: nothing was interrupted"
    LOG=$WINEPREFIX/drive_c/uninstall-again.log
    start_program "$DISK" uninstall.exe /quiet /log 'C:\uninstall-again.log'
    wait_setup
    expect_exit_code 0 3010
    grep -qF 'An earlier removal stopped before it had finished; it had removed: service, driver file.' "$LOG" ||
      fail "log: the earlier removal is not named"
    [[ -z $(find "$DRIVERS/" -maxdepth 1 -name 'f[0-9][0-9][0-9][0-9].sys') ]] ||
      fail "files of the disk are left in DRIVERS: $(find "$DRIVERS/" -maxdepth 1 -name 'f[0-9][0-9][0-9][0-9].sys' | wc -l)"
    expect_no_service
    ! entry_value DisplayName >/dev/null || fail "the uninstall entry is still there"
    say "$left of 2000 files were left by the killed removal; the second removed them"
    ;;

  record-same-disk-again)
    # The same disk twice, the driver loaded in between: the second run
    # changes nothing and needs no restart.
    scenario_begin "$1"
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    session_end
    persistent_session
    robot service mlxidecd running 30000
    rm -f "$LOG"
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 0
    expect_outcome 'Outcome: SUCCESS'
    expect_dialog_logged "$DLG_INSTALLED" 1
    grep -q 'Unchanged: .*mlxidecd.SYS' "$LOG" || fail "log: expected the driver left unchanged"
    ! grep -qi 'Copied: .*\\drivers\\' "$LOG" || fail "log: a driver was copied: $(grep -i 'Copied: .*drivers' "$LOG")"
    # The uninstaller's files are the disk's already: none is copied again.
    [[ $(grep -c 'Unchanged: .*Merlox IDE CD-ROM Drive\\' "$LOG") == 7 ]] ||
      fail "log: expected the uninstaller's 7 files left unchanged: $(grep 'Merlox IDE CD-ROM Drive\\' "$LOG")"
    ! grep -q 'Copied: .*Merlox IDE CD-ROM Drive\\' "$LOG" || fail "log: an uninstaller file was copied again"
    if wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
      /v PendingFileRenameOperations >"$SCEN/pending.out" 2>&1; then
      ! grep -qi 'mlxidecd\|~stf' "$SCEN/pending.out" || fail "a rename waits for the boot: $(cat "$SCEN/pending.out")"
    fi
    expect_driver_installed
    ;;

  *) fail "unknown scenario $1" ;;
esac
say "PASS $1"
