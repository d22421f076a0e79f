#!/usr/bin/env bash
# The real Morvane.exe as a process on the demo game installation: it lists the cache, and
# Select All, "Delete cached files when un-caching" and "Un-cache selected files" put every file
# in its game folder (the text file in a sub-folder the user names) and empty the cache. Closing
# stores the options; started again with automatic un-caching stored, it does all of that itself
# before its window shows. Installed in the game's place, as System\UT2003.exe beside a stand-in
# for the game, it un-caches, starts the stand-in, puts the names back and ends unseen.
# Usage: end_to_end.sh Morvane.exe morvane_remote.exe SOURCE_DIR standin.exe (Wine environment from CTest).
set -euo pipefail
exe=$1 remote=$2 src=$3 standin=$4
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

all_uncached() {  # "listed": the main window is open and lists nothing more
  [ "${1:-}" != listed ] || [ -z "$(r rows Morvane 1011)" ] || fail "rows left after un-caching: $(r rows Morvane 1011)"
  for f in Maps/DM-Morvane-Docks.ut2 Maps/CTF-Glacier-Run.ut2 System/MorvaneWeapons.u System/MorvaneWeapons.int \
           Textures/GlacierRock.utx Sounds/HarbourAmbience.uax Music/DocksTheme.ogg Music/MenuLoop.umx \
           StaticMeshes/CraneParts.usx Animations/SeagullRig.ukx Saves/Checkpoint.uvx Help/ReadMe-Docks.txt; do
    [ -f "$game/$f" ] || fail "$f was not un-cached"
  done
  [ "$(head -c 20 "$game/Maps/DM-Morvane-Docks.ut2")" = "DM-Morvane-Docks.ut2" ] || fail "map content"
  # What stays: the index, and the demo's stray cached file, which no line names and so is never listed.
  stray="$(python3 -c 'import hashlib;print(hashlib.md5(b"DM-Morvane-Stray.ut2").hexdigest().upper())')-1.uxx"
  [ "$(ls "$game/Cache" | grep -vx cache.ini)" = "$stray" ] && [ -f "$game/Cache/cache.ini" ] ||
    fail "cache not emptied: $(ls "$game/Cache")"
  # The entry whose cached file was missing is not listed, so it stays in the index.
  printf '[Cache]\r\n%s=BR-Lost-Signal.ut2\r\n' "$(python3 -c 'import hashlib;print(hashlib.md5(b"BR-Lost-Signal.ut2").hexdigest().upper())')" > "$work/expected.ini"
  cmp -s "$game/Cache/cache.ini" "$work/expected.ini" || fail "cache.ini: $(od -c "$game/Cache/cache.ini" | head)"
}
closes() {
  r close Morvane
  wait "$pid" || fail "Morvane exited with $?"
  pid=
}
all_uncached listed
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
all_uncached listed
closes

# Launcher mode: the stand-in game is started under the game's name, minimised, without arguments.
rm -rf "$game"
python3 "$src/scripts/make-demo-game.py" "$game"
cp "$exe" "$game/System/UT2003.exe"
cp "$standin" "$game/System/UT2003_original.exe"
forget_options
wine reg add "$options" /v Auto-Launch /t REG_SZ /d 1 /f >/dev/null 2>&1
wine reg add "$options" /v DelFiles /t REG_SZ /d 1 /f >/dev/null 2>&1
wine "$game/System/UT2003.exe" >/dev/null 2>&1 &
pid=$!
answer_subfolder
for _ in $(seq 1 100); do [ -f "$game/System/started.txt" ] && break; sleep 0.1; done
[ "$(tr -d '\r\n' < "$game/System/started.txt")" = "\"Z:${game//\//\\}\\System\\UT2003.exe\"|2" ] ||
  fail "the game was started as $(cat "$game/System/started.txt" 2>&1)"
[ -f "$game/System/Morvane.exe" ] || fail "Morvane is not aside while the game runs"
r gone Morvane || fail "the main window showed in launcher mode"
wait "$pid" || fail "Morvane exited with $? after launching"
pid=
all_uncached
cmp -s "$exe" "$game/System/UT2003.exe" || fail "UT2003.exe is not Morvane again"
cmp -s "$standin" "$game/System/UT2003_original.exe" || fail "UT2003_original.exe is not the game again"
[ ! -e "$game/System/Morvane.exe" ] || fail "Morvane.exe left behind"
wine reg query 'HKLM\Software\Morvane' /reg:32 >/dev/null 2>&1 && fail "launcher mode saved the options"
echo "end to end: 1 passed, 0 failed"
