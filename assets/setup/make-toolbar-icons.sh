#!/usr/bin/env bash
# Draws the 16 x 16 images of the sound panel's Play, Pause and Stop buttons with ImageMagick.
# The PNGs are committed; run this script again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

draw() { # draw FILE PRIMITIVES...
    local file=$1
    shift
    convert -size 16x16 xc:none "$@" -depth 8 -define png:color-type=6 "$file"
}

draw play.png -fill '#1f6f2a' -draw 'polygon 4,2 13,8 4,14'
draw pause.png -fill '#1f3f8f' -draw 'rectangle 3,3 6,13' -draw 'rectangle 9,3 12,13'
draw stop.png -fill '#9f1f1f' -draw 'rectangle 3,3 12,12'
