#!/usr/bin/env bash
# run_support_probe.sh <support_probe.exe> <disk folder>: runs the support probe in a fresh
# 32-bit Wine prefix (a copy of the run's template prefix when there is one,
# else one made here) with our toolkit libraries beside it. Prints the probe's
# lines; exit 0 when every check passed, 77 when Wine or the build is missing.
set -euo pipefail

probe=${1:?usage: run_support_probe.sh support_probe.exe disk-folder}
disk=${2:?usage: run_support_probe.sh support_probe.exe disk-folder}
probe_log=stfsupport/probe.log
source "$(dirname "$0")/../probe_lib.sh"
probe_begin support
probe_prefix
probe_stage
probe_display

rc=0
(cd "$scen/run" && timeout 120 wine "$exe" >"$scen/probe.out" 2>"$scen/probe.err") || rc=$?
cat "$scen/probe.out"
grep -q '^probe: ' "$scen/probe.out" || { echo "FAIL the probe did not finish (exit code $rc)"; ((rc != 0)) || rc=1; }

wineserver -k >/dev/null 2>&1 || true
timeout 30 wineserver -w

# The double-byte name checks, in a session of their own under code page 932.
# Without a generated glibc locale Wine would read non-ASCII file names as
# ASCII; this one is generated for the run alone.
rc2=0
mkdir -p "$scen/locale"
if localedef -i ja_JP -f UTF-8 "$scen/locale/ja_JP.UTF-8" >"$scen/localedef.log" 2>&1; then
  (cd "$scen/run" && LOCPATH=$scen/locale LANG=ja_JP.UTF-8 LC_ALL= LC_CTYPE= \
    timeout 60 wine "$exe" --dbcs >"$scen/probe-dbcs.out" 2>"$scen/probe-dbcs.err") || rc2=$?
  cat "$scen/probe-dbcs.out"
  grep -q '^probe: ' "$scen/probe-dbcs.out" || { echo "FAIL the double-byte probe did not finish"; rc2=1; }
  ((rc2 == 0)) || rc=1
else
  echo "FAIL localedef -i ja_JP -f UTF-8: $(cat "$scen/localedef.log")"
  rc=1
fi

# What the probe left behind, seen from outside: nothing under its names.
wineserver -k >/dev/null 2>&1 || true
timeout 30 wineserver -w
if grep -qi 'StfSupportProbe' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" 2>/dev/null; then
  echo "FAIL probe keys left in the registry"; rc=1
else
  echo "ok   no probe keys left in the registry files"
fi
if grep -qi 'STFPROBEAPP\|StfSupportProbe' "$WINEPREFIX/drive_c/windows/win.ini" 2>/dev/null; then
  echo "FAIL probe entries left in WIN.INI"; rc=1
else
  echo "ok   no probe entries left in WIN.INI"
fi
((rc == 0)) && echo "support probe: PASS" || echo "support probe: FAIL (exit code $rc)"
exit "$rc"
