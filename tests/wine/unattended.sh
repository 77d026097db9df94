#!/usr/bin/env bash
# Unattended deployment as a deployment tool runs it: every quiet command
# line ends by itself with Windows Installer's exit code, and so does a
# passive one that shows its progress; the install leaves an uninstall entry
# that a tool can detect, the quiet uninstall removes the driver, and a
# second setup beside a running one touches nothing.
source "$(dirname "$0")/lib.sh"

readonly QUIET_CODES='^(1603|1622|1639|3010)$'  # what a quiet run of this disk may end with

expect_entry() {
  local name value
  for name in DisplayName DisplayVersion Publisher InstallDate EstimatedSize NoModify NoRepair \
    UninstallString QuietUninstallString; do
    value=$(entry_value "$name") || fail "uninstall entry: expected $name, saw: $(cat "$SCEN/entry.out")"
    [[ -n $value ]] || fail "uninstall entry: $name is empty"
  done
  [[ $(entry_value DisplayName) == 'Merlox IDE CD-ROM Drive' ]] ||
    fail "uninstall entry: DisplayName is '$(entry_value DisplayName)'"
  local installed version
  installed=$(find "$DRIVERS/" -maxdepth 1 -iname mlxidecd.sys -printf '%f')
  robot fileversion "C:\\windows\\system32\\drivers\\$installed"
  version=$(tr -d '\r' <"$SCEN/robot.out" | sed -n 's/^file version //p')
  [[ $(entry_value DisplayVersion) == "$version" ]] ||
    fail "uninstall entry: DisplayVersion $(entry_value DisplayVersion) is not the driver's file version $version"
  say "uninstall entry: DisplayVersion $version, $(entry_value QuietUninstallString)"
}

# The driver file is gone, or Windows deletes it at the next boot.
expect_driver_removed() {
  local installed
  installed=$(find "$DRIVERS/" -maxdepth 1 -iname mlxidecd.sys -printf '%f')
  [[ -z $installed ]] && return
  wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
    /v PendingFileRenameOperations >"$SCEN/pending.out" 2>&1
  grep -qi 'mlxidecd.sys' "$SCEN/pending.out" ||
    fail "the driver file $installed is still there and not queued for deletion at the next boot"
}

# run_each <file>: every line of the file is a command line run from the
# disk folder; each must end by itself within 15 s with a code of QUIET_CODES.
run_each() {
  (cd "$DISK" && timeout 1200 wine "$WINE_TEST_LAUNCH" --each 15000 "$(windows_path "$1")") \
    >"$SCEN/each.out" 2>"$SCEN/each.err" || true
  local lines runs bad
  lines=$(grep -c . "$1")
  runs=$(tr -d '\r' <"$SCEN/each.out" | grep -cP '^(-?\d+|timeout)\t' || true)
  ((runs == lines)) || fail "ran $runs of $lines command lines: $(tail -n 5 "$SCEN/each.out" "$SCEN/each.err")"
  bad=$(tr -d '\r' <"$SCEN/each.out" | awk -F'\t' -v ok="$QUIET_CODES" '$1 !~ ok')
  [[ -z $bad ]] || fail "command lines that waited or ended with another code (code, ms, line):
$bad"
  say "$runs quiet command lines, slowest $(tr -d '\r' <"$SCEN/each.out" | cut -f2 | sort -n | tail -n 1) ms"
}

# A few hundred quiet command lines, the same every run: switches known and
# unknown in any case, quoted or with values, values with blanks, unclosed
# quotes, overlong arguments, each with some spelling of the quiet switch.
generate_command_lines() {
  RANDOM=1207
  # /forcerestart only beside /norestart: a restart would end the session.
  local words=(/norestart "/forcerestart /NORESTART" -NoRestart /LOG /l "/log:C:\\g.log" "/l=\"C:\\a b.log\""
    /source "/source:C:\\nowhere" /help /? -? /bogus /passive /x /q:1 extra "\"unclosed"
    "C:\\g.log" '""' "/log C:\\no-such-folder\\x.log" "-log=C:\\g.log" "/SOURCE \"C:\\a b\"")
  local quiet=(/quiet /q /qn -Q /QUIET -qn '"/q"' '/quiet:yes' '-qn=1' /Qn)
  local long n i line
  long=$(printf 'x%.0s' {1..300})
  words+=("/log C:\\$long.log" "/$long" "\"$long")
  for ((n = 0; n < 300; n++)); do
    line=setup.exe
    local count=$((RANDOM % 5)) at=$((RANDOM % 5))
    for ((i = 0; i <= count; i++)); do
      ((i == at % (count + 1))) && line+=" ${quiet[RANDOM % ${#quiet[@]}]}"
      line+=" ${words[RANDOM % ${#words[@]}]}"
    done
    printf '%s\n' "$line"
  done
}

