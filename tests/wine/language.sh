#!/usr/bin/env bash
# language.sh language-<case>: the windows in the language chosen the way
# Windows chooses it, and every dialog's texts fitting in every language.
source "$(dirname "$0")/lib.sh"

# expect_logged <extended regex>: a line of the log matches.
expect_logged() {
  tr -d '\r' <"$LOG" | grep -qE "$1" ||
    fail "log: expected a line matching '$1', saw: $(grep -E 'Language|Error' "$LOG" | tr -d '\r')"
  say "log: $(tr -d '\r' <"$LOG" | grep -E "$1" | head -n 1)"
}

scenario_begin "$1"
case $1 in
  language-switch)
    # /lang wins over the system's language; the welcome is German (screenshot).
    session_begin
    start_setup /lang de /log "$LOG_WIN"
    await "$DLG_WELCOME"
    expect_control "$IDC_TEXT_1" '^Willkommen bei der Installation' "the welcome"
    expect_control "$IDC_CONTINUE" '^&Weiter$' "the Continue button"
    robot press "$DLG_WELCOME" "$IDC_CANCEL"
    answer "$DLG_QUIT" "$IDC_EXIT"
    wait_setup
    expect_exit_code 0
    expect_logged 'Language: German \(/lang de\), ANSI code page 1252$'
    expect_outcome 'Outcome: CANCELLED'
    ;;

  language-ui)
    # No switch: the user's UI language, German here.
    use_locale de_DE UTF-8
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010 0
    expect_logged 'Language: German \(UI language\), ANSI code page 1252$'
    ;;

  language-refused)
    # A quiet run chooses too: a language we do not have is a bad command line.
    session_begin
    run_setup /quiet /lang xx /log "$LOG_WIN"
    expect_exit_code 1639
    grep -q '/lang xx names no language of this program; it speaks de (German), en (English)' \
      "$SCEN/setup.err" || fail "standard error does not name the languages: $(cat "$SCEN/setup.err")"
    expect_drivers_unchanged
    ;;

  language-unheld-folder)
    # A folder name that code page 1252 cannot hold ends the run before it
    # starts, saying why and what to do, and installs nothing.
    session_begin
    mkdir "$SCEN/安装" && cp "$DISK"/* "$SCEN/安装/"
    start_program "$SCEN/安装" setup.exe /quiet /log "$LOG_WIN"
    wait_setup
    expect_exit_code 1603
    expect_logged 'ANSI code page 1252 cannot hold\. Copy the disk.s files to a folder with a plain name'
    expect_outcome 'Outcome: FAILED \(the program.s folder has a name that ANSI code page 1252 cannot hold\)'
    expect_drivers_unchanged
    ;;

  language-error)
    # A disk without its driver, in German: the refusal box is the failure's
    # one window, in the language; the log keeps the English.
    rm "$DISK/mlxidecd.SYS"
    session_begin
    start_setup /lang de /log "$LOG_WIN"
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    await 0  # the message box (a dialog without a number)
    # The robot writes code page 1252 (ä is one byte): read it bytewise.
    LC_ALL=C expect_control 65535 '^Auf dem Setup-Datentr.ger fehlt eine Datei, .*mlxidecd\.SYS' "the box"
    robot press 0 1
    wait_setup
    expect_exit_code 0
    expect_dialog_logged "$DLG_FATAL" 0
    expect_logged 'Error: Merlox IDE CD-ROM Drive Setup: The setup disk lacks 1 file that the installation needs:'
    ;;

  language-fit)
    # Every dialog in every language: no text clipped, none converted.
    session_begin
    (cd "$DISK" && timeout 60 wine "$WINE_TEST_TEXT_PROBE" >"$SCEN/probe.out" 2>&1) || {
      tr -d '\r' <"$SCEN/probe.out"
      fail "the text probe found texts that do not fit"
    }
    tr -d '\r' <"$SCEN/probe.out" | tail -n 3
    ;;

  *) echo "language.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
say "PASS $1"
