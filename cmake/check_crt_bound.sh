#!/usr/bin/env bash
# check_crt_bound.sh <binary>: run after each link of a binary of the disk. It
# must not import msvcrt.dll: its C run-time is bound at start-up
# (platform/crt_binding/). An import means that the binary calls a name the
# binding does not list; the binary is removed, so that the next build links
# it again, and the names are printed.
set -euo pipefail

binary=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

names=$("$objdump" -p "$binary" | awk '
  /^[[:space:]]*DLL Name:/ { dll = toupper($3); next }
  /^[[:space:]]*$/ { dll = "" }
  dll == "MSVCRT.DLL" && /^\t[0-9a-f]+\t/ { print "  " $3 }')
if [[ -n $names ]]; then
  rm -f "$binary"
  printf '%s imports from msvcrt.dll:\n%s\nadd each to platform/crt_binding/crt_imports.h (the symbol is the one the link asks for as __imp__<symbol>)\n' \
    "$(basename "$binary")" "$names" >&2
  exit 1
fi