case $1 in
  unattended-command-lines)
    scenario_begin "$1"
    session_begin
    # What an administrator tried: each ended on a box that waited forever.
    declare -A expected=(
      ['/quiet /bogus']=1639
      ['/quiet /help']=1639
      ['/quiet /log C:\no-such-folder\setup.log']=1622
      ['/quiet /norestart /forcerestart']=1639
    )
    for args in "${!expected[@]}"; do
      # shellcheck disable=SC2086  # the switches, split as a shell does
      run_setup $args
      expect_exit_code "${expected[$args]}"
      grep -q 'Outcome: FAILED' "$SCEN/setup.err" ||
        fail "setup.exe $args: expected the reason on standard error, saw: $(cat "$SCEN/setup.err")"
    done
    # setup.exe in a folder whose path is near the limit: ends with a reason.
    far=$(printf 'a%.0s' {1..60})/$(printf 'b%.0s' {1..60})/$(printf 'c%.0s' {1..60})/$(printf 'd%.0s' {1..62})
    mkdir -p "$WINEPREFIX/drive_c/$far"
    cp -p "$DISK"/* "$WINEPREFIX/drive_c/$far/"
    start_program "$WINEPREFIX/drive_c/$far" "C:\\${far//\//\\}\\setup.exe" /quiet
    wait_setup
    expect_exit_code 1603 3010
    generate_command_lines >"$SCEN/lines.txt"
    run_each "$SCEN/lines.txt"
    ;;

  unattended-lifecycle)
    scenario_begin "$1"
    session_begin
    # Started by its full path from another folder, as a scheduled task does.
    start_program "$WINEPREFIX/drive_c/windows" "$(windows_path "$DISK")\\setup.exe" /quiet /log "$LOG_WIN"
    wait_setup
    expect_exit_code 3010
    expect_outcome "$OUTCOME_INSTALLED"
    expect_driver_installed
    expect_service
    expect_entry
    # The disk is gone by the time someone uninstalls.
    rm -rf "$DISK"
    quiet_uninstall=$(entry_value QuietUninstallString)
    [[ $quiet_uninstall == "\"$PRODUCT_DIR_WIN\\uninstall.exe\" /quiet" ]] ||
      fail "QuietUninstallString: $quiet_uninstall"
    start_program "$WINEPREFIX/drive_c" "$PRODUCT_DIR_WIN\\uninstall.exe" /quiet /log 'C:\uninstall.log'
    wait_setup
    expect_exit_code 0 3010
    LOG=$WINEPREFIX/drive_c/uninstall.log
    expect_outcome 'Outcome: SUCCESS( \(restart pending\))?'
    expect_no_service
    expect_driver_removed
    ! entry_value DisplayName >/dev/null || fail "the uninstall entry is still there"
    # Nothing left to remove.
    start_program "$WINEPREFIX/drive_c" "$PRODUCT_DIR_WIN\\uninstall.exe" /quiet
    wait_setup
    expect_exit_code 1605
    ;;

  unattended-busy)
    scenario_begin "$1"
    session_begin
    start_setup /log "$LOG_WIN"
    await "$DLG_WELCOME"
    first=$SETUP_PID
    (cd "$DISK" && timeout 30 wine "$WINE_TEST_LAUNCH" 15000 setup.exe /quiet /log 'C:\second.log') \
      >"$SCEN/second.out" 2>"$SCEN/second.err"
    grep -q 'exit code 1618' "$SCEN/second.out" ||
      fail "the second setup: expected exit code 1618, saw: $(cat "$SCEN/second.out" "$SCEN/second.err")"
    [[ ! -e $WINEPREFIX/drive_c/second.log ]] || fail "the second setup wrote a log"
    # With windows: one box that says why, and no second one after it.
    (cd "$DISK" && timeout 30 wine "$WINE_TEST_LAUNCH" 15000 setup.exe) \
      >"$SCEN/third.out" 2>"$SCEN/third.err" &
    third=$!
    answer 0 1  # "Another setup is running": OK
    wait "$third" || true
    grep -q 'exit code 0' "$SCEN/third.out" ||
      fail "the second setup with windows: expected exit code 0 after one box, saw: $(cat "$SCEN/third.out")"
    SETUP_PID=$first
    robot press "$DLG_WELCOME" "$IDC_CANCEL"
    answer "$DLG_QUIT" "$IDC_EXIT"
    wait_setup
    expect_exit_code 0
    expect_drivers_unchanged
    ;;

  unattended-passive)
    # The frame, the billboard and the gauge show; no dialog waits, and the
    # run ends as a quiet one does.
    scenario_begin "$1"
    truncate -s 64M "$DISK/mlxidecd.SYS"  # so that the gauge is caught part way
    session_begin
    start_setup /passive /log "$LOG_WIN"
    hold_copy
    [[ $GAUGE == 'gauge "Copying mlxidecd.SYS: '* ]] || fail "the gauge does not name the file: $GAUGE"
    screenshot copy
    release_copy
    wait_setup
    expect_exit_code 3010
    expect_outcome 'Outcome: SUCCESS \(restart pending\)'
    expect_dialog_logged "$DLG_WELCOME" 1
    expect_dialog_logged "$DLG_RESTART" 1
    expect_driver_installed
    expect_service
    # A disk without its driver: the box that names the missing file does not wait.
    rm "$DISK/mlxidecd.SYS"
    SETUP_TIMEOUT=20
    run_setup /passive /log 'C:\missing.log'
    expect_exit_code 1603
    ;;

  interactive-uninstall)
    scenario_begin "$1"
    session_begin
    run_setup /quiet
    expect_exit_code 3010
    # Cancel keeps everything; Remove removes it; a person gets exit code 0.
    # The uninstaller runs from the folder it removes, which Windows lets go
    # of at the next boot: the restart question, answered "later".
    start_program "$WINEPREFIX/drive_c" "$PRODUCT_DIR_WIN\\uninstall.exe"
    answer "$DLG_REMOVE_CONFIRM" "$IDC_CANCEL"
    wait_setup
    expect_exit_code 0
    expect_service
    start_program "$WINEPREFIX/drive_c" "$PRODUCT_DIR_WIN\\uninstall.exe"
    answer "$DLG_REMOVE_CONFIRM" "$IDC_CONTINUE"
    answer "$DLG_REMOVED_RESTART" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    expect_no_service
    expect_driver_removed
    ;;

  *) echo "unattended.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
say "PASS $1"
