#!/usr/bin/env bash
# The real Morvane.exe as a process on the demo game installation, where only a process shows the
# behaviour. Started with automatic un-caching and "Delete cached files when un-caching" stored, it
# puts every file in its game folder (the text file in a sub-folder the user names) and empties
# the cache before its window shows. Installed in the game's place, as System\UT2003.exe beside a
# stand-in for the game, it un-caches, starts the stand-in, puts the names back and ends unseen,
# also beside a file that already bears the name it steps aside under.
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
r() { wine "$remote" "$@" 2>/dev/null; }
new_game() {  # NAME=VALUE...: a fresh demo game, and only these options stored
  rm -rf "$game"
  python3 "$src/scripts/make-demo-game.py" "$game"
  forget_options
  for o in "$@"; do wine reg add "$options" /v "${o%=*}" /t REG_SZ /d "${o#*=}" /f >/dev/null 2>&1; done
}
answer_subfolder() { r settext "Enter sub-directory" 1201 Help; r click "Enter sub-directory" 1; }
ended() { wait "$pid" || fail "Morvane exited with $?"; pid=; }
all_uncached() {
  # Where each type goes and what the index keeps are the core's; here the run is seen to have
  # happened with the stored options: the sub-folder answered, the cached files deleted.
  [ -f "$game/Maps/DM-Morvane-Docks.ut2" ] && [ -f "$game/Help/ReadMe-Docks.txt" ] ||
    fail "not un-cached: $(ls -R "$game")"
  # What stays: cache.ini and the demo's stray cached file, which no line names.
  [ "$(ls "$game/Cache" | wc -l)" = 2 ] || fail "cache not emptied: $(ls "$game/Cache")"
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
all_uncached
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
r gone Morvane || fail "the main window showed in launcher mode"
ended
all_uncached
cmp -s "$exe" "$game/System/UT2003.exe" || fail "UT2003.exe is not Morvane again"
cmp -s "$standin" "$game/System/UT2003_original.exe" || fail "UT2003_original.exe is not the game again"
wine reg query 'HKLM\Software\Morvane' /reg:32 >/dev/null 2>&1 && fail "launcher mode saved the options"

# Launcher mode beside a file named Morvane.exe in System (left by a run ended during its wait, or
# a player's own copy): the game still starts, and that file keeps its name and bytes.
new_game Auto-Launch=1 DelFiles=1
cp "$exe" "$game/System/UT2003.exe"
cp "$standin" "$game/System/UT2003_original.exe"
printf 'mine' > "$game/System/Morvane.exe"
wine "$game/System/UT2003.exe" >/dev/null 2>&1 &
pid=$!
answer_subfolder
for _ in $(seq 1 100); do [ -f "$game/System/started.txt" ] && break; sleep 0.1; done
[ -f "$game/System/started.txt" ] || fail "the game did not start beside a Morvane.exe"
ended
[ "$(cat "$game/System/Morvane.exe")" = mine ] || fail "the player's Morvane.exe was changed"
cmp -s "$exe" "$game/System/UT2003.exe" || fail "UT2003.exe is not Morvane again"
cmp -s "$standin" "$game/System/UT2003_original.exe" || fail "UT2003_original.exe is not the game again"
[ "$(ls "$game/System" | grep -c '^Morvane.*\.exe$')" = 1 ] || fail "a name was left behind: $(ls "$game/System")"
echo "end to end: 3 passed, 0 failed"
