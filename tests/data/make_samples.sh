#!/bin/sh
# Regenerates the sample BMP files the codec tests read, from the reference pictures below, with
# ImageMagick's convert. Each BMP holds exactly the pixels of its .ppm reference: the pictures
# use only colours every target format stores without loss.
set -eu
cd "$(dirname "$0")"

# 6 x 4, twenty colours: 8-bit palette, 24 and 32 bits, core headers.
cat > picture.ppm <<'PPM'
P3
6 4
255
0 0 0  255 255 255  18 52 86  200 10 30  0 128 64  255 0 0
0 255 0  0 0 255  255 255 0  171 205 239  7 77 177  90 90 90
255 0 255  33 66 99  250 128 114  60 179 113  123 104 238  240 230 140
139 69 19  47 79 79  200 10 30  0 0 0  47 79 79  255 0 0
PPM

# 5 x 3, channels only 0 or 255: exact at 4 bits per pixel and in every 16-bit layout.
cat > primaries.ppm <<'PPM'
P3
5 3
255
0 0 0  255 255 255  255 0 0  0 255 0  0 0 255
255 255 0  0 255 255  255 0 255  0 0 0  255 0 0
0 0 255  0 0 255  255 255 255  0 255 0  255 0 255
PPM

# 9 x 2, two colours: 1 bit per pixel, a row longer than one byte.
cat > mono.ppm <<'PPM'
P3
9 2
255
12 34 56  200 180 160  12 34 56  12 34 56  200 180 160  200 180 160  12 34 56  200 180 160  12 34 56
200 180 160  200 180 160  12 34 56  200 180 160  12 34 56  12 34 56  12 34 56  200 180 160  200 180 160
PPM

convert picture.ppm -compress None BMP3:picture_info24.bmp
convert picture.ppm -type Palette -compress None BMP3:picture_info8.bmp
convert picture.ppm -type Palette -compress RLE BMP3:picture_rle8.bmp
convert picture.ppm BMP2:picture_core24.bmp
convert picture.ppm -type Palette BMP2:picture_core8.bmp
convert picture.ppm -alpha on BMP:picture_v5_32.bmp

convert primaries.ppm -type Palette -compress None BMP3:primaries_info4.bmp
convert primaries.ppm -define bmp:subtype=RGB565 BMP:primaries_565.bmp
convert primaries.ppm -define bmp:subtype=RGB555 BMP:primaries_555.bmp
convert primaries.ppm -alpha on -define bmp:subtype=ARGB4444 BMP:primaries_4444.bmp

convert mono.ppm -type Palette -compress None BMP3:mono_info1.bmp
convert mono.ppm -type Palette BMP2:mono_core1.bmp

# PNG files as other programs write them, for the PNG reader: every colour type at the depths
# ImageMagick writes, each from a reference picture whose pixels the reader must give back.
# Pixels that are not opaque are laid over black: the colours are multiples of 5 and the alphas
# of 51, so every such pixel has one exact value however it is rounded.

# 7 x 3, four colours: indexed at 2 bits per pixel.
cat > quad.ppm <<'PPM'
P3
7 3
255
0 0 0  255 0 0  0 255 0  0 0 255  0 0 0  255 0 0  0 255 0
0 0 255  0 0 255  255 0 0  0 0 0  0 255 0  0 255 0  255 0 0
255 0 0  0 0 0  0 0 0  0 0 255  255 0 0  0 255 0  0 0 255
PPM

# 6 x 4, four grey levels: exact at 2, 4, 8 and 16 bits.
cat > levels.pgm <<'PGM'
P2
6 4
255
0 85 170 255 85 0
255 170 85 0 0 170
85 85 255 170 255 0
170 0 0 85 170 255
PGM

