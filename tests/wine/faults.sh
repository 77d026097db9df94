#!/usr/bin/env bash
# faults.sh fault-<fault>-quiet|interactive: setup meets a broken disk or an
# unwritable destination. Every fault must end the same way: the error dialog
# once, exit code 0, no service, nothing left in the drivers directory.
source "$(dirname "$0")/lib.sh"

name=$1
mode=${name##*-}
fault=${name#fault-}
fault=${fault%-*}

# The Windows error each fault must be reported with, so that a scenario
# never passes on some other failure than the one it set up.
declare -A error_code=([no-driver]=2 [no-inf]=2 [read-only]=5 [disk-full]=112)

# What the error dialog must name for each fault: the file or folder and the
# system's error in its cause, and what to do where that follows from it.
declare -A cause_names=([no-inf]='setup\.inf.*\(error 2\)'
  [read-only]='drivers.*\(error 5\)' [disk-full]='C:.*\(error 112\)')
declare -A advice=([no-inf]='^Insert the installation disk that holds setup\.inf'
  [read-only]='administrator' [disk-full]='^Free some')

# The robot's number for a window the toolkit did not number, and its buttons.
MESSAGE_BOX=0
IDOK=1
IDCANCEL=2

scenario_begin "$name"
case $fault in
  no-driver) rm "$DISK/mlxidecd.SYS" ;;
  no-inf) rm "$DISK/setup.inf" ;;
  read-only) make_drivers_read_only ;;
  disk-full) make_drivers_full ;;
  *) fail "unknown fault '$fault'" ;;
esac
session_begin

case $mode in
  quiet)
    run_setup /quiet /log "$LOG_WIN"
    ;;
  interactive)
    start_setup /log "$LOG_WIN"
    # setup.inf is read before the welcome; the other faults show at the copy.
    # Either way the toolkit first explains the failure in a message box (a
    # dialog without a number): OK for the INF, Cancel instead of Retry for a
    # file the copy cannot write. The files missing from the disk are named
    # together before the copy in a box that is the failure's one window.
    if [[ $fault == no-inf ]]; then
      answer "$MESSAGE_BOX" "$IDOK"
    elif [[ $fault == no-driver ]]; then
      answer "$DLG_WELCOME" "$IDC_CONTINUE"
      await "$MESSAGE_BOX"
      expect_control 65535 'lacks 1 file .*mlxidecd\.SYS.*Setup has changed nothing' "the box"
      robot press "$MESSAGE_BOX" "$IDOK"
    else
      answer "$DLG_WELCOME" "$IDC_CONTINUE"
      answer "$MESSAGE_BOX" "$IDCANCEL"
    fi
    if [[ $fault != no-driver ]]; then
      await "$DLG_FATAL"
      expect_control "$IDC_CAUSE" "${cause_names[$fault]}" "the error dialog's cause"
      expect_control "$IDC_ADVICE" "${advice[$fault]}" "the error dialog's advice"
      expect_control "$IDC_LOG" 'C:\\setup\.log' "the error dialog's log"
      expect_readable "$(last_shot)"
      robot press "$DLG_FATAL" "$IDC_CONTINUE"
    fi
    wait_setup
    ;;
  *) fail "unknown mode '$mode'" ;;
esac

# A person saw the failure: 0; a deployment tool reads 1603.
if [[ $mode == quiet ]]; then expect_exit_code 1603; else expect_exit_code 0; fi
expect_dialog_logged "$DLG_FATAL" "$([[ $fault == no-driver ]] && echo 0 || echo 1)"
expect_outcome 'Outcome: FAILED \(.+\)'
expect_error_logged "${error_code[$fault]}"
expect_drivers_unchanged
expect_no_service
say "PASS $name"
