#!/usr/bin/env bash
# Runs the image export's component tests once per screen depth: Xvfb at depth 8, 16 and 24 gives
# Wine 8, 16 and 32 bits per pixel. Each depth gets its own display, in a prefix of its own
# (build/wine-depth, apart from the one the other tiers use and may still be running). Wine's
# virtual desktop is used as in the other tiers: without it the Save As dialog takes seconds to
# open. The tests leave every file they wrote (.bmp and .png) with the pixels it must hold;
# ImageMagick then reads each file back and must find exactly those pixels. At the last depth the writer also runs
# under a file size limit, where the system writes only part of a large file. Exits non-zero when
# anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/winenv.sh

bin=$PWD/build/win64/bin
out=$PWD/build/export-check
limit_kib=64
status=0

for depth in 8 16 24; do
  dir=$out/$depth
  rm -rf "$dir"
  mkdir -p "$dir"
  (
    winenv_start "$PWD/build/wine-depth" "1024x768x$depth" desktop || exit 1
    cd "$bin" || exit 1
    PEERIX_EXPORT_CHECK_DIR="Z:$(echo "$dir" | tr / '\\')" \
      "$WINE" win_tests.exe --gtest_filter='BmpExportDepth.*' --gtest_brief=1 || exit 1
    if [ "$depth" = 24 ]; then
      # Past the limit the write stops short instead of killing the process (SIGXFSZ ignored).
      # Its output goes through a pipe, which the limit does not cover.
      ( trap '' XFSZ; ulimit -f $limit_kib
        PEERIX_FILE_SIZE_LIMIT=$((limit_kib * 1024)) \
          "$WINE" win_tests.exe --gtest_filter='BmpExportLimit.*' --gtest_brief=1 | cat ) || exit 1
    fi
  ) || { echo "depth $depth: component tests FAILED"; status=1; continue; }

  # The ten-by-six file's size shows the depth Wine really used: 1150, 174 or 294 bytes.
  case $depth in 8) want=1150 ;; 16) want=174 ;; *) want=294 ;; esac
  size=$(stat -c %s "$dir/ten-by-six.bmp" 2>/dev/null || echo none)
  if [ "$size" != "$want" ]; then
    echo "depth $depth: a 10 x 6 image took $size bytes, not $want"
    status=1
  fi

  scripts/check_images.sh "$dir" "depth $depth" || status=1
done
exit $status
