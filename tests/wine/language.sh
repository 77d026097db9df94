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

# expect_window_title <dialog> <text>: the title of the dialog the robot last found.
expect_window_title() {
  tr -d '\r' <"$SCEN/robot.out" | grep -qE "^found (unnumbered )?dialog ($1 )?window [^ ]+ \"$2\"" ||
    fail "dialog $1: expected the title '$2', saw: $(tr -d '\r' <"$SCEN/robot.out" | grep '^found')"
  say "title: $2"
}

# expect_control_bytes <id> <text> <code page> <what>: the control shows the
# text exactly, as the robot writes it in that ANSI code page.
expect_control_bytes() {
  local want
  want=$(printf '%s' "$2" | iconv -f UTF-8 -t "CP$3") || fail "iconv cannot write '$2' in code page $3"
  [[ $(LC_ALL=C control_text "$1") == "$want" ]] ||
    fail "$4: expected control $1 to show '$2', saw '$(LC_ALL=C control_text "$1" | iconv -f "CP$3" -t UTF-8)'"
  say "$4: $2"
}

# expect_reading <dialog> <control> <what>: its text on the screen reads from
# the right. Under load a dialog may paint its texts a moment after it shows:
# a second look a second later counts.
expect_reading() {
  local look
  for look in 1 2; do
    robot reading "$1" "$2"
    grep -q "^reading $2 right-to-left" <(tr -d '\r' <"$SCEN/robot.out") && return
    sleep 1
  done
  fail "$3 does not read from the right: $(tr -d '\r' <"$SCEN/robot.out" | grep -E '^ *(line|reading)' | paste -sd ' ')"
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
    # No switch: the user's UI language, German here, for a run that shows
    # windows; a quiet one shows none and chooses no language at all.
    use_locale de_DE UTF-8
    session_begin
    run_setup /quiet /log "$LOG_WIN"
    expect_exit_code 3010 0
    expect_logged 'Language: English \(a quiet run shows no window; UI language 0x0407\), ANSI code page 1252$'
    run_setup /passive /log 'C:\passive.log'
    expect_exit_code 3010 0
    LOG=$WINEPREFIX/drive_c/passive.log
    expect_logged 'Language: German \(UI language 0x0407\), ANSI code page 1252$'
    ;;

  language-refused)
    # A quiet run chooses too: a language we do not have is a bad command line.
    session_begin
    run_setup /quiet /lang xx /log "$LOG_WIN"
    expect_exit_code 1639
    grep -q '/lang xx names no language of this program; it speaks zh-TW (Chinese (Traditional)), de (German), en (English)' \
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

  language-german)
    # /lang de on an English Windows: the switches window of a command line
    # that cannot be used is German; so are the frame's title, the caption of
    # the copy's question and its buttons, which the question names.
    readonly DLG_USAGE=10 IDOK=1 IDYES=6 IDNO=7 USAGE_HEADING=11
    cp "$WINE_TEST_IMAGES/image-1.0.0.0.sys" "$DISK/mlxidecd.SYS"
    cp "$WINE_TEST_IMAGES/image-3.10.0.61.sys" "$DRIVERS/mlxidecd.SYS"
    session_begin
    start_setup /lang de /bogus
    await "$DLG_USAGE"
    expect_window_title "$DLG_USAGE" 'Installation von Merlox IDE CD-ROM Drive'
    expect_control "$USAGE_HEADING" "^Die Befehlszeile kann nicht verwendet werden: unknown switch '/bogus'\\..* Syntax: SETUP " \
      "the heading"
    robot press "$DLG_USAGE" "$IDOK"
    wait_setup
    expect_exit_code 0
    start_setup /lang de /log "$LOG_WIN"
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    await 0
    xdotool search --onlyvisible --name '^Installation von Merlox IDE CD-ROM Drive$' >/dev/null ||
      fail "no window titled 'Installation von Merlox IDE CD-ROM Drive' (the frame)"
    expect_window_title 0 'Installation von Merlox IDE CD-ROM Drive'
    expect_control "$IDYES" '^&Ja$' "the Yes button"
    expect_control "$IDNO" '^&Nein$' "the No button"
    robot press 0 "$IDNO"
    answer "$DLG_RESTART" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    cmp -s "$DRIVERS/mlxidecd.SYS" "$DISK/mlxidecd.SYS" || fail "No did not install the disk's driver"
    ;;

  language-traditional-chinese)
    # A Windows of Taiwan (its locale, code page 950) without /lang:
    # Traditional Chinese, and the log names the rule that chose it.
    use_locale zh_TW UTF-8
    session_begin
    expect_code_page 950
    start_setup /log "$LOG_WIN"
    await "$DLG_WELCOME"
    expect_control_bytes "$IDC_TEXT_1" '歡迎使用 Merlox IDE CD-ROM Drive 安裝程式。' 950 "the welcome"
    expect_control_bytes "$IDC_CONTINUE" '繼續(&C)' 950 "the Continue button"
    robot press "$DLG_WELCOME" "$IDC_CANCEL"
    answer "$DLG_QUIT" "$IDC_EXIT"
    wait_setup
    expect_exit_code 0
    expect_logged 'Language: Chinese \(Traditional\) \(UI language 0x0404\), ANSI code page 950$'
    ;;

  language-hebrew-error)
    # In Hebrew, the box of a disk without its driver and the error dialog of
    # a copy that cannot write: every sentence,
    # the log's path among them, reads from the right, as the system draws
    # Hebrew read from the right and not as it draws it read from the left.
    # Tahoma is linked to a face with Hebrew letters, so that the pictures
    # read; the check compares pictures and reads with or without them.
    # Wine's own Tahoma has no Hebrew letters and asks no linked face, so it
    # is taken out of this prefix's fonts.
    cp "$DISK/mlxidecd.SYS" "$SCEN/mlxidecd.SYS"
    rm "$DISK/mlxidecd.SYS"
    make_drivers_read_only
    find "$WINEPREFIX/drive_c/windows/Fonts" -maxdepth 1 -iname 'tahoma*.ttf' -delete
    session_begin
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
      /t REG_MULTI_SZ /d 'DejaVuSans.ttf,DejaVu Sans' /f >"$SCEN/reg.out" 2>&1 ||
      fail "cannot link a Hebrew face: $(cat "$SCEN/reg.out")"
    start_setup /lang he /log "$LOG_WIN"
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    await 0
    expect_reading 0 65535 "the box naming the missing file"
    robot press 0 1
    wait_setup
    cp "$SCEN/mlxidecd.SYS" "$DISK/mlxidecd.SYS"
    start_setup /lang he /log "$LOG_WIN"
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    answer 0 2  # Cancel on the copy's question
    await "$DLG_FATAL"
    for control in "$IDC_CAUSE" "$IDC_ADVICE" "$IDC_CAUSE_NOTE" "$IDC_LOG"; do
      expect_reading "$DLG_FATAL" "$control" "control $control of the error dialog"
    done
    robot press "$DLG_FATAL" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    expect_logged 'Language: Hebrew \(/lang he\), ANSI code page 1252$'
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
