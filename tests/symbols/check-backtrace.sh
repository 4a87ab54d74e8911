#!/bin/bash
# Runs the crash probe under Wine and checks that its backtrace names the functions and the lines
# the crash went through: the symbols split off beside a stripped program are found.
# Usage: check-backtrace.sh WITH-WINE PROBE
set -uo pipefail
with_wine=${1:?usage: check-backtrace.sh WITH-WINE PROBE}
probe=${2:?usage: check-backtrace.sh WITH-WINE PROBE}
output=$("$with_wine" wine "$probe" 2>&1)
status=$?
# Wine's debugger may end the crashed probe with exit code 0: the crash shows in what it printed.
if ! grep -q "wine: Unhandled " <<<"$output"; then
  echo "check-backtrace: the probe did not crash (exit code $status)"
  exit 1
fi
for frame in WriteThrough CrashTwoCallsDeep; do
  if ! grep -qE "$frame[^[]*\[[^]]*CrashProbe\.cpp:[0-9]+\]" <<<"$output"; then
    echo "check-backtrace: no frame of $frame with its file and line in the backtrace:"
    echo "$output"
    exit 1
  fi
done
echo "check-backtrace: the backtrace names both functions with their lines"
