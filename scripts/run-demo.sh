#!/usr/bin/env bash
# Opens Morvane under Wine on a fresh demo game installation: installs what is missing, builds,
# creates the demo game (registered in the registry's 32-bit view, as the game's installer does)
# in a private Wine prefix, and starts Morvane. With no display it uses a private Xvfb, saves a
# screenshot of the main window, prints its path and closes Morvane again.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 -j 2 --target Morvane morvane_remote
exe=$PWD/build/mingw64/src/Morvane.exe
remote=$PWD/build/mingw64/tests/morvane_remote.exe
demo=$PWD/build/demo

headless=
[ -n "${DISPLAY:-}" ] || headless=1
cleanup() { stop_wine_prefix; [ -n "$headless" ] && stop_xvfb; return 0; }
trap cleanup EXIT
[ -n "$headless" ] && start_xvfb
use_wine_prefix "$demo/wineprefix"

rm -rf "$demo/UT2003"
python3 scripts/make-demo-game.py "$demo/UT2003"
wine reg add 'HKLM\Software\Unreal Technology\Installed Apps\UT2003' /v Folder /t REG_SZ \
  /d "Z:${demo//\//\\}\\UT2003" /f /reg:32 >/dev/null 2>&1
echo "Demo game folder: $demo/UT2003"

if [ -z "$headless" ]; then
  wine "$exe" 2>/dev/null
  exit 0
fi

wine "$exe" >/dev/null 2>&1 &
pid=$!
wine "$remote" wait Morvane
wine "$remote" cursor 0 0   # keep the pointer off the controls, so no tooltip covers them
sleep 1
xwd -root -display "$DISPLAY" -silent | convert xwd:- -trim "$demo/morvane.png"
echo "Screenshot of the main window: $demo/morvane.png"
wine "$remote" close Morvane
wait "$pid"
