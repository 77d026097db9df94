#!/usr/bin/env bash
# The log that cannot be turned against the system, the log every run leaves,
# and the Application event of every install and removal.
source "$(dirname "$0")/lib.sh"

readonly PRODUCT='Merlox IDE CD-ROM Drive'
readonly SOURCE_KEY="HKLM\\System\\CurrentControlSet\\Services\\EventLog\\Application\\$PRODUCT"

# expect_one_event <id> <string>...: one ReportEventW call (Wine's event log is
# a stub that names each call on the advapi channel and prints its strings on
# the eventlog channel), with that event number and those strings among the
# product's name and version.
expect_one_event() {
  local id=$1 calls strings want
  shift
  calls=$(grep -c 'advapi:ReportEventW (' "$SCEN/setup.err" || true)
  ((calls == 1)) || fail "expected one event, saw $calls: $(grep 'ReportEventW (' "$SCEN/setup.err")"
  grep -qE "ReportEventW \([^,]*,[^,]*,[^,]*,0x0*$(printf '%x' "$id")," "$SCEN/setup.err" ||
    fail "expected event $id, saw: $(grep 'ReportEventW (' "$SCEN/setup.err")"
  strings=$(grep 'eventlog:ReportEventW' "$SCEN/setup.err" | tr -d '\r')
  for want in "$PRODUCT" 1.0.0.0 "$@"; do
    [[ $strings == *"$want"* ]] || fail "event $id lacks '$want': $strings"
  done
  say "event $id: $(paste -sd ' ' <<<"$strings")"
}

# The account's temporary folder, as the host sees it.
temp_dir() {
  local dir
  for dir in "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp "$WINEPREFIX"/drive_c/users/*/Temp; do
    [[ -d $dir ]] && { printf '%s' "$dir"; return; }
  done
  fail "no temporary folder under $WINEPREFIX/drive_c/users"
}

case $1 in
  trust-log-hard-link)
    # A file only administrators may change, and a second name for it where
    # anyone may write, given as the log.
    scenario_begin "$1"
    target=$WINEPREFIX/drive_c/windows/protected.ini
    printf '[keep]\r\nvalue=1\r\n' >"$target"
    before=$(sha256sum <"$target")
    ln "$target" "$WINEPREFIX/drive_c/setup.log"
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 1622
    [[ $(sha256sum <"$target") == "$before" ]] || fail "the linked file was changed: $(cat "$target")"
    grep -q 'hard links' "$SCEN/setup.err" ||
      fail "standard error does not say why: $(tail -c 1000 "$SCEN/setup.err")"
    expect_drivers_unchanged
    say "refused: $(grep 'hard links' "$SCEN/setup.err" | head -n 1)"
    ;;

  trust-run-log-and-events)
    # Without /log: a log of the run's own in the temporary folder, and one
    # event for the install and one for the removal.
    scenario_begin "$1"
    export WINEDEBUG=-all,+eventlog,fixme+advapi
    session_begin
    tmp=$(temp_dir)
    # The names of the next minute, planted as second names of another file:
    # the run takes a name of its own beside them and writes through none.
    planted=$WINEPREFIX/drive_c/windows/planted.ini
    printf 'keep\r\n' >"$planted"
    for s in $(seq 0 59); do
      ln "$planted" "$tmp/$PRODUCT Setup $(date -d "+$s sec" +%Y%m%d-%H%M%S).log"
    done
    run_setup /quiet
    expect_exit_code 3010
    expect_driver_installed
    [[ $(cat "$planted") == $'keep\r' ]] || fail "a planted name was written through: $(cat "$planted")"
    logs=("$tmp"/"$PRODUCT Setup "*" (2).log")
    ((${#logs[@]} == 1)) && [[ -f ${logs[0]} ]] || fail "expected one run log ... (2).log in $tmp, saw: $(ls "$tmp")"
    LOG=${logs[0]}
    expect_outcome "$OUTCOME_INSTALLED"
    name=$(basename "$LOG")
    grep -qF "Log: " "$SCEN/setup.err" && grep -F "Log: " "$SCEN/setup.err" | grep -qF "$name" ||
      fail "standard error does not name the log $name: $(tail -c 600 "$SCEN/setup.err")"
    expect_one_event 11707 3010 "$name"
    wine reg query "$SOURCE_KEY" /v EventMessageFile >"$SCEN/reg.out" 2>&1 ||
      fail "no event source registered: $(cat "$SCEN/reg.out")"
    grep -q 'Merlox IDE CD-ROM Drive\\MSSHLSTF.dll' "$SCEN/reg.out" ||
      fail "the source's message file: $(tr -d '\r' <"$SCEN/reg.out")"

    start_program "$WINEPREFIX/drive_c" "C:\\Program Files\\$PRODUCT\\uninstall.exe" /quiet
    wait_setup
    expect_exit_code 0 3010
    logs=("$tmp"/"Remove $PRODUCT "*.log)
    [[ -f ${logs[0]} ]] || fail "the uninstaller left no log in $tmp: $(ls "$tmp")"
    expect_one_event 11724 "$SETUP_RC" "$(basename "${logs[0]}")"
    if wine reg query "$SOURCE_KEY" >"$SCEN/reg.out" 2>&1; then
      fail "the event source is still registered: $(tr -d '\r' <"$SCEN/reg.out")"
    fi
    ;;

  *) fail "unknown scenario $1" ;;
esac
