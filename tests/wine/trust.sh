#!/usr/bin/env bash
# What setup loads and installs: no planted DLL runs in it, a signed disk is
# installed and removed with its files unchanged, a changed signed driver or
# one whose signature was taken off is refused before anything changes.
source "$(dirname "$0")/lib.sh"
: "${WINE_TEST_PLANTED:?set by ctest: the folder of the planted version.dll, wintrust.dll and msvcrt.dll}"
: "${WINE_TEST_SIGN:?set by ctest: scripts/sign}"
: "${WINE_TEST_CRT_MISSING:?set by ctest: a program bound to a name msvcrt.dll lacks}"

readonly PRODUCT_DIR="drive_c/Program Files/Merlox IDE CD-ROM Drive"

# The scenario's disk signed as a vendor would, with a throwaway certificate.
sign_disk() {
  SIGN_THROWAWAY_DIR=$SCEN/throwaway "$WINE_TEST_SIGN" "$DISK" >"$SCEN/sign.out" 2>&1 ||
    fail "scripts/sign failed: $(cat "$SCEN/sign.out")"
}

expect_logged() {
  grep -qF -- "$1" "$LOG" || fail "log: expected '$1', saw: $(tr -d '\r' <"$LOG")"
}

case $1 in
  trust-planted-dll)
    scenario_begin "$1"
    # Signed, so that setup has signatures to check: an unsigned disk never loads wintrust.dll.
    sign_disk
    cp "$WINE_TEST_PLANTED"/{version,wintrust,msvcrt}.dll "$DISK/"
    # Windows' order for a library that is not a KnownDLL: the program's folder
    # first (msvcrt.dll is none on Windows NT 4.0).
    export WINEDLLOVERRIDES='version,wintrust,msvcrt=n,b'
    session_begin
    # Worth something only if a planted library runs when a program beside it
    # loads it by name.
    mkdir "$SCEN/probe"
    cp "$WINEPREFIX/drive_c/windows/system32/rundll32.exe" "$DISK/wintrust.dll" "$SCEN/probe/"
    (cd "$SCEN/probe" && wine "$WINE_TEST_LAUNCH" 20000 "$(windows_path "$SCEN/probe")\\rundll32.exe" wintrust.dll,WinVerifyTrust) \
      >"$SCEN/probe.out" 2>&1 || true
    [[ -f $WINEPREFIX/drive_c/planted-wintrust-ran.txt ]] ||
      fail "a planted wintrust.dll did not run even when loaded by name: the scenario shows nothing"
    rm "$WINEPREFIX"/drive_c/planted-*-ran.txt
    WINEDEBUG=+module run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    expect_driver_installed
    # wintrust.dll is loaded at run time only, by setup's signature check.
    [[ ! -e $WINEPREFIX/drive_c/planted-wintrust-ran.txt ]] ||
      fail "setup loaded the wintrust.dll planted beside it"
    grep -qaF 'load_dll looking for L"C:\\windows\\system32\\wintrust.dll"' "$SCEN/setup.err" ||
      fail "setup did not load wintrust.dll from the system directory by its path"
    # Wine's own user32 imports VERSION.dll, which then comes from beside the
    # program (Windows' user32 is a KnownDLL): what counts is that none of ours
    # imports it and that ours load it from the system directory.
    importers=$(grep -a 'No implementation for version.dll' "$SCEN/setup.err" |
      sed 's/.*imported from L"\(.*\)".*/\1/' | sort -u)
    grep -qai 'MS[A-Z]*STF\.dll\|mscuistf\|setup\.exe' <<<"$importers" &&
      fail "one of ours imports the planted VERSION.dll: $importers"
    grep -qaF 'load_dll looking for L"C:\\windows\\system32\\version.dll"' "$SCEN/setup.err" ||
      fail "setup did not load VERSION.dll from the system directory by its path"
    say "the planted VERSION.dll was imported only by Wine's own: ${importers//$'\n'/, }"
    # Wine's own ADVAPI32.dll loads the planted msvcrt.dll into setup's process
    # by name; setup's binaries import none of it and bind their run-time from
    # the system directory's copy by its path, in that same process. (Bound
    # from the planted copy, which lacks the program start-up, setup would not
    # have started.)
    planted=$(grep -a -m 1 'load_dll Loaded module L".*\\\\disk\\\\msvcrt\.dll"' "$SCEN/setup.err" || true)
    [[ -n $planted ]] || fail "the planted msvcrt.dll was not loaded at all: the scenario shows nothing"
    grep -a "^${planted%%:*}:" "$SCEN/setup.err" |
      grep -aF 'load_dll looking for L"C:\\windows\\system32\\msvcrt.dll"' >/dev/null ||
      fail "setup did not load msvcrt.dll from the system directory by its path"
    grep -a 'No implementation for msvcrt.dll' "$SCEN/setup.err" |
      grep -ai 'MS[A-Z]*STF\.dll\|mscuistf\|setup\.exe' >/dev/null &&
      fail "one of ours imports the planted msvcrt.dll"
    say "the planted msvcrt.dll was loaded by Wine's own; setup bound the system directory's"
    # The version resource still came from the system's VERSION.dll.
    expect_logged 'Uninstall entry: version 1.0.0.0'
    ;;

  trust-crt-missing)
    # msvcrt.dll lacks a name a binary binds: it ends at start, naming the
    # name; quietly with 1603 at once, with windows in a box that waits.
    scenario_begin "$1"
    session_begin
    cp "$WINE_TEST_CRT_MISSING" "$SCEN/"
    cat >"$SCEN/lines.txt" <<'LINES'
