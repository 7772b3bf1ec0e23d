#!/usr/bin/env bash
# Renders the pictures of the dialog from their SVG sources, into this folder:
#   lintara-48.png, lintara-32.png, lintara-16.png   the application icon for Qt
#   lintara.ico                                      the same for Windows: 48, 32 and 16 pixels at
#                                                    4 and 8 bits, 48 at 32 bits, 32 at 24 bits
#   about.bmp                                        the about picture, 332 x 263, 24-bit BMP,
#                                                    uncompressed, rows bottom-up
# Needs rsvg-convert (librsvg2-bin), ImageMagick 6 (imagemagick) and python3. Run it after changing an SVG
# and commit what it wrote.
set -euo pipefail
cd "$(dirname "$0")"
convert=${CONVERT:-/usr/bin/convert}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rsvg-convert -w 48 -h 48 lintara.svg -o lintara-48.png
rsvg-convert -w 32 -h 32 lintara.svg -o lintara-32.png
rsvg-convert -w 16 -h 16 lintara-16.svg -o lintara-16.png

# The Windows icon: palette entries quantised by ImageMagick, the file written by make_ico.py.
for size in 48 32 16; do
  "$convert" lintara-$size.png -dither None -colors 15 -depth 8 "rgba:$work/$size-4.rgba"
  "$convert" lintara-$size.png -dither None -colors 255 -depth 8 "rgba:$work/$size-8.rgba"
  "$convert" lintara-$size.png -depth 8 "rgba:$work/$size-true.rgba"
done
python3 make_ico.py lintara.ico \
  "48:4:$work/48-4.rgba" "32:4:$work/32-4.rgba" "16:4:$work/16-4.rgba" \
  "48:8:$work/48-8.rgba" "32:8:$work/32-8.rgba" "16:8:$work/16-8.rgba" \
  "48:32:$work/48-true.rgba" "32:24:$work/32-true.rgba"

rsvg-convert -w 332 -h 263 about.svg -o "$work/about.png"
"$convert" "$work/about.png" -background black -alpha remove -alpha off -type TrueColor BMP3:about.bmp
