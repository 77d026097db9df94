#!/usr/bin/env bash
# packed.sh packed-<case>: driver disks laid out as vendors made them. The
# driver compressed with LZ (mscompress) or put alone in a cabinet (gcab),
# named mlxidecd.SY_, is installed expanded; a text file in the driver's place
# is refused before anything changes.
source "$(dirname "$0")/lib.sh"

# setup.inf installs the driver from the disk's file <source>.
use_source() {
  printf '[Version]\r\nSignature = "$Windows NT$"\r\n[System Files]\r\nmlxidecd = %s, mlxidecd.SYS\r\n' \
    "$1" >"$DISK/setup.inf"
}

# pack <command...>: the driver replaced on the disk by what the command makes
# of it in mlxidecd.SY_; the original kept aside.
pack() {
  mv "$DISK/mlxidecd.SYS" "$SCEN/original.sys"
  (cd "$SCEN" && "$@") >"$SCEN/pack.out" 2>&1 || fail "$1: $(cat "$SCEN/pack.out")"
  use_source mlxidecd.SY_
  say "disk: mlxidecd.SY_ ($(stat -c %s "$DISK/mlxidecd.SY_") bytes, starts $(head -c 4 "$DISK/mlxidecd.SY_"))"
}

# The expanded driver in place, byte for byte, and the log's line with both sizes.
expect_expanded() {
  local kind=$1 installed size packed
  installed=$(find "$DRIVERS/" -maxdepth 1 -iname mlxidecd.sys -printf '%f\n')
  [[ -n $installed ]] || fail "C:\\windows\\system32\\drivers: no mlxidecd.SYS"
  cmp -s "$SCEN/original.sys" "$DRIVERS/$installed" ||
    fail "the installed $installed differs from the driver before it was compressed"
  [[ -z $(new_driver_files | grep -vix 'mlxidecd.sys') ]] || fail "more than the driver was added: $(new_driver_files)"
  size=$(stat -c %s "$SCEN/original.sys")
  packed=$(stat -c %s "$DISK/mlxidecd.SY_")
  grep -qE "Copied: .*mlxidecd\.SY_ -> .*mlxidecd\.SYS \($size bytes, expanded from $packed bytes, $kind\)" "$LOG" ||
    fail "log: expected the driver copied expanded ($size from $packed bytes, $kind), saw: $(grep -a Copied "$LOG" | tr -d '\r')"
  say "log: $(grep -a 'Copied: .*mlxidecd' "$LOG" | tr -d '\r')"
}

scenario_begin "$1"
case $1 in
  packed-lz)
    pack sh -c "cp original.sys '$DISK/mlxidecd.SYS' && mscompress '$DISK/mlxidecd.SYS' &&
                mv '$DISK/mlxidecd.SYS_' '$DISK/mlxidecd.SY_' && rm '$DISK/mlxidecd.SYS'"
    kind=LZ
    ;;
  packed-cabinet)
    pack sh -c "cp original.sys mlxidecd.SYS && gcab -c -n '$DISK/mlxidecd.SY_' mlxidecd.SYS"
    kind=cabinet
    ;;
  packed-not-a-driver)
    printf 'This is not a driver.\r\n' >"$DISK/mlxidecd.SYS"
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED \(.+\)'
    grep -qa 'The driver file mlxidecd.SYS on the setup disk is not a Windows driver: it holds text' "$LOG" ||
      fail "log: expected the refusal naming the file, saw: $(tr -d '\r' <"$LOG" | tail -n 5)"
    expect_drivers_unchanged
    expect_no_service
    say "PASS $1"
    exit 0
    ;;
  *) echo "packed.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
session_begin
run_setup /quiet /log "$LOG_WIN"
expect_exit_code 3010
expect_outcome "$OUTCOME_INSTALLED"
expect_expanded "$kind"
expect_service
say "PASS $1"
