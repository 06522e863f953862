#!/usr/bin/env bash
# Starts the 64-bit Peerix.exe under Wine. With DISPLAY set it opens on that display and runs
# until its window is closed. Without one it runs on a private virtual display for a few
# seconds, magnifying a known scene, saves a screenshot to build/peerix.png and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=$PWD/build/win64/bin/Peerix.exe
[ -f "$exe" ] || { echo "build Peerix first (make run does)"; exit 1; }
WINE=/usr/lib/wine/wine64

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$PWD/build/wine-user WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  exec "$WINE" "$exe"
fi

source scripts/winenv.sh
winenv_start "$PWD/build/wine" 1024x768x24 desktop
# A scene worth magnifying: ImageMagick's built-in wizard, shown by the showcase window.
convert logo: -type TrueColor BMP3:build/scene.bmp

# Little-endian hex of 32-bit numbers, for REG_BINARY values.
le() { for v in "$@"; do printf '%08x' $(( v & 0xFFFFFFFF )) | sed -E 's/(..)(..)(..)(..)/\4\3\2\1/'; done; }
key='HKCU\Software\Tarnwell\Peerix\1.0'
"$WINE" reg delete "$key" /f >/dev/null 2>&1 || true
"$WINE" reg add "$key" /v ZoomPoint /t REG_BINARY /d "$(le 330 190)" /f >/dev/null
"$WINE" reg add "$key" /v WindowPos /t REG_BINARY /d "$(le 650 40 1010 440)" /f >/dev/null
"$WINE" reg add "$key" /v ZoomFactor /t REG_DWORD /d 3 /f >/dev/null
"$WINE" reg add "$key" /v HelpFileTime /t REG_BINARY /d "$(le -1 2147483647)" /f >/dev/null

"$WINE" "$PWD/build/win64/bin/showcase.exe" 5 "$exe" "$("$WINE" winepath -w "$PWD/build/scene.bmp" 2>/dev/null)" &
runner=$!
sleep 4
import -window root build/peerix.png
wait $runner && echo "Peerix ran and closed cleanly; screenshot in build/peerix.png"
