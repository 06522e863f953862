#!/usr/bin/env bash
# The release tier. Makes the release as `make dist` does and checks both zips (entries, time
# stamps, README.txt, the programs' headers, imports and version); unpacks the 64-bit one into a
# folder whose path has spaces and runs that Peerix.exe in a fresh Wine prefix; then makes the
# release again from a copy of the sources in another folder, later, which must give the same
# bytes. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
work=$PWD/build/dist-check
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
status=0
failed() { echo "release: $* FAILED"; status=1; }

scripts/dist.sh || { failed "make dist"; exit 1; }
python3 tests/dist/check_release.py --dist dist --epoch "$epoch" build/win64 build/win32 || failed "the zips' checks"

rm -rf "$work"
unpacked="$work/Program Files/Peerix test"
mkdir -p "$unpacked"
zips=(dist/Peerix-*-win64.zip)
if unzip -q "${zips[0]}" -d "$unpacked"; then
  exe=$(echo "$unpacked"/Peerix-*/Peerix.exe)
  (
    source scripts/winenv.sh
    # A prefix of its own: the program meets a registry that has never seen it.
    winenv_start "$work/wine" 1024x768x24 desktop || exit 1
    PEERIX_INSTALLED_EXE="Z:$(echo "$exe" | tr / '\\')" "$WINE" build/win64/bin/installed_tests.exe --gtest_brief=1
  ) || failed "the unpacked program's run"
else
  failed "unpacking ${zips[0]}"
fi

# Only the sources travel: no build folder, no git history (the time comes along as
# SOURCE_DATE_EPOCH, as a release from an exported tree would get it).
copy="$work/elsewhere/sources"
mkdir -p "$copy"
tar -C . --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$copy" -xf -
echo "release: again in $copy at $(date -u +%H:%M:%S)"
if (cd "$copy" && SOURCE_DATE_EPOCH=$epoch scripts/dist.sh >"$work/second-dist.log" 2>&1); then
  echo "first:  $(tr '\n' ' ' < dist/SHA256SUMS)"
  echo "second: $(tr '\n' ' ' < "$copy/dist/SHA256SUMS")"
  for file in dist/*; do
    cmp "$file" "$copy/$file" || failed "the same bytes again for $(basename "$file")"
  done
  [ $status -eq 0 ] && echo "release: both runs gave byte-identical zips" && rm -rf "$work/elsewhere"
else
  tail -20 "$work/second-dist.log"
  failed "make dist in another folder"
fi
exit $status
