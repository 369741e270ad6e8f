#!/usr/bin/env bash
# Rebuilds the tiny seed pictures of the picture fuzz targets (png, jpeg,
# bmp) from the photograph the codec fixtures use (tests/fixtures/README.md).
# Needs ImageMagick 6. The outputs are committed.
set -euo pipefail
cd "$(dirname "$0")"
photo=${PHOTO:-/usr/share/backgrounds/life_by_Aitzol_Berasategi.jpg}
mkdir -p png jpeg bmp
small=(-resize '8x6!' -strip)

convert "$photo" "${small[@]}" PNG24:png/rgb.png
convert "$photo" "${small[@]}" -interlace PNG -depth 16 PNG48:png/rgb16-interlaced.png
convert "$photo" "${small[@]}" -dither None -colors 5 PNG8:png/palette.png
convert "$photo" "${small[@]}" -colorspace Gray -depth 2 PNG:png/grey2.png
convert "$photo" "${small[@]}" \( -size 8x6 gradient: \) -alpha off -compose CopyOpacity -composite PNG32:png/rgba.png

convert "$photo" "${small[@]}" -quality 70 jpeg/baseline.jpg
convert "$photo" -resize '16x12!' -strip -interlace Plane -quality 70 jpeg/progressive.jpg
convert "$photo" "${small[@]}" -colorspace Gray -type Grayscale -quality 70 jpeg/grey.jpg
convert "$photo" -resize '16x12!' -strip -sampling-factor 1x1 -quality 90 jpeg/444.jpg

convert "$photo" "${small[@]}" -type TrueColor -compress None BMP3:bmp/rgb24.bmp
convert "$photo" "${small[@]}" \( -size 8x6 gradient: \) -alpha off -compose CopyOpacity -composite BMP:bmp/rgba32-v5.bmp
convert "$photo" "${small[@]}" -define bmp:subtype=RGB565 BMP:bmp/rgb565.bmp
convert "$photo" "${small[@]}" -dither None -colors 2 -type Palette -compress None BMP3:bmp/palette1.bmp
convert "$photo" "${small[@]}" -dither None -colors 16 -type Palette -compress None BMP3:bmp/palette4.bmp
convert "$photo" "${small[@]}" -dither None -colors 40 -type Palette -compress RLE BMP3:bmp/palette8-rle.bmp
convert "$photo" "${small[@]}" -dither None -colors 40 -type Palette BMP2:bmp/palette8-core.bmp
ls -l png jpeg bmp
