#!/usr/bin/env bash
# look.sh look-<case>: what a person sees and does. The switches in a window
# laid out as a table; the copy's gauge naming its file; every text read at
# 4.5:1 contrast or more from a screenshot; buttons by their Alt letters; the
# frame's close box.
source "$(dirname "$0")/lib.sh"

# The toolkit's own window of the switches, numbered like the dialogs.
DLG_USAGE=$(sed -n 's/^#define STF_DIALOG_USAGE \([0-9]*\).*/\1/p' \
  "$(dirname "$WINE_TEST_DIALOG_IDS")/../setup-toolkit/stf_internal.h")
readonly IDOK=1
readonly USAGE_HEADING=11 USAGE_TABLE=100 USAGE_ROWS=8

# expect_icon <red|blue>: the icon of the dialog the robot last found, as the
# screenshot shows it: the error icon is red, the information icon blue.
expect_icon() {
  local line
  line=$(tr -d '\r' <"$SCEN/robot.out" | grep -E ' icon$' | head -n 1)
  [[ $line =~ at\ ([0-9]+),([0-9]+)\ ([0-9]+)x([0-9]+) ]] || fail "the dialog shows no icon"
  pngtopnm "$(last_shot)" | pnmcut -left "${BASH_REMATCH[1]}" -top "${BASH_REMATCH[2]}" \
    -width "${BASH_REMATCH[3]}" -height "${BASH_REMATCH[4]}" | ppmhist -noheader |
    awk -v want="$1" '
      want == "red" && $1 > 150 && $2 < 90 && $3 < 90 { n += $5 }
      want == "blue" && $3 > 120 && $1 < 110 && $3 > $1 + 60 { n += $5 }
      END { exit !(n >= 40) }' || fail "expected the $1 icon at $line"
  say "icon: $1"
}

# The switches as a table: each row's two cells on one line, every switch at
# one left edge, every meaning at another, to the right of all switches.
expect_table() {
  local row first second x1 x2 right=0 line
  for ((row = 0; row < USAGE_ROWS; row++)); do
    first=$(tr -d '\r' <"$SCEN/robot.out" | grep -E "^ *control $((USAGE_TABLE + 2 * row)) Static ")
    second=$(tr -d '\r' <"$SCEN/robot.out" | grep -E "^ *control $((USAGE_TABLE + 2 * row + 1)) Static ")
    [[ $first =~ at\ ([0-9]+),([0-9]+)\ ([0-9]+)x ]] || fail "table row $row: no switch cell in: $(cat "$SCEN/robot.out")"
    line="${BASH_REMATCH[1]} ${BASH_REMATCH[2]} ${BASH_REMATCH[3]}"
    [[ $second =~ at\ ([0-9]+),([0-9]+)\  ]] || fail "table row $row: no meaning cell"
    read -r a y1 w1 <<<"$line"
    ((y1 == BASH_REMATCH[2])) || fail "table row $row: the cells are not on one line ($first / $second)"
    x1=${x1:-$a} x2=${x2:-${BASH_REMATCH[1]}}
    ((a == x1 && BASH_REMATCH[1] == x2)) || fail "table row $row: the columns do not line up"
    ((a + w1 > right)) && right=$((a + w1))
  done
  ((x2 >= right)) || fail "the meanings start at $x2, inside the switches' column (up to $right)"
  say "table: $USAGE_ROWS rows, switches at x=$x1, meanings at x=$x2"
}

# The usage window is closed with OK, and setup ends at once with code 0:
# no box comes after it.
close_usage() {
  robot press "$DLG_USAGE" "$IDOK"
  SETUP_TIMEOUT=15
  wait_setup
  expect_exit_code 0
}

# The most frequent colour of a part of the last screenshot.
main_colour() {
  pngtopnm "$(last_shot)" | pnmcut -left "$1" -top "$2" -width "$3" -height "$4" |
    ppmhist -noheader | head -n 1 | awk '{ print $1, $2, $3 }'
}

# With a dialog over it that has the keyboard, the frame's title bar is drawn
# inactive: one title bar on the screen looks active, the dialog's.
expect_one_active_title() {
  local x y w h frame dialog
  read -r x y w h < <(window_place)
  frame=$(main_colour 20 1 400 16)
  dialog=$(main_colour $((x + 8)) $((y + 6)) $((w / 2)) 8)
  [[ $frame != "$dialog" ]] ||
    fail "the frame's title bar looks as active as the dialog's (both $frame)"
  say "title bars: the frame's $frame, the dialog's $dialog"
}

frame_window() {
  local frame
  frame=$(xdotool search --onlyvisible --name '^Merlox IDE CD-ROM Drive Setup$' | head -n 1)
  [[ -n $frame ]] || fail "the frame window is not on the display"
  printf '%s' "$frame"
}

