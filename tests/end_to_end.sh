#!/usr/bin/env bash
# The real Morvane.exe as a process on the demo game installation: it lists the cache, and
# Select All, "Delete cached files when un-caching" and "Un-cache selected files" put every file
# in its game folder (the text file in a sub-folder the user names) and empty the cache. Closing
# stores the options; started again with automatic un-caching stored, it does all of that itself
# before its window shows.
# Usage: end_to_end.sh Morvane.exe morvane_remote.exe SOURCE_DIR (Wine environment from CTest).
set -euo pipefail
exe=$1 remote=$2 src=$3
work=$(mktemp -d)
game="$work/UT2003"
pid=
options='HKCU\Software\Morvane'
forget_options() {
  wine reg delete "$options" /f >/dev/null 2>&1 || true
  wine reg delete 'HKLM\Software\Morvane' /f /reg:32 >/dev/null 2>&1 || true
}
finish() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; forget_options; rm -rf "$work"; }
trap finish EXIT
fail() { echo "FAILED: $*"; exit 1; }
r() { wine "$remote" "$@" 2>/dev/null | tr -d '\r'; }

forget_options
python3 "$src/scripts/make-demo-game.py" "$game"
wine reg add 'HKLM\Software\Unreal Technology\Installed Apps\UT2003' /v Folder /t REG_SZ \
  /d "Z:${game//\//\\}" /f /reg:32 >/dev/null 2>&1

wine "$exe" >/dev/null 2>&1 &
pid=$!
r wait Morvane || fail "the main window did not open"
rows=$(r rows Morvane 1011)
expected="DM-Morvane-Docks.ut2 CTF-Glacier-Run.ut2 MorvaneWeapons.u MorvaneWeapons.int GlacierRock.utx HarbourAmbience.uax DocksTheme.ogg MenuLoop.umx CraneParts.usx SeagullRig.ukx Checkpoint.uvx ReadMe-Docks.txt"
[ "$(echo $rows)" = "$expected" ] || fail "rows: $(echo $rows)"
[ "$(r text Morvane 1021)" = "Maps (*.ut2) : 2" ] || fail "maps label: $(r text Morvane 1021)"

r click Morvane 1034   # Delete cached files when un-caching
r click Morvane 1031   # Select All
r click Morvane 1032   # Un-cache selected files
answer_subfolder() { r settext "Enter sub-directory" 1201 Help; r click "Enter sub-directory" 1; }
answer_subfolder
for _ in $(seq 1 100); do [ -z "$(r rows Morvane 1011)" ] && break; sleep 0.1; done

all_uncached() {
  [ -z "$(r rows Morvane 1011)" ] || fail "rows left after un-caching: $(r rows Morvane 1011)"
  for f in Maps/DM-Morvane-Docks.ut2 Maps/CTF-Glacier-Run.ut2 System/MorvaneWeapons.u System/MorvaneWeapons.int \
           Textures/GlacierRock.utx Sounds/HarbourAmbience.uax Music/DocksTheme.ogg Music/MenuLoop.umx \
           StaticMeshes/CraneParts.usx Animations/SeagullRig.ukx Saves/Checkpoint.uvx Help/ReadMe-Docks.txt; do
    [ -f "$game/$f" ] || fail "$f was not un-cached"
  done
  [ "$(head -c 20 "$game/Maps/DM-Morvane-Docks.ut2")" = "DM-Morvane-Docks.ut2" ] || fail "map content"
  [ "$(ls "$game/Cache")" = "cache.ini" ] || fail "cache not emptied: $(ls "$game/Cache")"
  # The entry whose cached file was missing is not listed, so it stays in the index.
  printf '[Cache]\r\n%s=BR-Lost-Signal.ut2\r\n' "$(python3 -c 'import hashlib;print(hashlib.md5(b"BR-Lost-Signal.ut2").hexdigest().upper())')" > "$work/expected.ini"
  cmp -s "$game/Cache/cache.ini" "$work/expected.ini" || fail "cache.ini: $(od -c "$game/Cache/cache.ini" | head)"
}
closes() {
  r close Morvane
  wait "$pid" || fail "Morvane exited with $?"
  pid=
}
all_uncached
closes

stored() { wine reg query "$options" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v { print $2 "=" $3 }'; }
[ "$(stored DelFiles) $(stored Auto-Empty) $(stored Auto-Launch)" = "REG_SZ=1 REG_SZ=0 REG_SZ=0" ] ||
  fail "options stored: $(stored DelFiles) $(stored Auto-Empty) $(stored Auto-Launch)"

# Started again on a fresh cache with automatic un-caching: the sub-folder question comes before
# the main window has ever been shown.
rm -rf "$game"
python3 "$src/scripts/make-demo-game.py" "$game"
wine reg add "$options" /v Auto-Empty /t REG_SZ /d 1 /f >/dev/null 2>&1
wine "$exe" >/dev/null 2>&1 &
pid=$!
r wait "Enter sub-directory"
r gone Morvane || fail "the main window showed before the automatic run had ended"
answer_subfolder
r wait Morvane || fail "the main window did not open after the automatic run"
all_uncached
closes
echo "end to end: 1 passed, 0 failed"
