#!/usr/bin/env bash
# The disk's manifest, as an attacker and an admin meet it: on a signed disk
# a changed compressed driver, a changed or foreign setup.inf, a library
# patched before it loads, a driver with an unreadable certificate table and
# one signed by someone else are each refused with DRIVERS unchanged and no
# service; on an unsigned disk a damaged file is named with Retry, and an
# admin's added file is installed with its log line (on a disk of 2,000 files).
source "$(dirname "$0")/lib.sh"
: "${WINE_TEST_SIGN:?set by ctest: scripts/sign}"

MESSAGE_BOX=0
IDCANCEL=2
IDRETRY=4

sign_disk() {
  SIGN_THROWAWAY_DIR=$SCEN/${1:-throwaway} "$WINE_TEST_SIGN" "${2:-$DISK}" >"$SCEN/sign.out" 2>&1 ||
    fail "scripts/sign failed: $(cat "$SCEN/sign.out")"
}

flip_byte() {  # flip_byte <file> <offset>
  local byte
  byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
  printf "\\x$(printf %02x $((byte ^ 1)))" | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null
}

expect_refused() {  # expect_refused <pattern of the outcome>
  run_setup /quiet /log "$LOG_WIN"
  expect_exit_code 1603
  [[ -z $1 ]] || expect_outcome "Outcome: FAILED .*$1.*"
  expect_drivers_unchanged
  expect_no_service
}

case $1 in
  manifest-signed-packed)
    # The disk's own setup.inf names a compressed driver; its bytes changed
    # after signing, then compressed again, are caught as they expand.
    scenario_begin "$1"
    sign_disk
    compress() { cp "$1" "$SCEN/packing.sys" && mscompress "$SCEN/packing.sys" &&
      mv "$SCEN/packing.sys_" "$DISK/mlxidecd.SY_" || fail "mscompress failed"; }
    compress "$DISK/mlxidecd.SYS"
    sed -i 's/mlxidecd = mlxidecd.SYS,/mlxidecd = mlxidecd.SY_, mlxidecd.SYS,/' "$DISK/setup.inf"
    sign_disk  # the manifest made anew: it lists the compressed driver and the new setup.inf
    cp "$DISK/mlxidecd.SYS" "$SCEN/driver.sys"
    flip_byte "$SCEN/driver.sys" 1200
    compress "$SCEN/driver.sys"
    session_begin
    expect_refused 'mlxidecd\.SY_ differs from the one the signed installation disk was made with'
    ;;

  manifest-signed-inf)
    # A changed setup.inf on the disk, and a foreign one in the folder setup
    # is started from, are refused before anything else is read.
    scenario_begin "$1"
    sign_disk
    cp "$DISK/setup.inf" "$SCEN/setup.inf"
    printf 'added = MSCOMSTF.dll, added.sys\n' >>"$DISK/setup.inf"
    session_begin
    expect_refused 'setup\.inf differs from the one the signed installation disk was made with'
    cp "$SCEN/setup.inf" "$DISK/setup.inf"
    mkdir "$SCEN/elsewhere"
    sed 's/mlxidecd = mlxidecd.SYS,/mlxidecd = MSCOMSTF.dll, fromcwd.sys,/' "$DISK/setup.inf" \
      >"$SCEN/elsewhere/setup.inf"
    start_program "$SCEN/elsewhere" "$(windows_path "$DISK")\\setup.exe" /quiet /log "$LOG_WIN"
    wait_setup
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED .*in the folder setup was started from differs from the installation disk.s own: a signed disk is installed only with its own setup\.inf.*'
    expect_drivers_unchanged
    expect_no_service
    ;;

  manifest-signed-library)
    # A patched library is refused before it is loaded: nothing of it runs.
    scenario_begin "$1"
    sign_disk
    flip_byte "$DISK/MSCOMSTF.dll" 2000
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 1603
    grep -qa 'MSCOMSTF\.dll differs from the one the signed installation disk was made with' \
      "$SCEN/setup.err" || fail "standard error does not name the library: $(head -c 600 "$SCEN/setup.err")"
    [[ ! -e $WINEPREFIX/drive_c/setup.log ]] || fail "a log was opened: a library of the disk ran"
    expect_drivers_unchanged
    expect_no_service
    ;;

  manifest-signed-foreign)
    # A driver signed by another root, and one whose certificate table is
    # junk, in the signed driver's place: neither is the disk's.
    scenario_begin "$1"
    mkdir "$SCEN/other" "$SCEN/junk"
    cp "$DISK/mlxidecd.SYS" "$SCEN/other/"
    sign_disk other-root "$SCEN/other"
    python3 - "$DISK/mlxidecd.SYS" "$SCEN/junk/mlxidecd.SYS" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
