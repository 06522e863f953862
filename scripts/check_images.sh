#!/usr/bin/env bash
# Reads back every .bmp and .png that the tests left in a folder with ImageMagick, and compares
# its pixels with the raw RGB file of the same name (top row first) that they left beside it:
# what another program sees must be exactly what the screen showed. Prints a line per file that
# differs and a count.
#
#   check_images.sh FOLDER LABEL
#
# Exits non-zero when a file differs or when there was nothing to read.
set -uo pipefail
dir=$1 label=$2
read_back=0 status=0
for file in "$dir"/*.bmp "$dir"/*.png; do
  [ -e "$file" ] || continue
  want=${file%.*}.rgb
  if convert "$file" -depth 8 "rgb:$file.magick" 2>"$file.err" && cmp -s "$file.magick" "$want"; then
    read_back=$((read_back + 1))
  else
    echo "$label: ImageMagick does not read $(basename "$file") as written"
    status=1
  fi
done
if [ "$read_back" -eq 0 ]; then
  echo "$label: no file was read back"
  exit 1
fi
echo "$label: $read_back files read back by ImageMagick, pixel for pixel"
exit $status
