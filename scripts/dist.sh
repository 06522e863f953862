#!/usr/bin/env bash
# Builds Peerix for 64-bit and 32-bit Windows and packs what a user downloads:
# dist/Peerix-<version>-win64.zip, dist/Peerix-<version>-win32.zip and dist/SHA256SUMS.
# Two runs from the same commit give the same bytes, wherever and whenever they run: the time
# stamps come from the commit (or from SOURCE_DATE_EPOCH when that is set).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "dist: not a git checkout; set SOURCE_DATE_EPOCH to the release's time" >&2; exit 1; }

for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target peerix_release -j "$(nproc)"
done
python3 scripts/package.py --epoch "$epoch" --out dist build/win64 build/win32
echo "dist: $(tr '\n' ' ' < dist/SHA256SUMS)"
