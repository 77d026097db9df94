#!/usr/bin/env bash
# manifest_agrees.sh <scripts/stamp-manifest> <disk>: the manifest each
# program of the disk carries agrees with sha256sum and the files' sizes, and
# lists every file of the disk but setup.exe (uninstall.exe's: but both
# programs), no more.
set -euo pipefail
stamper=$1 disk=$2
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

for program in setup.exe uninstall.exe; do
  shown=$(python3 "$stamper" --show "$disk/$program") || fail "$program carries no manifest"
  [[ $(head -n 1 <<<"$shown") == 'disk manifest 1' ]] || fail "$program: no manifest header"
  expected=""
  for file in "$disk"/*; do
    name=$(basename "$file")
    [[ $name == setup.exe || ($program == uninstall.exe && $name == uninstall.exe) ]] && continue
    expected+="$name $(stat -c %s "$file") $(sha256sum "$file" | cut -d' ' -f1)"$'\n'
  done
  listed=$(tail -n +2 <<<"$shown" | cut -f1-3 | tr '\t' ' ' | sort)
  [[ $listed == "$(printf '%s' "$expected" | sort)" ]] ||
    fail "$program's manifest:
$listed
sha256sum and stat:
$expected"
done
echo "the manifests of setup.exe and uninstall.exe agree with sha256sum"
