#!/usr/bin/env bash
# Runs the end-to-end tests that need two monitors, once per layout: the second monitor right of
# the primary one, and left of it at negative coordinates. Wine runs on an Xephyr server with two
# screens joined by Xinerama (1024 x 768 and 800 x 600), in a prefix of its own
# (build/wine-monitors) and without a virtual desktop, which would have one monitor only. Wine
# makes the second screen the primary one when its X11 driver's PrimaryMonitor is "1"; the first
# then lies left of it. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/winenv.sh

bin=$PWD/build/win64/bin
status=0
for layout in right left; do
  (
    WINENV_XEPHYR_SCREENS="1024x768 800x600" winenv_start "$PWD/build/wine-monitors" 1824x768x24 || exit 1
    if [ "$layout" = left ]; then
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v PrimaryMonitor /t REG_SZ /d 1 /f >/dev/null 2>&1
    else
      "$WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v PrimaryMonitor /f >/dev/null 2>&1 || true
    fi
    cd "$bin" || exit 1
    PEERIX_MONITORS=$layout "$WINE" e2e_tests.exe --gtest_filter='TwoMonitors.*' --gtest_brief=1
  ) || { echo "two monitors, second one $layout of the primary: FAILED"; status=1; continue; }
  echo "two monitors, second one $layout of the primary: passed"
done
exit $status
