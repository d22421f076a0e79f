# Shared by the README's commands: packages, a private Xvfb display and a private Wine prefix.
# Source it; functions only.

# libclang-rt-14-dev holds clang's libFuzzer and sanitizer runtimes, for the fuzz preset; zlib is
# linked statically, natively (zlib1g-dev) and into the Windows executables (libz-mingw-w64-dev);
# unzip checks the zips the export writes.
MORVANE_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest g++-mingw-w64-x86-64-posix
                  g++-mingw-w64-i686-posix wine wine64 xvfb x11-apps imagemagick fonts-wine python3 zip
                  zlib1g-dev libz-mingw-w64-dev unzip)

# Installs whatever of the packages is missing (apt-get, once).
ensure_packages() {
  local missing=()
  for p in "${MORVANE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Starts Xvfb on a display number nobody uses and exports DISPLAY; stop_xvfb ends it.
start_xvfb() {
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    MORVANE_XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$MORVANE_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "${MORVANE_XVFB_PID:-}" ] && kill "$MORVANE_XVFB_PID" 2>/dev/null && wait "$MORVANE_XVFB_PID" 2>/dev/null
  MORVANE_XVFB_PID=
}

# Exports the environment of a private prefix at $1, creating it once, and keeps its server alive.
use_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all TZ=UTC WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/.morvane-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Without a window manager, x11drv otherwise waits about 2 s for every dialog to close.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # COM1 would be the machine's own serial port: a test of device names must never reach it.
    wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d /dev/null /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.morvane-ready"
  fi
  wineserver -p 2>/dev/null || true  # already running: use it
  # Start the prefix's services now, on /dev/null: started by a test instead, they would inherit
  # its output pipes and keep CTest waiting for them to close.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}

stop_wine_prefix() {
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
  return 0
}
