#!/bin/bash
# Runs the crash probe under Wine and checks that its backtrace names the functions and the lines
# the crash went through: the symbols split off beside a stripped program are found.
# Usage: check-backtrace.sh WITH-WINE PROBE
set -uo pipefail
with_wine=${1:?usage: check-backtrace.sh WITH-WINE PROBE}
probe=${2:?usage: check-backtrace.sh WITH-WINE PROBE}
output=$("$with_wine" wine "$probe" 2>&1)
status=$?
if ((status == 0)); then
  echo "check-backtrace: the probe did not crash"
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
