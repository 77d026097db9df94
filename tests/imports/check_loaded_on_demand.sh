#!/usr/bin/env bash
# check_loaded_on_demand.sh <folder> <library>...: no binary of the folder
# imports the libraries named. They serve work a run may never do (program
# groups, shortcuts, version resources) and each brings more libraries into
# every start; the toolkit loads them when that work comes. Says every
# binary that imports one, then exits 1.
set -euo pipefail

folder=$1
shift
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

shopt -s nullglob nocaseglob
bad=0
for binary in "$folder"/*.dll "$folder"/*.exe; do
  while read -r dll; do
    for library in "$@"; do
      if [[ $dll == "${library^^}" ]]; then
        echo "FAIL: $(basename "$binary") imports $dll, which is loaded when its work comes"
        bad=1
      fi
    done
  done < <("$objdump" -p "$binary" | awk '/^[[:space:]]*DLL Name:/ { print toupper($3) }')
done
exit $bad
