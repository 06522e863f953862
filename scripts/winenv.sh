# Sourced by the run and test scripts: a private X display and a Wine prefix with a running
# wineserver, both stopped by PID when the calling script exits, however it exits.
#
#   winenv_start PREFIX WIDTHxHEIGHTxDEPTH [desktop]
#
# "desktop" makes every program of the prefix run inside Wine's virtual desktop of the screen's
# size, which gives a window manager with Windows semantics and a fixed screen size.
#
# With WINENV_XEPHYR_SCREENS set (for example "1024x768 800x600"), Wine runs instead on an Xephyr
# server nested in the Xvfb, one screen per monitor joined by Xinerama: Wine then sees that many
# monitors side by side. Wine's virtual desktop has one monitor only, so do not combine the two.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

winenv_xvfb_pid=""
winenv_xephyr_pid=""
winenv_small_mount=""

winenv_free_display() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

winenv_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX}" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
  fi
  if [ -n "$winenv_xephyr_pid" ]; then
    kill "$winenv_xephyr_pid" 2>/dev/null || true
    wait "$winenv_xephyr_pid" 2>/dev/null || true
    winenv_xephyr_pid=""
  fi
  winenv_small_drive_stop
  if [ -n "$winenv_xvfb_pid" ]; then
    kill "$winenv_xvfb_pid" 2>/dev/null || true
    wait "$winenv_xvfb_pid" 2>/dev/null || true
    winenv_xvfb_pid=""
  fi
}

# Xephyr on the next free display inside the running Xvfb; DISPLAY then names it.
winenv_start_xephyr() {
  local n i screens=()
  for i in $WINENV_XEPHYR_SCREENS; do screens+=(-screen "$i"); done
  n=$(winenv_free_display) || return 1
  Xephyr ":$n" "${screens[@]}" +xinerama -extension RANDR -nolisten tcp -noreset >/dev/null 2>&1 &
  winenv_xephyr_pid=$!
  for i in $(seq 1 100); do
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$winenv_xephyr_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 || return 1
  export DISPLAY=":$n"
}

winenv_start() {
  local prefix=$1 screen=$2 mode=${3:-}
  local size=${screen%x*}
  local n i attempt
  trap winenv_stop EXIT
  # Several test runs may start at once (other checkouts, CI): when another Xvfb takes the
  # number we picked first, ours exits and we try the next free one.
  for attempt in 1 2 3 4 5; do
    n=$(winenv_free_display) || { echo "no free X display" >&2; return 1; }
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset >/dev/null 2>&1 &
    winenv_xvfb_pid=$!
    export DISPLAY=":$n"
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && break
      kill -0 "$winenv_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$winenv_xvfb_pid" 2>/dev/null && xdpyinfo >/dev/null 2>&1 && break
    kill "$winenv_xvfb_pid" 2>/dev/null; wait "$winenv_xvfb_pid" 2>/dev/null
    winenv_xvfb_pid=""
  done
  [ -n "$winenv_xvfb_pid" ] || { echo "Xvfb failed to start" >&2; return 1; }
  if [ -n "${WINENV_XEPHYR_SCREENS:-}" ]; then
    winenv_start_xephyr || { echo "Xephyr failed to start" >&2; return 1; }
  fi

  export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64
  # No "Do you want to install Mono/Gecko" questions and no crash dialogs in a headless run.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
  fi
  # wineboot cannot finish its 32-bit half here (no 32-bit Wine), and with it goes the copying of
  # Wine's own fonts; without them the caption buttons show letters instead of glyphs.
  if [ -z "$(ls -A "$prefix/drive_c/windows/Fonts" 2>/dev/null)" ]; then
    mkdir -p "$prefix/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  "$WINESERVER" -p >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  if [ "$mode" = desktop ]; then
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f >/dev/null 2>&1
  else
    "$WINE" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  fi
}

# A full small drive for the tests of a save that runs out of room: a 64 KiB tmpfs mounted inside
# the prefix and mapped as drive S:, its letter exported in PEERIX_SMALL_DRIVE. Mounting needs
# root (as in CI); without it the variable stays unset and those tests say they were skipped.
# Unmounted by winenv_stop.
winenv_small_drive_start() {
  local dir=$WINEPREFIX/small-drive
  mkdir -p "$dir"
  mountpoint -q "$dir" || mount -t tmpfs -o size=64k,mode=0777 peerix-small "$dir" 2>/dev/null || return 0
  winenv_small_mount=$dir
  ln -sfn "$dir" "$WINEPREFIX/dosdevices/s:"
  export PEERIX_SMALL_DRIVE='S:'
}

winenv_small_drive_stop() {
  [ -n "$winenv_small_mount" ] || return 0
  rm -f "$WINEPREFIX/dosdevices/s:"
  umount "$winenv_small_mount" 2>/dev/null || true
  rmdir "$winenv_small_mount" 2>/dev/null || true
  winenv_small_mount=""
  unset PEERIX_SMALL_DRIVE
}