struct.pack_into("<II", data, pe + 24 + 96 + 4 * 8, len(data), 24)  # the certificate table
open(sys.argv[2], "wb").write(bytes(data) + b"\x5a" * 24)
PY
    sign_disk
    session_begin
    cp "$SCEN/other/mlxidecd.SYS" "$DISK/mlxidecd.SYS"
    expect_refused 'mlxidecd\.SYS differs from the one the signed installation disk was made with'
    cp "$SCEN/junk/mlxidecd.SYS" "$DISK/mlxidecd.SYS"
    expect_refused 'mlxidecd\.SYS differs'
    ;;

  manifest-damaged)
    # A byte changed in a listed file of an unsigned disk: the box names the
    # file and offers Retry, which reads it again; Cancel ends the run.
    scenario_begin "$1"
    export KEEP_MANIFEST=1
    flip_byte "$DISK/mlxidecd.SYS" 1200
    session_begin
    start_setup /log "$LOG_WIN"
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    await "$MESSAGE_BOX"
    grep -qa 'mlxidecd.SYS on the installation disk is damaged' "$SCEN/robot.out" ||
      fail "the box does not name the damaged file: $(tr -d '\r' <"$SCEN/robot.out" | head -c 800)"
    robot press "$MESSAGE_BOX" "$IDRETRY"
    answer "$MESSAGE_BOX" "$IDCANCEL"
    await "$DLG_FATAL"
    robot press "$DLG_FATAL" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    [[ $(grep -c 'on the installation disk is damaged' "$LOG") -ge 2 ]] ||
      fail "Retry did not read the file again: $(tr -d '\r' <"$LOG" | grep damaged)"
    expect_drivers_unchanged
    expect_no_service
    ;;

  manifest-admin-file)
    # An admin's own file added to an unsigned disk, and setup.inf edited to
    # install it: both go ahead, each with its line in the log. The disk's
    # 2,000 other files are listed: its manifest outgrew the room the build
    # reserved, and the programs grew to hold it.
    scenario_begin "$1"
    for ((i = 0; i < 2000; i++)); do printf '%d\n' "$i" >"$DISK/f$i.dat"; done
    stamp_disk
    export KEEP_MANIFEST=1
    cp "$DISK/mlxidecd.SYS" "$DISK/extra.SYS"
    printf '\x01' >>"$DISK/extra.SYS"
    sed -i 's/^mlxidecd = .*/&\nextra = extra.SYS/' "$DISK/setup.inf"
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    cmp -s "$DISK/extra.SYS" "$DRIVERS/extra.SYS" || fail "the admin's file was not installed"
    grep -qF "Not in the disk's manifest (a file added to the disk): $(windows_path "$DISK")\\extra.SYS" "$LOG" ||
      fail "no log line for the added file"
    grep -qF "an edited setup information file" "$LOG" || fail "no log line for the edited setup.inf"
    grep -qF "Matches the disk's manifest: $(windows_path "$DISK")\\mlxidecd.SYS" "$LOG" ||
      fail "the grown manifest was not read: $(grep -a manifest "$LOG" | head -n 3)"
    ;;

  *) fail "unknown scenario $1" ;;
esac
