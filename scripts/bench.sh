#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on a private display (see bench/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh win64 >/dev/null
source scripts/winenv.sh
winenv_start "$PWD/build/wine" 1024x768x24 desktop
# The cost benchmark counts the X server's work for a program too.
export PEERIX_XSERVER_PID=$winenv_xvfb_pid
for b in build/win64/bin/*_bench.exe; do
  echo "== $(basename "$b" .exe)"
  (cd build/win64/bin && /usr/lib/wine/wine64 "./$(basename "$b")")
done
