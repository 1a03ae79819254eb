#!/usr/bin/env bash
# Draws the alarm popup's pictures with ImageMagick: two frames of a ringing alarm clock
# (128 x 142 JPEG) that the popup swaps 20 times a second, and the 16 x 16 glyph of its OK
# button. The files are committed; run this script again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

# clock FILE ANGLE HAMMER-X RINGS-SIDE: the clock tilted by ANGLE degrees, its hammer at
# HAMMER-X striking one bell, sound lines beside that bell (SIDE -1 left, 1 right).
clock() {
    local file=$1 angle=$2 hammer=$3 side=$4
    local rx=$((64 + side * 52))
    convert -size 128x142 xc:white \
        -stroke '#3b1408' -strokewidth 3 -draw 'line 42,126 32,138' -draw 'line 86,126 96,138' \
        -strokewidth 2 -fill '#c93a22' \
        -draw 'circle 33,40 33,24' -draw 'circle 95,40 95,24' \
        -fill '#8a8a8a' -stroke '#3b3b3b' -draw 'rectangle 61,22 67,34' \
        -stroke '#3b3b3b' -strokewidth 3 -draw "line 64,26 $hammer,18" \
        -fill '#555555' -strokewidth 1 -draw "circle $hammer,18 $((hammer + 4)),18" \
        -fill '#d9432b' -stroke '#3b1408' -strokewidth 3 -draw 'circle 64,82 64,38' \
        -fill '#fffdf5' -stroke '#3b1408' -strokewidth 2 -draw 'circle 64,82 64,46' \
        -stroke '#3b1408' -strokewidth 2 \
        -draw 'line 64,50 64,55' -draw 'line 64,109 64,114' \
        -draw 'line 32,82 37,82' -draw 'line 91,82 96,82' \
        -strokewidth 4 -draw 'line 64,82 64,58' -strokewidth 3 -draw 'line 64,82 82,92' \
        -fill '#3b1408' -strokewidth 1 -draw 'circle 64,82 64,78' \
        -virtual-pixel white -distort SRT "64,82 1 $angle" \
        -fill none -stroke '#e8a21d' -strokewidth 3 \
        -draw "line $rx,18 $((rx + side * 9)),10" \
        -draw "line $((rx + side * 4)),34 $((rx + side * 14)),32" \
        -draw "line $rx,50 $((rx + side * 9)),56" \
        -strip -sampling-factor 1x1 -quality 92 "$file"
}

clock alarm1.jpg -7 52 -1
clock alarm2.jpg 7 76 1

# The OK button's glyph: a green tick.
convert -size 16x16 xc:none \
    -fill none -stroke '#1e7d32' -strokewidth 3 -draw 'polyline 2.5,8.5 6.5,12.5 13.5,3.5' \
    -depth 8 -define png:color-type=6 -define png:exclude-chunks=date,time ok.png
