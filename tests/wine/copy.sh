#!/usr/bin/env bash
# copy.sh copy-<case>: the copy as one transaction (a full disk, a killed
# run) and the file record's vital flag and version fields, on quiet installs.
source "$(dirname "$0")/lib.sh"

: "${WINE_TEST_IMAGES:?set by ctest: the folder of the versioned test images}"

readonly JOURNAL='~stfcopy.jnl'
SET=()  # the names of the copy set, mlxidecd.SYS first

# use_inf <record line...>: setup.inf's [System Files] holds these lines.
use_inf() {
  {
    printf '[Version]\r\nSignature = "$Windows NT$"\r\n[System Files]\r\n'
    printf '%s\r\n' "$@"
  } >"$DISK/setup.inf"
}

# make_set <n> <bytes>: n files on the disk, each <bytes> long and starting
# with its own name, and an older set of the same names already installed.
make_set() {
  local n=$1 bytes=$2 i name lines=()
  SET=()
  for ((i = 1; i <= n; i++)); do
    name=$([[ $i == 1 ]] && echo mlxidecd.SYS || echo "part$i.sys")
    SET+=("$name")
    lines+=("f$i = $name")
    # The driver stays a driver image (setup refuses one that is not), padded.
    [[ $i == 1 ]] || printf 'new %s\n' "$name" >"$DISK/$name"
    truncate -s "$bytes" "$DISK/$name"
    printf 'old %s\n' "$name" >"$DRIVERS/$name"
  done
  mkdir -p "$SCEN/old"
  for name in "${SET[@]}"; do cp "$DRIVERS/$name" "$SCEN/old/"; done
  use_inf "${lines[@]}"
}

