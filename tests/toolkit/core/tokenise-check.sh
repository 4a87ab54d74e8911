#!/bin/bash
# The tokenise tool: parameters out, each ended by a zero byte, the program first; --dbcs 932
# steps Shift-JIS characters whole.
set -euo pipefail
tool=$1
check() { # name, expected bytes (printf format), tool options..., with the line on stdin
    local name=$1 expected=$2; shift 2
    local got want
    got=$("$tool" "$@" | od -An -tx1 | tr -d ' \n')
    want=$(printf "$expected" | od -An -tx1 | tr -d ' \n')
    [[ $got == "$want" ]] || { echo "tokenise: $name gave $got, expected $want" >&2; exit 1; }
}
printf '%s\n' 'q.exe Adorn "C:\My Folder" ""' | check "verb line" 'q.exe\0Adorn\0C:\\My Folder\0'
# 0x81 0x22: one character in Shift-JIS; a byte and an opening quote otherwise.
printf 'q \x81" x' | check "Shift-JIS line" 'q\0\x81"\0x\0' --dbcs 932
printf 'q \x81" x' | check "single-byte line" 'q\0\x81 x\0'
if "$tool" --bogus </dev/null 2>/dev/null; then echo "tokenise: an unknown option was accepted" >&2; exit 1; fi
echo "tokenise: ok"
