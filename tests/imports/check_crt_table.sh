#!/usr/bin/env bash
# check_crt_table.sh <crt_imports.h> <list>: every name that the binaries bind
# from msvcrt.dll at start-up is in the list of Windows functions with a
# Windows no newer than NT 4.0. A name that NT 4.0's msvcrt.dll lacks would end
# every start there. Says every fault it finds, then exits 1.
set -euo pipefail

table=$1
list=$2

faults=0
fault() {
  printf 'FAIL: %s\n' "$*" >&2
  faults=$((faults + 1))
}

lines=$(grep -c '^CRT_' "$table" || true)
names=$(sed -n 's/^CRT_\(FUNCTION\|DATA\)([A-Za-z0-9_]*, "\([A-Za-z0-9_]*\)")$/\2/p' "$table")
count=$(grep -c . <<<"$names" || true)
((count == lines)) || fault "$table: $((lines - count)) line(s) not of the form CRT_FUNCTION(symbol, \"export\")"
((count > 0)) || fault "$table: no names"

for name in $names; do
  windows=$(awk -v name="$name" '$1 == "MSVCRT.DLL" && $2 == name { print $3 }' "$list")
  case $windows in
    NT3.1 | NT3.5 | NT3.51 | NT4.0) ;;
    "") fault "$table binds msvcrt.dll!$name, which $list does not name; add it with the oldest Windows that has it" ;;
    *) fault "$table binds msvcrt.dll!$name, which needs Windows $windows" ;;
  esac
done

((faults == 0)) || exit 1
printf '%d names bound from msvcrt.dll, each on Windows NT 4.0\n' "$count"
