#!/usr/bin/env bash
# Exit codes, outputs and written files of the gridkiln-bmp tool.
# Usage: gridkiln_bmp_test.sh PATH/TO/gridkiln-bmp PATH/TO/tests/data
set -u

tool=$1
data=$2
work=$(mktemp -d)
cleanup() {
  mountpoint -q "$work/full" && umount "$work/full"
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
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

# Help, version and usage errors.
run --help
expect_status 0 "--help"
for word in info png bmp -o copy --save256 --version "Exit status"; do
  grep -qF -- "$word" out.txt || fail "--help does not mention $word"
done
[ -s err.txt ] && fail "--help wrote to stderr"
run --version
expect_status 0 "--version"
grep -qxE "gridkiln-bmp [0-9]+(\.[0-9]+)*" out.txt || fail "--version: $(cat out.txt)"
for args in "" "frobnicate rgb.bmp" "info" "png" "copy rgb.bmp" "copy a.bmp b.bmp c.bmp" \
  "info --bogus rgb.bmp" "png --save256 rgb.bmp" "png -o x.png rgb.bmp mono.bmp" "png -o" \
  "png -o x.bmp rgb.bmp" "png -o X.Bmp rgb.bmp" "png -o a.png -o b.png rgb.bmp" \
  "copy -o x.bmp rgb.bmp" "bmp" "bmp -o" "bmp -o x.png rgb.png" "bmp -o X.PNG rgb.png" \
  "bmp -o x.bmp a.png b.png" "bmp --save256 rgb.png"; do
  # shellcheck disable=SC2086
  run $args
  expect_status 2 "usage error '$args'"
  [ "$(wc -l <err.txt)" -eq 2 ] || fail "'$args': expected two lines on stderr: $(cat err.txt)"
  expect_line err.txt "Try 'gridkiln-bmp --help'." "usage error '$args'"
  [ -s out.txt ] && fail "'$args' wrote to stdout"
done
[ -e x.bmp ] || [ -e X.Bmp ] || [ -e x.png ] && fail "a usage error wrote a file"

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

# info reads the headers only: a file far beyond the bound of a load is still described, and a
# FIFO is refused at once instead of waiting for a writer.
make_rgb24 huge.bmp
truncate -s 2G huge.bmp
run info huge.bmp
expect_status 0 "info of a 2 GiB file"
expect_line out.txt "huge.bmp: 3 x 2, 24 bpp, info header, BI_RGB, 0 table colours" "info huge"
mkfifo fifo.bmp
timeout 10 "$tool" info fifo.bmp >out.txt 2>err.txt
status=$?
expect_status 1 "info of a FIFO"
expect_line err.txt "gridkiln-bmp: fifo.bmp: not a regular file" "info fifo"

# png: each input to its own PNG, or one to the name given with -o.
is_png() { [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]; }
run png tile.blue.bmp
expect_status 0 "png default name"
is_png tile.blue.png || fail "tile.blue.png is not a PNG"
cp mono.bmp mono.kept
run png rgb.bmp mono.bmp
expect_status 0 "png of two files"
is_png rgb.png || fail "rgb.png is not a PNG"
is_png mono.png || fail "mono.png is not a PNG"
cmp -s mono.bmp mono.kept || fail "png of two files wrote over the second input"
mkdir out
run png -o out/picture.png mono.bmp
expect_status 0 "png -o"
is_png out/picture.png || fail "out/picture.png is not a PNG"
if command -v identify >/dev/null; then
  [ "$(identify -format '%w x %h' out/picture.png)" = "8 x 2" ] || fail "picture.png size"
fi

# No output may be an input, whatever it is called; the other inputs still go on.
cp rgb.png rgb.png.kept
run png rgb.bmp rgb.png mono.bmp
expect_status 1 "png whose output is another input"
expect_line err.txt "gridkiln-bmp: rgb.png: cannot write: it is one of the input files" "png onto an input"
cmp -s rgb.png rgb.png.kept || fail "png wrote over its input rgb.png"
[ "$(wc -l <err.txt)" -eq 2 ] || fail "png onto inputs: expected two lines: $(cat err.txt)"
cp rgb.bmp rgb.kept
ln -s rgb.bmp link.png
run png -o link.png rgb.bmp
expect_status 1 "png -o onto a link to the input"
grep -q "^gridkiln-bmp: link.png: cannot write: it is one of the input files" err.txt ||
  fail "png -o link: $(cat err.txt)"
cmp -s rgb.bmp rgb.kept || fail "png -o through a link destroyed its input"
[ -L link.png ] || fail "link.png is no longer a link"
cp rgb.bmp twin.bmp
cp mono.bmp twin.BMP
run png twin.bmp twin.BMP
expect_status 1 "png of two inputs with one PNG name"
expect_line err.txt "gridkiln-bmp: twin.png: cannot write: already written from twin.bmp" "png twins"

run png missing.bmp
expect_status 1 "png missing"
expect_line err.txt "gridkiln-bmp: missing.bmp: cannot open: No such file or directory" "png missing"
[ -e missing.png ] && fail "png of a missing file wrote a PNG"
run png -o nofolder/rgb.png rgb.bmp
expect_status 1 "png into a missing folder"
grep -q "^gridkiln-bmp: nofolder/rgb.png: ." err.txt || fail "png nofolder: $(cat err.txt)"

# Only regular files are written: a FIFO or a device node stays what it was.
mkfifo pipe.png
timeout 10 "$tool" png -o pipe.png rgb.bmp >out.txt 2>err.txt
status=$?
expect_status 1 "png onto a FIFO"
expect_line err.txt "gridkiln-bmp: pipe.png: cannot write: not a regular file" "png onto a FIFO"
[ -p pipe.png ] || fail "the FIFO was replaced"
if mknod null.png c 1 3 2>/dev/null; then
  run png -o null.png rgb.bmp
  expect_status 1 "png onto a device node"
  [ -c null.png ] || fail "the device node was replaced"
fi

# bmp: each PNG to its own BMP as the editor opens and saves it, or to the name given with -o.
mkdir back
cp rgb.png back/rgb.png
cp mono.png back/mono.png
run bmp back/rgb.png back/mono.png
expect_status 0 "bmp of two files"
cmp -s back/rgb.bmp rgb.bmp || fail "bmp of rgb.png differs from the BMP it came from"
run info back/mono.bmp
expect_line out.txt "back/mono.bmp: 8 x 2, 1 bpp, info header, BI_RGB, 2 table colours" "bmp keeps indexed"
cmp -s <(tail -c 8 back/mono.bmp) <(tail -c 8 mono.bmp) || fail "bmp changed the mono pixels"
run bmp -o back/other.bmp back/rgb.png
expect_status 0 "bmp -o"
cmp -s back/other.bmp rgb.bmp || fail "bmp -o wrote other pixels"

# The same refusals as png: never an input, never one output twice, a bad PNG named.
cp back/rgb.bmp back/rgb.kept
run bmp back/rgb.png back/rgb.bmp
expect_status 1 "bmp whose output is an input"
expect_line err.txt "gridkiln-bmp: back/rgb.bmp: cannot write: it is one of the input files" "bmp onto an input"
cmp -s back/rgb.bmp back/rgb.kept || fail "bmp wrote over its input"
cp back/rgb.png back/twin.png
cp back/mono.png back/twin.PNG
run bmp back/twin.png back/twin.PNG
expect_status 1 "bmp of two inputs with one BMP name"
expect_line err.txt "gridkiln-bmp: back/twin.bmp: cannot write: already written from back/twin.png" "bmp twins"
head -c 40 back/rgb.png >back/cut.png
printf 'GIF89a' >back/anim.gif
run bmp back/cut.png back/anim.gif back/missing.png
expect_status 1 "bmp of bad files"
expect_line err.txt "gridkiln-bmp: back/cut.png: file is truncated" "bmp of a truncated PNG"
expect_line err.txt "gridkiln-bmp: back/anim.gif: not a BMP or PNG file" "bmp of a GIF"
expect_line err.txt "gridkiln-bmp: back/missing.png: cannot open: No such file or directory" "bmp missing"
[ -e back/cut.bmp ] || [ -e back/anim.bmp ] && fail "bmp of a bad file wrote a BMP"

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

# copy writes what the editor's Save as writes for the output's name: PNG for ".png" in any
# case, BMP otherwise, at 8 bits with --save256 (PNG bytes 24-25: bit depth, colour type). A
# PNG keeps the transparency of a PNG input (an alpha channel, at 8 bits a tRNS chunk); a BMP
# lays it over black.
cp "$data/tints_fade_rgba8.png" sprite.png
cp "$data/levels_fade_grey_alpha8.png" greys.png
png_kind() { od -An -tx1 -j24 -N2 "$1" | tr -d ' \n'; }
while read -r in out kind plain eight; do
  for flag in "" --save256; do
    rm -f "$out"
    # shellcheck disable=SC2086
    run copy $flag "$in" "$out"
    expect_status 0 "copy $flag $in to $out"
    want=$plain
    [ -n "$flag" ] && want=$eight
    if [ "$kind" = png ]; then
      if ! is_png "$out" || [ "$(png_kind "$out")" != "$want" ]; then
        fail "copy $flag $in $out: not the PNG $want"
      fi
      if [ "$in" != rgb.bmp ] && [ -n "$flag" ] && ! grep -qa tRNS "$out"; then
        fail "copy $flag $in $out: no transparent entries"
      fi
    else
      run info "$out"
      grep -qE ": [0-9]+ x [0-9]+, $want bpp," out.txt || fail "copy $flag $in $out: not a $want-bit BMP"
    fi
  done
done <<'ROWS'
rgb.bmp c.png png 0802 0803
rgb.bmp c.PNG png 0802 0803
rgb.bmp c.bmp bmp 24 8
rgb.bmp c.png.bmp bmp 24 8
rgb.bmp cpng bmp 24 8
sprite.png s.png png 0806 0803
greys.png g.png png 0804 0803
sprite.png s.bmp bmp 24 8
ROWS

# File names print as they are, or, when they hold control characters or bytes that are not
# UTF-8, quoted with those escaped as coreutils does: on stdout (info) and stderr (a failure).
while IFS='|' read -r raw shown; do
  # shellcheck disable=SC2059 # the rows are printf escapes
  printf -v name -- "$raw"
  printf 'junk' >"$name"
  run info "$name"
  expect_line err.txt "gridkiln-bmp: $shown: not a BMP file" "failure of $raw"
  make_rgb24 "$name"
  run info "$name"
  expect_line out.txt "$shown: 3 x 2, 24 bpp, info header, BI_RGB, 0 table colours" "info of $raw"
  grep -q '[[:cntrl:]]' <(tr -d '\n' <out.txt; tr -d '\n' <err.txt) && fail "$raw: raw control bytes"
  if [[ $shown == \'* ]]; then
    back=
    eval "back=$shown"
    [ "$back" = "$name" ] || fail "$shown does not name $raw in a shell"
  fi
  rm -f -- "$name"
done <<'ROWS'
plain name.bmp|plain name.bmp
\xc3\xa4pfel.bmp|äpfel.bmp
a\033[2Jb.bmp|'a'$'\033''[2Jb.bmp'
\033]0;title\a.bmp|''$'\033'']0;title'$'\a''.bmp'
tab\there\n|'tab'$'\t''here'$'\n'
q'\001.bmp|'q'\'''$'\001''.bmp'
\377x.bmp|''$'\377''x.bmp'
c1\xc2\x9b.bmp|'c1'$'\302\233''.bmp'
ROWS

# A full disk: the copy fails and the previous file stays whole, with nothing left beside it.
mkdir full
if mount -t tmpfs -o size=64k tmpfs full 2>/dev/null; then
  run copy rgb.bmp full/prev.bmp
  expect_status 0 "copy onto the small disk"
  cp full/prev.bmp prev.kept
  dd if=/dev/zero of=full/filler bs=4096 2>/dev/null
  run copy rgb8.bmp full/prev.bmp
  expect_status 1 "copy onto a full disk"
  expect_line err.txt "gridkiln-bmp: full/prev.bmp: cannot write: No space left on device" "full disk"
  cmp -s full/prev.bmp prev.kept || fail "a failed copy changed the previous file"
  [ "$(ls -A full | tr '\n' ' ')" = "filler prev.bmp " ] || fail "left on the disk: $(ls -A full)"
else
  echo "skipped the full-disk checks: cannot mount a tmpfs here"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all gridkiln-bmp checks passed"
