#!/usr/bin/env bash
# Draws the About window's picture (400 x 160 JPEG): a clock face beside the program's name.
# Usage: make-about.sh [OUTPUT]   (default: about.jpg next to this script)
set -euo pipefail
out=${1:-$(dirname "$0")/about.jpg}
font=DejaVu-Sans-Bold

convert -size 400x160 gradient:'#1d3557-#457b9d' \
    -fill '#f1faee' -stroke '#1d3557' -strokewidth 3 -draw 'circle 80,80 80,18' \
    -stroke '#1d3557' -strokewidth 2 \
    -draw 'line 80,26 80,34' -draw 'line 80,126 80,134' \
    -draw 'line 26,80 34,80' -draw 'line 126,80 134,80' \
    -strokewidth 5 -draw 'line 80,80 80,44' \
    -strokewidth 3 -draw 'line 80,80 108,96' \
    -stroke none -fill '#e63946' -draw 'circle 80,80 80,86' \
    -fill '#f1faee' -font "$font" -pointsize 44 -annotate +160+78 'Tockwell' \
    -fill '#a8dadc' -font DejaVu-Sans -pointsize 17 -annotate +162+110 'budzik i harmonogram' \
    -strip -quality 90 -sampling-factor 4:2:0 "$out"
