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
