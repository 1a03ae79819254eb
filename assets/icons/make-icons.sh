#!/usr/bin/env bash
# Draws the program's 16 x 16 icons with ImageMagick. The PNGs are committed; run this script
# again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

draw() { # draw FILE PRIMITIVES...
    local file=$1
    shift
    convert -size 16x16 xc:none "$@" -depth 8 -define png:color-type=6 "$file"
}

# The alarm clock of the tray: two bells, a round face with two hands, two feet.
draw tockwell.png \
    -stroke '#5a1d0e' -strokewidth 1 -fill '#d9432b' \
    -draw 'circle 3.5,3.5 3.5,1' -draw 'circle 12.5,3.5 12.5,1' \
    -draw 'line 4,14 2.5,15.5' -draw 'line 12,14 13.5,15.5' \
    -fill '#fffdf5' -stroke '#5a1d0e' -draw 'circle 8,9 8,3.2' \
    -stroke '#202020' -draw 'line 8,9 8,5.5' -draw 'line 8,9 10.5,10.5'

# "Ustaw nowy czas": a plain clock face.
draw set-time.png \
    -fill '#ffffff' -stroke '#1f5fa8' -strokewidth 1.4 -draw 'circle 8,8 8,1.5' \
    -stroke '#202020' -strokewidth 1 -draw 'line 8,8 8,4' -draw 'line 8,8 11,9.5'

# "Pomoc": a question mark on a blue disc.
draw help.png \
    -fill '#2f74c8' -stroke '#1b4f8f' -strokewidth 1 -draw 'circle 8,8 8,0.8' \
    -fill none -stroke '#ffffff' -strokewidth 1.8 \
    -draw 'path "M 5.6,6 C 5.6,3 10.4,3 10.4,6 C 10.4,8 8,8 8,10"' \
    -fill '#ffffff' -stroke none -draw 'circle 8,12.4 8,11.3'

# "Opcje": three sliders.
draw options.png \
    -stroke '#505050' -strokewidth 1.2 \
    -draw 'line 1.5,3.5 14.5,3.5' -draw 'line 1.5,8 14.5,8' -draw 'line 1.5,12.5 14.5,12.5' \
    -fill '#e8a21d' -stroke '#7a5208' -strokewidth 1 \
    -draw 'rectangle 9,1.5 11,5.5' -draw 'rectangle 3.5,6 5.5,10' -draw 'rectangle 7,10.5 9,14.5'

# "O programie ...": an "i" on a green disc.
draw about.png \
    -fill '#3d9a46' -stroke '#23652a' -strokewidth 1 -draw 'circle 8,8 8,0.8' \
    -fill '#ffffff' -stroke none -draw 'circle 8,4.6 8,3.4' -draw 'rectangle 7,6.8 9,12.5'

# "Zamknij": a white cross on a red disc.
draw quit.png \
    -fill '#d23a2a' -stroke '#8a1d12' -strokewidth 1 -draw 'circle 8,8 8,0.8' \
    -stroke '#ffffff' -strokewidth 2 -draw 'line 5,5 11,11' -draw 'line 11,5 5,11'
