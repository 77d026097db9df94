#!/usr/bin/env bash
# sign_disk.sh <scripts/sign> <disk>: signs a copy of the disk with a
# throwaway certificate of 30 days and checks what a vendor relies on.
set -euo pipefail
sign=$1 disk=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/sign-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

mkdir "$work/disk"
cp "$disk"/*.exe "$disk"/*.dll "$disk"/*.SYS "$disk"/setup.inf "$work/disk/"
SIGN_THROWAWAY_DIR=$work/tw SIGN_DAYS=30 "$sign" "$work/disk" >"$work/sign.out" 2>&1 ||
  fail "scripts/sign failed: $(cat "$work/sign.out")"
grep -q THROWAWAY "$work/sign.out" || fail "scripts/sign did not say that it used a throwaway certificate"
cmp -s "$disk/setup.inf" "$work/disk/setup.inf" || fail "scripts/sign changed setup.inf, which is no PE"
# The programs' manifests were written anew after the libraries were signed.
bash "$(dirname "$0")/manifest_agrees.sh" "$(dirname "$sign")/stamp-manifest" "$work/disk" >/dev/null

ca=(-CAfile "$work/tw/root.pem" -TSA-CAfile "$work/tw/root.pem")
verify() { osslsigncode verify "${ca[@]}" "$@" >"$work/verify.out" 2>&1; }
later=$(($(date +%s) + 90 * 86400))  # two months after the certificate expired

pes=0
for file in "$work"/disk/*; do
  [[ $(head -c 2 "$file") == MZ ]] || continue
  name=$(basename "$file")
  pes=$((pes + 1))
  verify -in "$file" || fail "$name does not verify: $(tail -n 3 "$work/verify.out")"
  grep -q 'Number of verified signatures: 2' "$work/verify.out" || fail "$name: not two signatures"
  grep -q 'Message digest algorithm  : SHA1' "$work/verify.out" || fail "$name: no SHA-1 signature"
  grep -q 'Message digest algorithm  : SHA256' "$work/verify.out" || fail "$name: no SHA-256 signature"
  [[ $(grep -c 'Timestamp Server Signature verification: ok' "$work/verify.out") == 2 ]] ||
    fail "$name: not both signatures timestamped"
  verify -time "$later" -in "$file" || fail "$name: the timestamp does not outlive the certificate"
done
((pes == 9)) || fail "expected 9 PE files on the disk (2 programs, 6 libraries, the driver), saw $pes"

# Without its timestamp, the same check after expiry fails: the timestamp is what keeps it.
verify -time "$later" -ignore-timestamp -in "$work/disk/setup.exe" &&
  fail "setup.exe verified after the certificate's expiry without its timestamp"

# One flipped byte, in the code and in the DOS stub: both digests fail.
for at in 1200 80; do
  cp "$work/disk/mlxidecd.SYS" "$work/changed.sys"
  byte=$(od -An -tu1 -j "$at" -N1 "$work/changed.sys" | tr -d ' ')
  printf "\\x$(printf %02x $((byte ^ 1)))" | dd of="$work/changed.sys" bs=1 seek="$at" conv=notrunc 2>/dev/null
  verify -in "$work/changed.sys" && fail "the driver with byte $at flipped verified"
  [[ $(grep -c MISMATCH "$work/verify.out") == 2 ]] ||
    fail "byte $at flipped: expected both digests to mismatch: $(grep -i digest "$work/verify.out")"
done

# Signing again changes nothing: a signed file is kept as it is.
cp -a "$work/disk" "$work/again"
"$sign" "$work/again" >"$work/sign2.out" 2>&1 || fail "signing a signed disk failed: $(cat "$work/sign2.out")"
diff -r "$work/disk" "$work/again" >/dev/null || fail "signing a signed disk changed its files"
echo "9 PE files signed twice each, verified, tampering and expiry checked"
