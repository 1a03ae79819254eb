#!/usr/bin/env bash
# The skin end to end: the setup window is cut to its shape (outside the shape the desktop
# shows through), and dragging its picture with the left button moves it, with Shift held not.
# Usage: test_skin.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}

# Places in the window: outside the shape (corners, the gap between two button sockets above
# the top edge, the picture's last column) and inside it (the body, a button, the title).
outside=("0 0" "2 2" "472 0" "0 244" "472 244" "41 2" "473 120")
inside=("237 120" "23 21" "250 20" "100 240")
title=(250 20) # a place of the picture that no control covers
minimise_button=(58 21)

# geometry WINDOW: prints the window's absolute left and top.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             END { print x, y }'
}

# pixel PICTURE X Y: the colour of one pixel of a screenshot, as hex.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info:; }

# drag WINDOW DX DY [KEY]: presses the left button on the title, moves by DX, DY in two steps
# (holding KEY if given) and releases.
drag() {
    local key=${4:-}
    [[ -z $key ]] || xdotool keydown "$key"
    xdotool mousemove --window "$1" "${title[@]}" mousedown 1
    sleep 0.1
    xdotool mousemove_relative --sync -- $(($2 / 2)) $(($3 / 2))
    sleep 0.1
    xdotool mousemove_relative --sync -- $(($2 - $2 / 2)) $(($3 - $3 / 2))
    sleep 0.1
    xdotool mouseup 1
    [[ -z $key ]] || xdotool keyup "$key"
}

moved_to() { [[ $(geometry "$1") == "$2" ]]; }

e2e_start_desktop
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
xdotool mousemove 5 5
sleep 0.5
read -r left top < <(geometry "$setup")
e2e_log "the setup window is at $left, $top"
e2e_screenshot skin-window
convert "$E2E_ARTIFACTS/skin-window.png" -crop "494x265+$((left - 10))+$((top - 10))" +repage \
    "$E2E_ARTIFACTS/skin-window-close.png"
with_window=$e2e_tmp/with-window.png
cp "$E2E_ARTIFACTS/skin-window.png" "$with_window"

e2e_log "dragging with Shift held does not move the window"
drag "$setup" 60 40 shift
sleep 0.3
moved_to "$setup" "$left $top" || e2e_fail "the window moved to $(geometry "$setup") with Shift held"

e2e_log "dragging with the left button moves it by the pointer's movement"
drag "$setup" 60 40
e2e_wait_until "the window to move by 60, 40" moved_to "$setup" "$((left + 60)) $((top + 40))"
drag "$setup" -60 -40
e2e_wait_until "the window to move back" moved_to "$setup" "$left $top"

e2e_log "the desktop alone, behind where the window was"
e2e_click "$setup" "${minimise_button[@]}"
e2e_wait_until "the setup window to hide" e2e_withdrawn "$setup"
xdotool mousemove 5 5
sleep 0.3
e2e_screenshot skin-desktop
desktop=$E2E_ARTIFACTS/skin-desktop.png

for place in "${outside[@]}"; do
    read -r x y <<<"$place"
    shown=$(pixel "$with_window" $((left + x)) $((top + y)))
    behind=$(pixel "$desktop" $((left + x)) $((top + y)))
    [[ $shown == "$behind" ]] ||
        e2e_fail "at $x, $y outside the shape the window shows $shown, the desktop $behind"
done
for place in "${inside[@]}"; do
    read -r x y <<<"$place"
    shown=$(pixel "$with_window" $((left + x)) $((top + y)))
    behind=$(pixel "$desktop" $((left + x)) $((top + y)))
    [[ $shown != "$behind" ]] || e2e_fail "at $x, $y inside the shape the desktop shows ($shown)"
done
e2e_log "the shape cuts the window; the desktop shows outside it"
