#!/usr/bin/env bash
# check_imports.sh <folder> <list> [known DLLs]: every .exe and .dll in the
# folder loads on Windows NT 4.0 and loads no planted DLL. Each function it
# imports from Windows must be in the list with a Windows no newer than NT
# 4.0, and come from a KnownDLL of every Windows (known_dlls.txt beside this
# script); imports from a library of the folder itself must find that
# library there, and a program imports ours only with delay (it checks them
# before it loads them); the PE header keeps OS and subsystem version 4.0.
# setup.exe delay-loads at most 40 of the toolkit's operations: a program
# carries the imports of every wrapper file it links, so one wrapper that
# nothing calls brings its operations along. Prints each binary's delay
# imports by library. Says every fault it finds, then exits 1.
set -euo pipefail

folder=$1
list=$2
known_list=${3:-$(dirname "$0")/known_dlls.txt}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
delay_imports=${DELAY_IMPORTS:-$(dirname "$0")/../../cmake/delay_imports.py}
readonly ACCEPTED=" NT3.1 NT3.5 NT3.51 NT4.0 "
readonly KNOWN="$ACCEPTED NT4.0+IE4 2000 XP XPSP2 XPx64 Vista 10 "
readonly BASES=" ref doc shell crt ole "
declare -A MOST_DELAYED=([SETUP.EXE]=40)

faults=0
fault() {
  printf 'FAIL: %s\n' "$*" >&2
  faults=$((faults + 1))
}

declare -A version=()
while read -r dll function windows basis extra; do
  [[ -z $dll || $dll == \#* ]] && continue
  [[ -n $function && -z ${extra:-} ]] || { fault "$list: malformed line: $dll $function $windows $basis $extra"; continue; }
  [[ $KNOWN == *" $windows "* ]] || fault "$list: $dll $function: unknown Windows '$windows'"
  [[ $BASES == *" $basis "* ]] || fault "$list: $dll $function: unknown basis '$basis'"
  version[${dll^^}!$function]=$windows
done <"$list"

declare -A known=()
while read -r dll lists basis extra; do
  [[ -z $dll || $dll == \#* ]] && continue
  [[ -n $basis && -z ${extra:-} ]] || { fault "$known_list: malformed line: $dll $lists $basis $extra"; continue; }
  known[${dll^^}]=1
done <"$known_list"

shopt -s nullglob nocaseglob
binaries=("$folder"/*.exe "$folder"/*.dll)
((${#binaries[@]} > 0)) || { fault "no .exe or .dll in $folder"; exit 1; }
declare -A own=()
for binary in "${binaries[@]}"; do
  name=$(basename "$binary")
  own[${name^^}]=1
done

# check_import <binary's name> <library> <function>: one import against the rules.
check_import() {
  local name=$1 dll=$2 function=$3
  checked=$((checked + 1))
  if [[ -n ${own[$dll]:-} ]]; then
    return
  elif [[ $dll == MS*STF.DLL || $dll == MSCUISTF.DLL ]]; then
    fault "$name imports $function from $dll, which is not in $folder"
  elif [[ $dll == MSVCRT.DLL ]]; then
    fault "$name imports $function from MSVCRT.DLL, which is not a KnownDLL of Windows NT 4.0: bind it at start-up instead (platform/crt_binding/crt_imports.h)"
  elif [[ -z ${known[$dll]:-} ]]; then
    fault "$name imports $dll, which is not a KnownDLL of every Windows ($known_list): a copy beside the program would be loaded; load it at run time from the system directory (StfSystemLibrary)"
  elif [[ -z $function ]]; then
    fault "$name imports from $dll by ordinal; only names can be checked"
  elif [[ -z ${version[$dll!$function]:-} ]]; then
    fault "$name imports $dll!$function, which $list does not name; add it with the oldest Windows that has it"
  elif [[ $ACCEPTED != *" ${version[$dll!$function]} "* ]]; then
    fault "$name imports $dll!$function, which needs Windows ${version[$dll!$function]}; look it up at run time (GetProcAddress) with a fallback"
  fi
}

checked=0
for binary in "${binaries[@]}"; do
  name=$(basename "$binary")
  dump=$("$objdump" -p "$binary") || { fault "$name: $objdump cannot read it"; continue; }
  for field in MajorOSystemVersion:4 MinorOSystemVersion:0 MajorSubsystemVersion:4 MinorSubsystemVersion:0; do
    seen=$(awk -v f="${field%:*}" '$1 == f { print $2 }' <<<"$dump")
    [[ $seen == "${field#*:}" ]] || fault "$name: ${field%:*} is '$seen', expected ${field#*:}"
  done
  # "DLL Name: X" opens a library's imports; each import is a line of
  # address, hint or ordinal, and name (none for an import by ordinal).
  while IFS=$'\t' read -r dll function; do
    # A program loads ours only once it has checked them: with delay.
    [[ $name == *.[eE][xX][eE] && -n ${own[$dll]:-} ]] &&
      fault "$name imports $dll statically: it would be loaded before the program checks it"
    check_import "$name" "$dll" "$function"
  done < <(awk '
    /^[[:space:]]*DLL Name:/ { dll = toupper($3); next }
    /^[[:space:]]*$/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t/ {
      n = split($0, part, /[[:space:]]+/)
      name = (n >= 4 && part[4] != "<none>") ? part[4] : ""
      printf "%s\t%s\n", dll, name
    }' <<<"$dump")
  # The delay imports (objdump does not list them): the same rules, and a count.
  delayed=$(python3 "$delay_imports" --list "$binary") || { fault "$name: its delay imports cannot be read"; continue; }
  if [[ -z $delayed ]]; then
    [[ $name == *.[eE][xX][eE] && -n ${own[MSCOMSTF.DLL]:-} ]] &&
      fault "$name delay-loads nothing: its Delay Import Directory is empty (cmake/delay_imports.py --fill)"
    continue
  fi
  while IFS=$'\t' read -r dll function; do
    check_import "$name" "${dll^^}" "$function"
  done <<<"$delayed"
  most=${MOST_DELAYED[${name^^}]:-}
  [[ -z $most ]] || (($(wc -l <<<"$delayed") <= most)) ||
    fault "$name delay-loads $(wc -l <<<"$delayed") functions of the toolkit, more than $most"
  printf '%s delay-loads %d functions: %s\n' "$name" "$(wc -l <<<"$delayed")" \
    "$(cut -f1 <<<"$delayed" | uniq -c | awk '{ printf "%s%s %d", sep, $2, $1; sep = ", " }')"
done

((checked > 0)) || fault "no imports found in ${#binaries[@]} binaries: has $objdump's output changed?"
if ((faults > 0)); then
  printf '%d fault(s) in the imports of %s\n' "$faults" "$folder" >&2
  exit 1
fi
printf 'Imports of %d binaries (%d functions) load on Windows NT 4.0, from KnownDLLs and the folder\n' "${#binaries[@]}" "$checked"
