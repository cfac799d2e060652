#!/usr/bin/env bash
# Exit codes, outputs and written files of the gridkiln-bmp tool.
# Usage: gridkiln_bmp_test.sh PATH/TO/gridkiln-bmp
set -u

tool=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Runs the tool, keeping its exit code and both outputs.
run() {
  "$tool" "$@" >out.txt 2>err.txt
  status=$?
}

expect_status() {
  [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1 (stderr: $(cat err.txt))"
}

expect_line() {  # file, exact line, what
  grep -qxF -- "$2" "$1" || fail "$3: no line '$2' in $1: $(cat "$1")"
}

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))"; }

# 3 x 2, 24 bits, 40-byte header: rows of 9 bytes padded to 12.
make_rgb24() {
  {
    printf 'BM'; le32 78; le32 0; le32 54
    le32 40; le32 3; le32 2; le16 1; le16 24; le32 0; le32 24; le32 2835; le32 2835; le32 0; le32 0
    printf '\x00\x00\xff\x00\xff\x00\xff\x00\x00\x00\x00\x00'
    printf '\xff\xff\xff\x00\x00\x00\x80\x80\x80\x00\x00\x00'
  } >"$1"
}

# 8 x 2, 1 bit, 12-byte core header, two-colour table (black, yellow).
make_core1() {
  {
    printf 'BM'; le32 40; le32 0; le32 32
    le32 12; le16 8; le16 2; le16 1; le16 1
    printf '\x00\x00\x00\x00\xff\xff'
    printf '\xa5\x00\x00\x00\x0f\x00\x00\x00'
  } >"$1"
}

make_rgb24 rgb.bmp
make_rgb24 tile.blue.bmp
make_core1 mono.bmp
printf 'this is not a bitmap' >text.bmp

# Help and usage errors.
run --help
expect_status 0 "--help"
for word in info png copy --save256 "Exit status"; do
  grep -qF -- "$word" out.txt || fail "--help does not mention $word"
done
[ -s err.txt ] && fail "--help wrote to stderr"
for args in "" "frobnicate rgb.bmp" "info" "png" "png a.bmp b.png c.png" "copy rgb.bmp" \
  "copy a.bmp b.bmp c.bmp" "info --bogus rgb.bmp" "png --save256 rgb.bmp"; do
  # shellcheck disable=SC2086
  run $args
  expect_status 2 "usage error '$args'"
  grep -qF "Usage: gridkiln-bmp" err.txt || fail "'$args' does not show the usage on stderr"
  [ -s out.txt ] && fail "'$args' wrote to stdout"
done

# info: one line per file; a failing file is reported and the others still listed.
run info rgb.bmp mono.bmp
expect_status 0 "info"
expect_line out.txt "rgb.bmp: 3 x 2, 24 bpp, info header, BI_RGB, 0 table colours" "info rgb"
expect_line out.txt "mono.bmp: 8 x 2, 1 bpp, core header, BI_RGB, 2 table colours" "info mono"
run info missing.bmp rgb.bmp text.bmp
expect_status 1 "info with bad files"
expect_line out.txt "rgb.bmp: 3 x 2, 24 bpp, info header, BI_RGB, 0 table colours" "info after a failure"
expect_line err.txt "gridkiln-bmp: missing.bmp: cannot open: No such file or directory" "info missing"
grep -q "^gridkiln-bmp: text.bmp: ." err.txt || fail "info text.bmp: $(cat err.txt)"
[ "$(wc -l <err.txt)" -eq 2 ] || fail "info: expected two error lines: $(cat err.txt)"

# png: default and explicit output names; the file written is a PNG.
is_png() { [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]; }
run png tile.blue.bmp
expect_status 0 "png default name"
is_png tile.blue.png || fail "tile.blue.png is not a PNG"
mkdir out
run png mono.bmp out/picture.png
expect_status 0 "png explicit name"
is_png out/picture.png || fail "out/picture.png is not a PNG"
[ -e mono.png ] && fail "png with OUT also wrote the default name"
if command -v identify >/dev/null; then
  [ "$(identify -format '%w x %h' out/picture.png)" = "8 x 2" ] || fail "picture.png size"
fi
run png missing.bmp
expect_status 1 "png missing"
expect_line err.txt "gridkiln-bmp: missing.bmp: cannot open: No such file or directory" "png missing"
[ -e missing.png ] && fail "png of a missing file wrote a PNG"
run png rgb.bmp nofolder/rgb.png
expect_status 1 "png into a missing folder"
grep -q "^gridkiln-bmp: nofolder/rgb.png: ." err.txt || fail "png nofolder: $(cat err.txt)"

# copy: own format, or 8 bits with --save256; failures leave the target alone.
run copy mono.bmp mono_copy.bmp
expect_status 0 "copy"
run info mono_copy.bmp
expect_line out.txt "mono_copy.bmp: 8 x 2, 1 bpp, core header, BI_RGB, 2 table colours" "copy keeps format"
cmp -s <(tail -c 8 mono.bmp) <(tail -c 8 mono_copy.bmp) || fail "copy changed the pixels"
run copy --save256 rgb.bmp rgb8.bmp
expect_status 0 "copy --save256"
run info rgb8.bmp
expect_line out.txt "rgb8.bmp: 3 x 2, 8 bpp, info header, BI_RGB, 256 table colours" "copy --save256"
printf 'keep me' >kept.bmp
run copy text.bmp kept.bmp
expect_status 1 "copy of a bad file"
grep -q "^gridkiln-bmp: text.bmp: ." err.txt || fail "copy bad: $(cat err.txt)"
[ "$(cat kept.bmp)" = "keep me" ] || fail "copy of a bad file touched the target"
mkdir dir.bmp
run copy rgb.bmp dir.bmp
expect_status 1 "copy onto a folder"
grep -q "^gridkiln-bmp: dir.bmp: ." err.txt || fail "copy onto a folder: $(cat err.txt)"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all gridkiln-bmp checks passed"