crt_missing.exe /quiet	1603
crt_missing.exe -Q /log x.log	1603
crt_missing.exe /qn	1603
crt_missing.exe "/q"	1603
crt_missing.exe /QUIET:yes	1603
crt_missing.exe /quieter	timeout
crt_missing.exe /log q	timeout
LINES
    cut -f1 "$SCEN/lines.txt" >"$SCEN/each.txt"
    (cd "$SCEN" && timeout 120 wine "$WINE_TEST_LAUNCH" --each 3000 "$(windows_path "$SCEN/each.txt")") \
      >"$SCEN/each.out" 2>"$SCEN/each.err" || true
    seen=$(tr -d '\r' <"$SCEN/each.out" | awk -F'\t' '{ print $3 "\t" $1 }')
    [[ $seen == "$(cat "$SCEN/lines.txt")" ]] ||
      fail "expected (command line, code):
$(cat "$SCEN/lines.txt")
saw:
$seen"
    grep -qa 'cannot start: the C run-time msvcrt.dll does not export NoSuchCrtFunction' "$SCEN/each.err" ||
      fail "standard error does not name the missing function: $(head -c 600 "$SCEN/each.err")"
    ;;

  trust-signed-disk)
    scenario_begin "$1"
    sign_disk
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010
    expect_outcome "$OUTCOME_INSTALLED"
    expect_driver_installed
    expect_logged 'Setup is signed'
    expect_logged "Signature verified: $(windows_path "$DISK")\\mlxidecd.SYS"
    expect_logged "Signature verified: $(windows_path "$DISK")\\uninstall.exe"
    # Nothing changes a file after signing: what is installed is what was signed.
    for file in uninstall.exe MSCOMSTF.dll mscuistf.dll; do
      cmp -s "$DISK/$file" "$WINEPREFIX/$PRODUCT_DIR/$file" ||
        fail "$file under Program Files differs from the signed disk's"
    done
    osslsigncode verify -CAfile "$SCEN/throwaway/root.pem" -TSA-CAfile "$SCEN/throwaway/root.pem" \
      -in "$DRIVERS/mlxidecd.SYS" >"$SCEN/verify.out" 2>&1 ||
      fail "the installed driver does not verify: $(tail -n 3 "$SCEN/verify.out")"
    # A copy of checked bytes takes the answer they had: one check a file.
    grep -q 'Signature verified: .*\\uninstall\.exe (as copied to .*), the same bytes as checked before$' \
      <(tr -d '\r' <"$LOG") || fail "log: the uninstaller's copy was not judged by its source's answer"
    # The installed uninstaller checks its own dialog library when it shows
    # windows (a quiet run reads none).
    start_program "$WINEPREFIX/drive_c" 'C:\Program Files\Merlox IDE CD-ROM Drive\uninstall.exe' /passive /log 'C:\uninstall.log'
    wait_setup
    expect_exit_code 0 3010
    LOG=$WINEPREFIX/drive_c/uninstall.log
    expect_logged 'Signature verified: C:\Program Files\Merlox IDE CD-ROM Drive\mscuistf.dll'
    ;;

  trust-changed-driver)
    scenario_begin "$1"
    sign_disk
    # One byte of the signed driver's code flipped, as a damaged download would.
    byte=$(od -An -tu1 -j 1200 -N1 "$DISK/mlxidecd.SYS" | tr -d ' ')
    printf "\\x$(printf %02x $((byte ^ 1)))" | dd of="$DISK/mlxidecd.SYS" bs=1 seek=1200 conv=notrunc 2>/dev/null
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED .*mlxidecd\.SYS differs from the one the signed installation disk was made with.*'
    expect_drivers_unchanged
    expect_no_service
    [[ ! -e $WINEPREFIX/$PRODUCT_DIR ]] || fail "the product's folder was created for a refused disk"
    grep -q 'mlxidecd.SYS differs from the one the signed installation disk' "$SCEN/setup.err" ||
      fail "standard error does not name the refused file: $(cat "$SCEN/setup.err")"
    ;;

  trust-stripped-driver)
    scenario_begin "$1"
    cp "$DISK/mlxidecd.SYS" "$SCEN/unsigned.SYS"
    sign_disk
    # The driver's signature taken off again: its header lists no certificate table.
    cp "$SCEN/unsigned.SYS" "$DISK/mlxidecd.SYS"
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 1603
    expect_outcome 'Outcome: FAILED .*mlxidecd\.SYS differs from the one the signed installation disk was made with.*'
    expect_drivers_unchanged
    expect_no_service
    [[ ! -e $WINEPREFIX/$PRODUCT_DIR ]] || fail "the product's folder was created for a refused disk"
    ;;

  *) fail "unknown scenario $1" ;;
esac
