#!/bin/bash
# Saves a picture of the About box as its test shows it, to build/screenshots/about.png.
# Run after `make build`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/screenshots
mkdir -p "$out"
cd "$root"
rm -f "$out/about.bmp"
QUORREL_BIN=$root/build/bin QUORREL_ART=$root/build/cmake/art \
QUORREL_ABOUT_SCREENSHOT="Z:$(echo "$out" | tr / '\\')\\about.bmp" \
  scripts/with-wine wine build/cmake/out/sidecars_tests.exe --gtest_filter=AboutBox.ShowsEveryShippedTextModalToItsOwner
/usr/bin/python3 -c "import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])" \
  "$out/about.bmp" "$out/about.png"
rm -f "$out/about.bmp"
echo "about-screenshot: $out/about.png"
