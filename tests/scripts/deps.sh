#!/usr/bin/env bash
# scripts/deps against fake dpkg, dpkg-query and apt-get on PATH: an index
# update that fails (a mirror in sync) is tried again, the install goes on
# with the indexes there are, a failure that remains ends on one sentence of
# ours naming the index, and nothing ever pins a suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/deps-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"

# The stale i386 index of the security suite, as apt reports it.
cat >"$work/stale.txt" <<'EOF'
E: Failed to fetch http://archive.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (47808 != 47356). Mirror sync in progress? [IP: 192.0.2.1 80]
   Hashes of expected file:
E: Some index files failed to download. They have been ignored, or old ones used instead.
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$FAKE/calls"
case $* in
  *update*)
    n=$(($(cat "$FAKE/updates" 2>/dev/null || echo 0) + 1)); echo "$n" >"$FAKE/updates"
    if ((n <= FAKE_UPDATE_FAILS)); then cat "$FAKE/stale.txt"; exit 100; fi ;;
  *install*)
    [[ $FAKE_INSTALL == ok ]] && exit 0
    echo " wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100 ;;
esac
EOF
printf '#!/bin/bash\n[[ $1 == --print-foreign-architectures ]] && echo i386\n' >"$work/bin/dpkg"
# Everything is installed but FAKE_MISSING.
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/bash
[[ " $FAKE_MISSING " == *" ${@: -1} "* ]] || printf 'install ok installed'
EOF
printf '#!/bin/bash\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin"/*

failures=0
# check <name> <update fails> <install ok|fail> <missing> <exit> <updates> <installs> <last line regex>
check() {
  local name=$1 rc=0 last
  rm -f "$work/calls" "$work/updates"
  FAKE=$work FAKE_UPDATE_FAILS=$2 FAKE_INSTALL=$3 FAKE_MISSING=$4 DEPS_UPDATE_PAUSE=0 \
    PATH=$work/bin:$PATH bash "$root/scripts/deps" >"$work/out" 2>&1 || rc=$?
  last=$(tail -n 1 "$work/out")
  [[ -n ${DEPS_TEST_SHOW:-} ]] && cat "$work/out"
  local updates installs
  updates=$(grep -c ' update' "$work/calls" 2>/dev/null || true)
  installs=$(grep -c ' install' "$work/calls" 2>/dev/null || true)
  local wrong=()
  ((rc == $5)) || wrong+=("exit $rc, expected $5")
  ((updates == $6)) || wrong+=("$updates updates, expected $6")
  ((installs == $7)) || wrong+=("$installs installs, expected $7")
  [[ $last =~ $8 ]] || wrong+=("last line '$last'")
  # Never a priority or a target release of its own.
  ! grep -qiE 'pin|default-release| -t |target-release|preferences' "$work/calls" 2>/dev/null ||
    wrong+=("apt-get was given a priority: $(cat "$work/calls")")
  if ((${#wrong[@]})); then
    echo "FAIL $name: ${wrong[*]}"
    sed 's/^/  | /' "$work/out"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

check "nothing missing: no apt at all"          9 fail ""     0 0 0 '^deps: all present$'
check "a clean update and install"              0 ok   nsis   0 1 1 '^deps: all present$'
check "a stale index that heals on the 3rd try" 2 ok   nsis   0 3 1 '^deps: all present$'
check "a stale index, the install resolves"     9 ok   nsis   0 3 1 '^deps: all present$'
check "a stale index, the install cannot"       9 fail nsis   1 3 1 \
  '^deps: the packages do not resolve because apt could not update the i386 index of bookworm-security .*again later.*Enabled: no'
check "no index failed, the install cannot"     0 fail nsis   1 1 1 '^deps: apt-get could not install nsis'
exit $((failures > 0))
