#!/usr/bin/env bash
# Builds the 32-bit and 64-bit Morvane.exe (Release, static) and writes the download for Windows
# players: build/release/Morvane-<version>.zip with 32-bit/Morvane.exe, 64-bit/Morvane.exe,
# ReadMe.txt (CR LF line ends) and SHA256SUMS.txt; then checks the zip it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
ensure_packages

version=$(sed -n 's/^project(Morvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=build/release
stage=$out/stage
zip=$out/Morvane-$version.zip
for arch in 64:x86_64 32:i686; do
  bits=${arch%%:*}
  echo "== build $bits-bit"
  cmake -S . -B "$out/w$bits" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-${arch#*:}.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DMORVANE_TESTS=OFF >/dev/null
  cmake --build "$out/w$bits" --target Morvane -j 2
done

rm -rf "$stage" "$zip"
mkdir -p "$stage/32-bit" "$stage/64-bit"
cp "$out/w32/src/Morvane.exe" "$stage/32-bit/"
cp "$out/w64/src/Morvane.exe" "$stage/64-bit/"
sed 's/$/\r/' >"$stage/ReadMe.txt" <<TEXT
Morvane $version for UT2003
==========================

What it does
  UT2003 keeps the maps, textures, sounds and other packages that it downloads from servers in
  its Cache folder, under unreadable names. Morvane lists them under their real names and copies
  ("un-caches") the ones you choose into the game's own folders (Maps, Textures, Sounds, ...), so
  that you can use them in your own games. It can also delete cached files and repair the
  Cache\\cache.ini index.

How to start it
  Nothing to install: run 32-bit\\Morvane.exe (any Windows from XP on), or 64-bit\\Morvane.exe on
  64-bit Windows. Morvane finds the game folder in the registry; otherwise type it in.

Launcher mode
  In Options > Morvane options, "Automatically launch Morvane when UT2003 starts and uncache" puts
  a copy of Morvane in place of System\\UT2003.exe and keeps the game as System\\UT2003_original.exe.
  Every start of the game then un-caches everything first. Clearing the box undoes it.
  To undo it by hand: in the game's System folder delete UT2003.exe, then rename
  UT2003_original.exe to UT2003.exe.

Files
  SHA256SUMS.txt holds the SHA-256 checksum of each program.
TEXT
(cd "$stage" && sha256sum 32-bit/Morvane.exe 64-bit/Morvane.exe | sed 's/$/\r/' >SHA256SUMS.txt)
(cd "$stage" && zip -q -X "../$(basename "$zip")" 32-bit/Morvane.exe 64-bit/Morvane.exe ReadMe.txt SHA256SUMS.txt)
scripts/check-release "$zip" "$version"
echo "Wrote $zip"
