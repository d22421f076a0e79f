#!/usr/bin/env bash
# Builds the x86-64 preset and runs each benchmark under Wine on a private prefix and Xvfb display.
# Every benchmark times our code and the bare disk work of the same job in one run and prints both
# with their ratio. MORVANE_BENCH_BUILD picks another build folder (default build/mingw64).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

build=${MORVANE_BENCH_BUILD:-build/mingw64}
case $build in /*) ;; *) build=$PWD/$build ;; esac

benches=(IndexBench ListingBench MarksBench UncacheBench FixerBench ExportBench CopyBench RemoveBench)
ensure_packages
echo "== build mingw64 in $build"
cmake --preset mingw64 -B "$build" >/dev/null
cmake --build "$build" -j 2 --target "${benches[@]}"

cleanup() { stop_wine_prefix; stop_xvfb; }
trap cleanup EXIT
start_xvfb
# Called as a condition so that a server the prefix already has running is simply used.
use_wine_prefix "$build/wineprefix" || { echo "cannot set up the Wine prefix in $build" >&2; exit 1; }

# Wine compares every new file name with the whole folder, so the benchmarks' thousands of cached
# files are made by one python3 process on the Unix side, in seconds, before anything is timed.
status=0
for bench in "${benches[@]}"; do
  echo "== $bench"
  # Wine's start-up hints go to stderr; show it only when a benchmark fails.
  if ! wine "$build/bench/$bench.exe" 2>"$build/bench/$bench.stderr" | tr -d '\r'; then
    echo "$bench failed" >&2
    grep -v -e 'wine32' -e 'rundll32' "$build/bench/$bench.stderr" >&2 || true
    status=1
  fi
done
exit $status