# The set in the drivers directory: "old", "new" or "mixed".
set_state() {
  local name old=0 new=0
  for name in "${SET[@]}"; do
    if cmp -s "$DRIVERS/$name" "$SCEN/old/$name"; then
      old=$((old + 1))
    elif cmp -s "$DRIVERS/$name" "$DISK/$name"; then
      new=$((new + 1))
    fi
  done
  if ((old == ${#SET[@]})); then echo old
  elif ((new == ${#SET[@]})); then echo new
  else echo "mixed ($old old, $new new of ${#SET[@]})"
  fi
}

expect_set() {
  local state
  state=$(set_state)
  [[ $state == "$1" ]] || fail "the driver set: expected it wholly $1, saw $state"
  say "driver set: wholly $1"
}

# Nothing but the set's own names: no staged file, staging folder or journal.
expect_no_stray_file() {
  local added
  added=$(new_driver_files)
  [[ -z $added ]] || fail "C:\\windows\\system32\\drivers: expected no other files, saw [${added//$'\n'/, }]"
}

quiet_install() {
  run_setup /quiet /log "$LOG_WIN"
}

case $1 in
  copy-disk-full-3-of-6)
    # Room for every byte but not for every file: the free-space check passes
    # and the third staged file meets a full disk (ENOSPC, as for bytes).
    scenario_begin "$1"
    make_set 6 $((256 * 1024))
    drivers_on_tmpfs $(($(du -sk "$DRIVERS" | cut -f1) + 16 * 1024))
    used=$(df --output=iused "$SCEN/drivers-mount" | tail -n 1 | tr -d " ")
    # The journal, the staging folder and its first group, two staged files.
    mount -o "remount,nr_inodes=$((used + 5))" "$SCEN/drivers-mount" ||
      skip "cannot limit the inodes of the tmpfs"
    session_begin
    quiet_install
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED \(.+\)'
    expect_error_logged 112
    # Where exactly the inodes run out depends on when Wine lets go of a file
    # it has closed; under load a file sooner. Either way, in the middle of the set.
    grep -qE "part[23].sys" <(grep 'Error: ' "$LOG") ||
      fail "log: expected the failure at part2.sys or part3.sys: $(grep 'Error: ' "$LOG")"
    expect_set old
    expect_no_stray_file
    # With room again the next run installs the whole set.
    mount -o "remount,nr_inodes=$((used + 100))" "$SCEN/drivers-mount"
    quiet_install
    expect_outcome "$OUTCOME_INSTALLED"
    expect_set new
    expect_no_stray_file
    ;;

  copy-kill-and-rerun)
    scenario_begin "$1"
    make_set 6 $((48 * 1024 * 1024))
    session_begin
    start_setup /quiet /log "$LOG_WIN"
    staged() { (($(find "$DRIVERS/" -name '*.new' | wc -l) >= 3)); }
    wait_for "the third file to be staged" 30 staged
    victim=$(setup_process)
    [[ -n $victim ]] || fail "no process of setup.exe in this prefix"
    kill -9 "$victim"
    wait_setup
    state=$(set_state)
    [[ $state == old || $state == new ]] || fail "after kill -9: the set is $state"
    [[ -f $DRIVERS/$JOURNAL ]] || fail "after kill -9: no journal $JOURNAL in the drivers directory"
    say "after kill -9: the set is wholly $state, with its journal"
    quiet_install
    expect_outcome "$OUTCOME_INSTALLED"
    grep -q 'An interrupted copy was found' "$LOG" || fail "log: the rerun did not report the interrupted copy"
    expect_set new
    expect_no_stray_file
    expect_service
    ;;

  copy-non-vital-missing)
    scenario_begin "$1"
    use_inf 'mlxidecd = mlxidecd.SYS' 'extra = extra.dll,,,,,,,,,,,,,, 0'
    session_begin
    quiet_install
    expect_exit_code 3010
    expect_outcome "$OUTCOME_INSTALLED"
    expect_error_logged 2
    grep -q 'Skipped .*extra.dll: the file is not vital' "$LOG" || fail "log: no line on the skipped extra.dll"
    expect_driver_installed
    expect_service
    ;;

  copy-keep-newer)
    scenario_begin "$1"
    cp "$WINE_TEST_IMAGES/image-1.0.0.0.sys" "$DISK/mlxidecd.SYS"
    cp "$WINE_TEST_IMAGES/image-3.10.0.61.sys" "$DRIVERS/mlxidecd.SYS"
    session_begin
    quiet_install
    expect_exit_code 3010
    expect_outcome "$OUTCOME_INSTALLED"
    cmp -s "$DRIVERS/mlxidecd.SYS" "$WINE_TEST_IMAGES/image-3.10.0.61.sys" ||
      fail "the installed driver 3.10.0.61 was replaced by the older 1.0.0.0 of the disk"
    grep -q 'Kept .*mlxidecd.SYS: the installed version 3.10.0.61 is newer than 1.0.0.0' "$LOG" ||
      fail "log: no line on the kept driver"
    expect_no_stray_file
    expect_service
    ;;

  copy-keep-newer-interactive)
    # Setup asks; Enter takes the default answer, which keeps the newer file.
    scenario_begin "$1"
    cp "$WINE_TEST_IMAGES/image-1.0.0.0.sys" "$DISK/mlxidecd.SYS"
    cp "$WINE_TEST_IMAGES/image-3.10.0.61.sys" "$DRIVERS/mlxidecd.SYS"
    session_begin
    start_setup /log "$LOG_WIN"
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    answer_key 0 enter  # the question (a message box has no dialog number)
    answer "$DLG_RESTART" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    expect_outcome "$OUTCOME_INSTALLED"
    cmp -s "$DRIVERS/mlxidecd.SYS" "$WINE_TEST_IMAGES/image-3.10.0.61.sys" ||
      fail "the default answer replaced the installed driver 3.10.0.61 by the older 1.0.0.0"
    grep -q 'Kept .*mlxidecd.SYS' "$LOG" || fail "log: no line on the kept driver"
    expect_no_stray_file
    ;;

  copy-wrong-disk)
    # The record asks for at least 3.10.0.61; the disk holds 1.0.0.0.
    scenario_begin "$1"
    cp "$WINE_TEST_IMAGES/image-1.0.0.0.sys" "$DISK/mlxidecd.SYS"
    use_inf 'mlxidecd = mlxidecd.SYS,,,,,,,,,,,,,,,,,, 3.10.0.61'
    session_begin
    quiet_install
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED \(.+\)'
    expect_error_logged 1306
    expect_drivers_unchanged
    expect_no_service
    ;;

  copy-damaged-journal)
    # An earlier copy's journal without its last lines: setup must not guess.
    scenario_begin "$1"
    make_set 2 4096
    stage='C:\windows\system32\drivers\~stf00c0ffee.tmp'
    mkdir -p "$DRIVERS/~stf00c0ffee.tmp/0"
    printf 'old copy\n' >"$DRIVERS/~stf00c0ffee.tmp/0/0.old"
    printf 'STF copy journal 2\ndir C:\\windows\\system32\\drivers\\\nstate commit\nstage %s\n' \
      "$stage" >"$DRIVERS/$JOURNAL"
    fingerprint() { (cd "$DRIVERS" && find . -type f -print0 | sort -z | xargs -0 sha1sum); }
    fingerprint >"$SCEN/before.sha1"
    session_begin
    quiet_install
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED \(.+\)'
    expect_error_logged 13
    grep -qiF "The journal C:\windows\system32\drivers\\$JOURNAL of an earlier copy cannot be trusted" "$LOG" ||
      fail "log: the error does not name the journal: $(grep 'Error: ' "$LOG")"
    grep -q 'delete the journal and run setup again' "$LOG" || fail "log: no word on what to do"
    ! grep -q 'An interrupted copy was found' "$LOG" || fail "log: the damaged journal was acted on"
    fingerprint | cmp -s - "$SCEN/before.sha1" || fail "the drivers directory changed"
    expect_no_service
    ;;

  copy-read-only-driver)
    # A read-only driver is replaced like any other; nothing named ~stf is
    # left after any run or restart.
    scenario_begin "$1"
    session_begin
    no_staging_left() {
      local left
      left=$(find "$DRIVERS/" -maxdepth 1 -iname '~stf*' -printf '%f ')
      [[ -z $left ]] || fail "after $1: left in the drivers directory: $left"
    }
    reboot() {
      wine wineboot -r >"$SCEN/wineboot.log" 2>&1 || fail "wineboot -r: $(cat "$SCEN/wineboot.log")"
    }
    quiet_install
    expect_outcome "$OUTCOME_INSTALLED"
    no_staging_left "the first install"
    wine attrib +r 'C:\windows\system32\drivers\mlxidecd.SYS' >"$SCEN/attrib.log" 2>&1
    wine attrib 'C:\windows\system32\drivers\mlxidecd.SYS' >"$SCEN/attrib.log" 2>&1
    grep -q '^[^:]*R' "$SCEN/attrib.log" ||
      fail "attrib +r did not take: $(cat "$SCEN/attrib.log")"
    printf '\x01' >>"$DISK/mlxidecd.SYS"  # a new driver, to see that it was replaced
    quiet_install
    expect_outcome "$OUTCOME_INSTALLED"
    grep -q 'mlxidecd.SYS was read-only' "$LOG" || fail "log: no word on the read-only driver"
    ! grep -q 'is in use' "$LOG" || fail "log: the read-only driver was taken as in use"
    cmp -s "$DISK/mlxidecd.SYS" "$DRIVERS/mlxidecd.SYS" || fail "the read-only driver was not replaced"
    no_staging_left "the second install"
    reboot
    no_staging_left "the restart"
    start_program "$WINEPREFIX/drive_c" "$PRODUCT_DIR_WIN\\uninstall.exe" /quiet /log 'C:\uninstall.log'
    wait_setup
    expect_exit_code 0 3010
    no_staging_left "the uninstall"
    reboot
    no_staging_left "the last restart"
    ;;

  *) echo "copy.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
say "PASS $1"
