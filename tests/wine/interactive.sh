#!/usr/bin/env bash
# Installs driven through the dialogs by the robot, one screenshot per dialog.
source "$(dirname "$0")/lib.sh"

scenario_begin "$1"
session_begin
start_setup /log "$LOG_WIN"

case $1 in
  interactive-complete)
    answer "$DLG_WELCOME" "$IDC_CONTINUE"
    answer "$DLG_RESTART" "$IDC_CONTINUE"  # Restart Later
    wait_setup
    expect_exit_code 0
    expect_outcome "$OUTCOME_INSTALLED"
    expect_driver_installed
    expect_service
    expect_service_state stopped  # no reboot
    ;;

  interactive-exit)
    answer "$DLG_WELCOME" "$IDC_CANCEL"
    answer "$DLG_QUIT" "$IDC_EXIT"
    wait_setup
    expect_exit_code 0
    expect_outcome 'Outcome: CANCELLED'
    expect_drivers_unchanged
    expect_no_service
    ;;

  interactive-resume)
    # Through the keyboard: Esc is Cancel, Enter the default button.
    answer_key "$DLG_WELCOME" esc
    answer "$DLG_QUIT" "$IDC_CONTINUE"  # Continue Setup
    answer_key "$DLG_WELCOME" enter
    answer "$DLG_RESTART" "$IDC_CONTINUE"
    wait_setup
    expect_exit_code 0
    expect_outcome "$OUTCOME_INSTALLED"
    expect_dialog_logged "$DLG_WELCOME" 2
    expect_driver_installed
    expect_service
    ;;

  *) echo "interactive.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
say "PASS $1"
