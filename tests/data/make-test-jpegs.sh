#!/bin/bash
# Makes the small JPEG pictures the toolkit tests decode, with the cjpeg.exe that the build makes
# beside its libjpeg-turbo. ctest runs it before the toolkit tests, inside the Wine environment of
# scripts/with-wine.
# Usage: make-test-jpegs.sh CJPEG OUTPUT-FOLDER
#   blocks.jpg       48 x 16: red, green and blue 16 x 16 blocks (baseline, quality 95)
#   blocks-prog.jpg  the same picture, progressive
#   gray.jpg         16 x 8 greyscale: black left half, white right half
set -euo pipefail
cjpeg=${1:?usage: make-test-jpegs.sh CJPEG OUTPUT-FOLDER}
out=${2:?usage: make-test-jpegs.sh CJPEG OUTPUT-FOLDER}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Binary PPM (P6): one row repeated 16 times.
{
  printf 'P6\n48 16\n255\n'
  for _ in $(seq 16); do
    for _ in $(seq 16); do printf '\xff\x00\x00'; done
    for _ in $(seq 16); do printf '\x00\xff\x00'; done
    for _ in $(seq 16); do printf '\x00\x00\xff'; done
  done
} >"$work/blocks.ppm"
# Binary PGM (P5).
{
  printf 'P5\n16 8\n255\n'
  for _ in $(seq 8); do
    for _ in $(seq 8); do printf '\x00'; done
    for _ in $(seq 8); do printf '\xff'; done
  done
} >"$work/gray.pgm"

cd "$work"
wine "$cjpeg" -quality 95 -outfile blocks.jpg blocks.ppm
wine "$cjpeg" -quality 95 -progressive -outfile blocks-prog.jpg blocks.ppm
wine "$cjpeg" -quality 95 -grayscale -outfile gray.jpg gray.pgm
cp blocks.jpg blocks-prog.jpg gray.jpg "$out/"
