#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the native, fuzz, x86-64 and i686 presets, then
# runs CTest natively (AddressSanitizer, UBSan), a bounded libFuzzer run of the index and the name
# checks, and the Windows tests under Wine on a private prefix and Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages
for preset in native fuzz mingw64 mingw32; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2
done

echo "== native tests"
ctest --preset native

echo "== fuzzing the index and the name checks"
ctest --preset fuzz

echo "== Windows tests under Wine"
cleanup() { stop_wine_prefix; stop_xvfb; }
trap cleanup EXIT
start_xvfb
use_wine_prefix "$PWD/build/mingw64/wineprefix"
ctest --preset mingw64

echo "== i686 executables"
ctest --test-dir build/mingw32 --output-on-failure

echo "== release zip"
scripts/release.sh
