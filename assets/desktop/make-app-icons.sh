#!/usr/bin/env bash
# Draws the program's menu and launcher icon in the hicolor sizes with ImageMagick: the alarm clock
# of the tray icon, drawn large and scaled down (the 16 × 16 size is the hand-drawn tray icon).
# The PNGs are committed; run this script again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

convert -size 256x256 xc:none \
    -stroke '#5a1d0e' -strokewidth 10 -fill '#d9432b' \
    -draw 'circle 58,58 58,18' -draw 'circle 198,58 198,18' \
    -strokewidth 14 -draw 'line 70,220 44,248' -draw 'line 186,220 212,248' \
    -strokewidth 12 -fill '#fffdf5' -draw 'circle 128,142 128,48' \
    -stroke '#202020' -strokewidth 12 -draw 'line 128,142 128,82' -draw 'line 128,142 170,166' \
    -fill '#d9432b' -stroke none -draw 'circle 128,142 128,132' \
    -depth 8 -define png:color-type=6 -strip icon-256.png
for size in 128 64 48 32 24; do
    convert icon-256.png -resize "${size}x${size}" -depth 8 -define png:color-type=6 -strip \
        "icon-$size.png"
done
cp ../icons/tockwell.png icon-16.png
