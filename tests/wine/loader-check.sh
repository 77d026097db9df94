#!/usr/bin/env bash
# Fails at once, saying why, where Wine's 32-bit loader cannot start: every
# program of the disk and of the tests is 32-bit, and a wineboot that cannot
# start says only "Exec format error" deep in its log. Exit code 77 when the
# kernel runs no 32-bit programs at all (nothing of ours can run here, which
# is the machine's limit, not a fault), 1 on any other failure.
set -uo pipefail
answer=$(wine --version 2>&1) && exit 0
echo "Wine cannot start on this machine: ${answer##*$'\n'}" >&2
if [[ $answer == *"Exec format error"* ]]; then
  echo "This machine runs no 32-bit programs (its kernel's IA-32 emulation is off)," \
       "and the disk and the tests are 32-bit: run them on a machine that runs 32-bit programs." >&2
  exit 77
fi
exit 1
