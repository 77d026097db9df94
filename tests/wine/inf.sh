#!/usr/bin/env bash
# inf.sh inf-<case>: setup.inf as editors save it: UTF-16LE with its byte
# order mark, and a large file. Each must install like the plain one.
# inf-agreement: INF files laid out as driver disks' are (bench/inf_corpus.py),
# read by the toolkit and by setupapi; every field must agree but where
# setupapi is known to differ (bench/inf_compare.cpp names those kinds).
source "$(dirname "$0")/lib.sh"

agreement() {
  python3 "${WINE_TEST_INF_CORPUS:?set by ctest: bench/inf_corpus.py}" "$SCEN/corpus"
  cp "${WINE_TEST_INF_COMPARE:?set by ctest: inf_compare.exe}" "$DISK/"
  local files=() file
  for file in driver.inf intl-utf16.inf intl-utf8.inf long-fields.inf; do
    files+=("$(windows_path "$SCEN/corpus/$file")")
  done
  persistent_session
  local rc=0
  (cd "$DISK" && wine inf_compare.exe "${files[@]}" >"$SCEN/compare.out" 2>"$SCEN/compare.err") || rc=$?
  tr -d '\r' <"$SCEN/compare.out" | tee "$WINE_TEST_ARTIFACTS/inf-agreement.txt"
  ((rc == 0)) || fail "the toolkit and setupapi disagree (exit $rc): $(cat "$SCEN/compare.err")"
  grep -q '^all files: .* [1-9][0-9]* fields' "$WINE_TEST_ARTIFACTS/inf-agreement.txt" ||
    fail "no field was compared"
  say "PASS $1"
}

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
  inf-agreement) agreement "$1"; exit 0 ;;
  *) echo "inf.sh: unknown scenario '$1'" >&2; exit 2 ;;
esac
session_begin
run_setup /quiet /log "$LOG_WIN"
expect_exit_code 3010
expect_outcome "$OUTCOME_INSTALLED"
expect_driver_installed
expect_service
say "PASS $1"
