#!/bin/sh
# Rebuilds the generated GIF fixtures here and the bitmap fuzz seeds.
# Usage (from anywhere): tests/data/gif/make-fixtures.sh
set -eu
root=$(cd "$(dirname "$0")/../../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
c++ -std=c++20 -O1 -Wall -Wextra -I "$root" "$root/tests/data/gif/make_fixtures.cpp" "$root/image/GifEncoder.cpp" -o "$tmp/make_fixtures"
mkdir -p "$root/fuzz/corpus/bitmap"
"$tmp/make_fixtures" "$root/tests/data/gif" "$root/fuzz/corpus/bitmap"
