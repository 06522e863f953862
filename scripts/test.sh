#!/usr/bin/env bash
# Builds everything and runs the three test tiers: host (pure rules, sanitizers), win
# (components against the real Win32 API under Wine) and e2e (the real Peerix.exe driven from
# outside in a virtual desktop), then the export's component tests at screen depths 8, 16 and 32,
# the end-to-end tests on two monitors in both layouts, and the release: both zips checked, the unpacked program run, the zips made again elsewhere.
# Exits non-zero when any tier fails.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh host win32 win64 || { echo "BUILD FAILED"; exit 1; }

source scripts/winenv.sh
winenv_start "$PWD/build/wine" 1024x768x24 desktop || { echo "could not start Xvfb and Wine"; exit 1; }
winenv_small_drive_start

status=0
results=()
run_tier() {
  local name=$1; shift
  if "$@"; then results+=("$name: passed"); else results+=("$name: FAILED"); status=1; fi
}
run_tier host ctest --preset host --output-on-failure
# The end-to-end tests leave the PNG files and clipboard images they read with the pixels they
# must hold; ImageMagick reads them back afterwards.
image_check=$PWD/build/image-check
rm -rf "$image_check" && mkdir -p "$image_check"
export PEERIX_IMAGE_CHECK_DIR="Z:$(echo "$image_check" | tr / '\\')"
run_tier "win + e2e" ctest --preset win64 --output-on-failure ${PEERIX_TEST_FILTER:+-R "$PEERIX_TEST_FILTER"}
if [ -z "${PEERIX_TEST_FILTER:-}" ] || [[ e2e =~ $PEERIX_TEST_FILTER ]]; then
  run_tier "e2e images read by ImageMagick" scripts/check_images.sh "$image_check" "e2e images"
fi
# The .bmp export once per screen depth, each on a display and prefix of its own.
run_tier "export at depths 8, 16, 32" scripts/export_depths.sh
# Two monitors, the second right of the primary one and left of it, on a display of its own.
run_tier "two monitors" scripts/monitors.sh
run_tier release scripts/dist_test.sh

echo
echo "==== test summary ===="
printf '%s\n' "${results[@]}"
exit $status
