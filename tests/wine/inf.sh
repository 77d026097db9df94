#!/usr/bin/env bash
# inf.sh inf-<case>: setup.inf as editors save it: UTF-16LE with its byte
# order mark, and a large file. Each must install like the plain one.
source "$(dirname "$0")/lib.sh"

scenario_begin "$1"
case $1 in
  inf-utf16)
    { printf '\xFF\xFE'; iconv -f UTF-8 -t UTF-16LE "$DISK/setup.inf"; } >"$SCEN/setup.inf"
    mv "$SCEN/setup.inf" "$DISK/setup.inf"
    ;;
  inf-10mb)
    # Comments, and a section of 200,000 lines that nothing reads.
    {
      cat "$DISK/setup.inf"
      printf '[Padding]\r\n'
      awk 'BEGIN { for (i = 0; i < 200000; i++) printf "key%06d = value%06d, \"%s\" ; padding\r\n", i, i, "a quoted field, with a comma" }'
    } >"$SCEN/setup.inf"
    mv "$SCEN/setup.inf" "$DISK/setup.inf"
    size=$(stat -c %s "$DISK/setup.inf")
    ((size >= 10 * 1000 * 1000)) || fail "the large setup.inf has only $size bytes"
    ;;
  *) echo "inf.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
session_begin
run_setup /quiet /log "$LOG_WIN"
expect_exit_code 3010
expect_outcome "$OUTCOME_INSTALLED"
expect_driver_installed
expect_service
say "PASS $1"
