#!/usr/bin/env bash
# The real Morvane.exe as a process on the demo game installation, where only a process shows the
# behaviour. Started with automatic un-caching and "Delete cached files when un-caching" stored, it
# puts every file in its game folder (the text file in a sub-folder the user names) and empties
# the cache before its window shows. Installed in the game's place, as System\UT2003.exe beside a
# stand-in for the game, it un-caches, starts the stand-in, puts the names back and ends unseen.
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
md5() { python3 -c 'import hashlib,sys;print(hashlib.md5(sys.argv[1].encode()).hexdigest().upper())' "$1"; }
new_game() {  # NAME=VALUE...: a fresh demo game, and only these options stored
  rm -rf "$game"
  python3 "$src/scripts/make-demo-game.py" "$game"
  forget_options
  for o in "$@"; do wine reg add "$options" /v "${o%=*}" /t REG_SZ /d "${o#*=}" /f >/dev/null 2>&1; done
}
answer_subfolder() { r settext "Enter sub-directory" 1201 Help; r click "Enter sub-directory" 1; }
ended() { wait "$pid" || fail "Morvane exited with $?"; pid=; }
all_uncached() {  # "listed": the main window is open and lists nothing more
  [ "${1:-}" != listed ] || [ -z "$(r rows Morvane 1011)" ] || fail "rows left after un-caching: $(r rows Morvane 1011)"
  # Where each type goes is the core's; here the run is seen to have happened, the sub-folder answered.
  for f in Maps/DM-Morvane-Docks.ut2 System/MorvaneWeapons.u Music/DocksTheme.ogg Help/ReadMe-Docks.txt; do
    [ -f "$game/$f" ] || fail "$f was not un-cached"
  done
  [ "$(head -c 20 "$game/Maps/DM-Morvane-Docks.ut2")" = "DM-Morvane-Docks.ut2" ] || fail "map content"
  # What stays: the demo's stray cached file, which no line names, and the line of the entry whose
  # cached file was missing; neither is ever listed.
  [ "$(ls "$game/Cache" | grep -vx cache.ini)" = "$(md5 DM-Morvane-Stray.ut2)-1.uxx" ] ||
    fail "cache not emptied: $(ls "$game/Cache")"
  printf '[Cache]\r\n%s=BR-Lost-Signal.ut2\r\n' "$(md5 BR-Lost-Signal.ut2)" | cmp -s - "$game/Cache/cache.ini" ||
    fail "cache.ini: $(od -c "$game/Cache/cache.ini" | head)"
}

wine reg add 'HKLM\Software\Unreal Technology\Installed Apps\UT2003' /v Folder /t REG_SZ \
  /d "Z:${game//\//\\}" /f /reg:32 >/dev/null 2>&1

# Start-up with the stored options: the sub-folder question comes before the main window has ever
# been shown.
new_game DelFiles=1 Auto-Empty=1
wine "$exe" >/dev/null 2>&1 &
pid=$!
r wait "Enter sub-directory" || fail "no sub-folder question at start-up"
r gone Morvane || fail "the main window showed before the automatic run had ended"
answer_subfolder
r wait Morvane || fail "the main window did not open after the automatic run"
all_uncached listed
r close Morvane
ended

# Launcher mode: the stand-in game is started under the game's name, minimised, without arguments.
new_game Auto-Launch=1 DelFiles=1
cp "$exe" "$game/System/UT2003.exe"
cp "$standin" "$game/System/UT2003_original.exe"
wine "$game/System/UT2003.exe" >/dev/null 2>&1 &
pid=$!
answer_subfolder
for _ in $(seq 1 100); do [ -f "$game/System/started.txt" ] && break; sleep 0.1; done
[ "$(tr -d '\r\n' < "$game/System/started.txt")" = "\"Z:${game//\//\\}\\System\\UT2003.exe\"|2" ] ||
  fail "the game was started as $(cat "$game/System/started.txt" 2>&1)"
[ -f "$game/System/Morvane.exe" ] || fail "Morvane is not aside while the game runs"
r gone Morvane || fail "the main window showed in launcher mode"
ended
all_uncached
cmp -s "$exe" "$game/System/UT2003.exe" || fail "UT2003.exe is not Morvane again"
cmp -s "$standin" "$game/System/UT2003_original.exe" || fail "UT2003_original.exe is not the game again"
[ ! -e "$game/System/Morvane.exe" ] || fail "Morvane.exe left behind"
wine reg query 'HKLM\Software\Morvane' /reg:32 >/dev/null 2>&1 && fail "launcher mode saved the options"
echo "end to end: 2 passed, 0 failed"