# 6 x 4, channels multiples of 5, and an alpha of multiples of 51 for them.
cat > tints.ppm <<'PPM'
P3
6 4
255
255 255 255  200 100 50  0 0 0  255 0 0  10 20 30  95 190 245
5 250 125  255 255 255  60 80 100  200 100 50  255 0 0  0 0 0
100 150 200  35 45 55  255 255 255  5 250 125  60 80 100  10 20 30
0 0 0  95 190 245  35 45 55  100 150 200  200 100 50  255 255 255
PPM
cat > fade.pgm <<'PGM'
P2
6 4
255
255 204 153 102 51 0
0 51 102 153 204 255
255 255 0 0 102 153
51 204 255 0 255 102
PGM
# The same alpha cut to fully transparent or opaque.
cat > cut.pgm <<'PGM'
P2
6 4
255
255 255 0 255 255 0
0 255 255 255 255 255
255 255 0 0 255 255
255 255 255 0 255 255
PGM

# The tints and their alpha at 16 bits, each value 257 v + 120 (257 v - 120 for 255): rounding
# gives v back, where keeping the high byte would give v + 1 from v = 136 on.
deep=$(mktemp -d)
trap 'rm -rf "$deep"' EXIT
widen() {
  awk 'NR == 1 { print; next } NR == 2 { print; next } NR == 3 { print 65535; next }
    { for (i = 1; i <= NF; i++) printf "%d ", $i * 257 + ($i == 255 ? -120 : 120); print "" }' "$1"
}
widen tints.ppm > "$deep/tints16.ppm"
widen fade.pgm > "$deep/fade16.pgm"

# No dates or times, so the files come out the same at every run.
png="-define png:exclude-chunks=date,time"
opaque="$png -strip"
with_alpha() {  # colours, alpha, then the output options
  colours=$1 alpha=$2
  shift 2
  convert "$colours" "$alpha" -alpha off -compose CopyOpacity -composite $opaque "$@"
}

convert mono.ppm $opaque -define png:color-type=3 -define png:bit-depth=1 mono_indexed1.png
convert mono.ppm $opaque -define png:color-type=3 -define png:bit-depth=1 -interlace PNG \
  mono_indexed1_interlaced.png
convert quad.ppm $opaque -define png:color-type=3 -define png:bit-depth=2 quad_indexed2.png
convert primaries.ppm $opaque -define png:color-type=3 -define png:bit-depth=4 \
  primaries_indexed4.png
convert picture.ppm $opaque -define png:color-type=3 -define png:bit-depth=8 \
  picture_indexed8.png
with_alpha tints.ppm fade.pgm -type PaletteAlpha tints_fade_indexed8.png
with_alpha tints.ppm cut.pgm PNG8:tints_cut_indexed8.png

convert levels.pgm $opaque -define png:color-type=0 -define png:bit-depth=2 levels_grey2.png
convert levels.pgm $opaque -define png:color-type=0 -define png:bit-depth=8 levels_grey8.png
convert levels.pgm $opaque -define png:color-type=0 -define png:bit-depth=16 levels_grey16.png
with_alpha levels.pgm fade.pgm -define png:color-type=4 -define png:bit-depth=8 \
  levels_fade_grey_alpha8.png

convert picture.ppm $opaque PNG24:picture_rgb8.png
convert picture.ppm $opaque -interlace PNG PNG24:picture_rgb8_interlaced.png
# Gamma, chromaticities, a background colour and text, which the reader leaves aside.
convert picture.ppm $png PNG24:picture_rgb8_chunks.png
convert "$deep/tints16.ppm" $opaque PNG48:tints_rgb16.png
with_alpha tints.ppm fade.pgm PNG32:tints_fade_rgba8.png
with_alpha "$deep/tints16.ppm" "$deep/fade16.pgm" PNG64:tints_fade_rgba16.png

# 16384 x 4096, too large for a lowered address-space limit: the headers of a black 24-bit BMP
# (the out-of-memory test adds its pixels as a hole in a sparse file) and a 1-bit grey PNG of
# 8 KiB, which the editor holds at 24 bits.
python3 - <<'PY'
import struct, zlib
w, h = 16384, 4096
with open('huge_rgb24_head.bmp', 'wb') as f:
    f.write(b'BM' + struct.pack('<IHHIIiiHHIIiiII', 54 + w * 3 * h, 0, 0, 54, 40, w, h, 1, 24, 0,
                                w * 3 * h, 0, 0, 0, 0))
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
with open('huge_grey1.png', 'wb') as f:
    f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 1, 0, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes((w // 8 + 1) * h), 9)) + chunk(b'IEND', b''))
PY
