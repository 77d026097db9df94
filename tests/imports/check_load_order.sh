#!/usr/bin/env bash
# check_load_order.sh <folder> <base library>: the libraries of the folder
# import each other in one direction only. No library imports one that
# imports it back, directly or through others (a load-order cycle), and the
# base library, which the others stand on, imports none of them. Says every
# fault it finds, then exits 1.
set -euo pipefail

folder=$1
base=${2^^}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

shopt -s nullglob nocaseglob
edges=()
declare -A own=()
for binary in "$folder"/*.dll "$folder"/*.exe; do
  name=$(basename "$binary")
  own[${name^^}]=1
done
for binary in "$folder"/*.dll; do
  name=$(basename "$binary")
  while read -r dll; do
    [[ -n ${own[$dll]:-} ]] && edges+=("${name^^} $dll")
  done < <("$objdump" -p "$binary" | awk '/^[[:space:]]*DLL Name:/ { print toupper($3) }')
done

printf '%s\n' "${edges[@]}" | awk -v base="$base" '
  { to[$1] = to[$1] " " $2; seen[$1]; seen[$2] }
  $1 == base { printf "FAIL: %s imports %s; the base library imports none of its peers\n", $1, $2; bad++ }
  # Depth-first search for a path from "to" back to "from".
  function reaches(from, target, visited,    n, list, i) {
    if (from == target) return 1
    if (from in visited) return 0
    visited[from]
    n = split(to[from], list, " ")
    for (i = 1; i <= n; i++) if (reaches(list[i], target, visited)) return 1
    return 0
  }
  END {
    for (a in to) {
      n = split(to[a], list, " ")
      for (i = 1; i <= n; i++) {
        delete visited
        if (reaches(list[i], a, visited)) {
          printf "FAIL: %s imports %s, which imports %s back (a load-order cycle)\n", a, list[i], a
          bad++
        }
      }
    }
    if (bad) exit 1
    printf "%d libraries, %d imports among them, no cycle\n", length(seen), NR
  }' >&2
