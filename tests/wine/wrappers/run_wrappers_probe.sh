#!/usr/bin/env bash
# run_wrappers_probe.sh <wrappers_probe.exe> <disk folder>: runs the wrappers probe in a
# fresh 32-bit Wine prefix (a copy of the run's template prefix when there is
# one, else one made here), then, in a second session (every new Wine session
# is a boot), checks that the file the probe queued was replaced at the boot.
# Prints the probe's lines; exit 0 when every check passed, 77 when Wine or
# the build is missing.
set -euo pipefail

probe=${1:?usage: run_wrappers_probe.sh wrappers_probe.exe disk-folder}
disk=${2:?usage: run_wrappers_probe.sh wrappers_probe.exe disk-folder}
probe_log=stfprobe/probe.log
source "$(dirname "$0")/../probe_lib.sh"
probe_begin wrappers
probe_prefix
probe_stage
probe_display

rc=0
# Session 1: every check, ending with the restart request.
wineserver -p >/dev/null 2>&1
(cd "$scen/run" && timeout 120 wine "$exe" >"$scen/probe.out" 2>"$scen/probe.err") || rc=$?
cat "$scen/probe.out"
grep -q '^probe: ' "$scen/probe.out" || { echo "FAIL the probe did not finish (exit code $rc)"; ((rc != 0)) || rc=1; }
wineserver -k >/dev/null 2>&1 || true
timeout 30 wineserver -w

# Session 2 is a boot: the queued replacement happens before programs run.
(cd "$scen/run" && timeout 60 wine "$exe" --after-boot >"$scen/probe2.out" 2>"$scen/probe2.err") || rc2=$?
cat "$scen/probe2.out"
((${rc2:-0} == 0)) || rc=1
((rc == 0)) && echo "wrappers probe: PASS" || echo "wrappers probe: FAIL (exit code $rc)"
exit "$rc"