# The frame given the keyboard, as the taskbar or Alt+Tab does: it hands it
# on to the dialog over it.
expect_focus_handed_to() {
  robot activate-frame
  wait_for "dialog $1 to have the keyboard" 5 dialog_active "$1"
  say "the frame handed the keyboard to dialog $1"
}

dialog_active() {
  robot_list >/dev/null
  WAIT_SEEN=$(tr -d '\r' <"$SCEN/robot-list.out" | paste -sd ' ')
  tr -d '\r' <"$SCEN/robot-list.out" | grep -A1 '^active:$' | grep -q "^dialog $1 "
}

# Where Wine draws the close box of the maximised frame: the top right corner.
click_frame_close_box() {
  local frame geometry WINDOW X Y WIDTH HEIGHT SCREEN
  frame=$(frame_window)
  geometry=$(xdotool getwindowgeometry --shell "$frame") || fail "no geometry of the frame"
  eval "$geometry"
  xdotool mousemove $((X + WIDTH - 10)) $((Y + 8)) click 1 || fail "xdotool cannot click"
  say "clicked the frame's close box at $((X + WIDTH - 10)),$((Y + 8))"
}

scenario_begin "$1"
session_begin
case $1 in
  look-help)
    start_setup /?
    await "$DLG_USAGE"
    expect_icon blue
    expect_control "$USAGE_HEADING" '^Usage: SETUP ' "the heading"
    expect_table
    expect_readable "$(last_shot)"
    close_usage
    ;;

  look-bad-switch)
    start_setup /bogus
    await "$DLG_USAGE"
    expect_icon red
    expect_control "$USAGE_HEADING" "unknown switch '/bogus'" "the heading"
    expect_table
    close_usage
    ;;

  look-copy)
    # Large enough that the gauge is caught part way.
    truncate -s 64M "$DISK/mlxidecd.SYS"
    start_setup /log "$LOG_WIN"
    await "$DLG_WELCOME"
    hold_copy "$DLG_WELCOME" "$IDC_CONTINUE"
    [[ $GAUGE =~ ^gauge\ \"Copying\ mlxidecd\.SYS:\ [0-9]+%\"\ at\ ([0-9]+),([0-9]+)\ ([0-9]+)x ]] ||
      fail "the gauge does not name the file: $GAUGE"
    screenshot copy
    # The gauge's line of text (the name and the percentage) above its bar.
    expect_contrast "$(last_shot)" $((BASH_REMATCH[1] + 4)) $((BASH_REMATCH[2] + 4)) \
      $((BASH_REMATCH[3] - 8)) 18 "the gauge's text"
    robot wait "$DLG_BILLBOARD"
    expect_readable "$(last_shot)"
    release_copy
    await "$DLG_RESTART"
    expect_readable "$(last_shot)"
    expect_one_active_title
    robot press "$DLG_RESTART" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    expect_driver_installed
    ;;

  look-keys)
    # The frame's close box asks as Alt+F4 does; Alt+C and Alt+X are Continue
    # and Exit in both dialogs that have them.
    start_setup /log "$LOG_WIN"
    await "$DLG_WELCOME"
    expect_readable "$(last_shot)"
    expect_focus_handed_to "$DLG_WELCOME"
    click_frame_close_box
    await "$DLG_QUIT"
    expect_readable "$(last_shot)"
    robot key "$DLG_QUIT" alt+c
    robot key "$DLG_WELCOME" alt+x
    robot key "$DLG_QUIT" alt+x
    wait_setup
    expect_exit_code 0
    expect_outcome 'Outcome: CANCELLED'
    expect_dialog_logged "$DLG_WELCOME" 2
    expect_dialog_logged "$DLG_QUIT" 2
    ;;

  look-registration-failure)
    # The driver installed under another name: the service is not registered
    # over a missing image, and dialog 900 names that cause, not a guess.
    printf '[Version]\r\nSignature = "$Windows NT$"\r\n[System Files]\r\nmlxidecd.SYS, other.sys\r\n' \
      >"$DISK/setup.inf"
    start_setup /log "$LOG_WIN"
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    await "$DLG_REGISTRATION_FAILED"
    expect_control "$IDC_CAUSE" 'mlxidecd\.SYS is not in place.*\(error 2\)' "the cause"
    tr -d '\r' <"$SCEN/robot.out" | grep -qE "control $IDC_NO_CAUSE_1 Static .* hidden at" ||
      fail "dialog 900 still guesses at administrator rights beside a known cause"
    expect_control "$IDC_LOG" 'C:\\setup\.log' "the log"
    expect_readable "$(last_shot)"
    robot press "$DLG_REGISTRATION_FAILED" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    expect_no_service
    ;;

  *) echo "look.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
say "PASS $1"
