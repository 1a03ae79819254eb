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

# drag WINDOW DX DY [KEY]: presses the left button on the title, moves by DX, DY in two steps
# (holding KEY if given) and releases. The program takes the events in the order they were made.
drag() {
    local key=${4:-}
    [[ -z $key ]] || xdotool keydown "$key"
    xdotool mousemove --window "$1" "${title[@]}" mousedown 1
    xdotool mousemove_relative --sync -- $(($2 / 2)) $(($3 / 2))
    xdotool mousemove_relative --sync -- $(($2 - $2 / 2)) $(($3 - $3 / 2))
    xdotool mouseup 1
    [[ -z $key ]] || xdotool keyup "$key"
}

moved_to() { [[ $(geometry "$1") == "$2" ]]; }

# screen_places PLACES...: the places ("X Y" in the window) as screen places X,Y of the window at
# $left, $top.
screen_places() {
    local place x y
    for place in "$@"; do
        read -r x y <<<"$place"
        echo "$((left + x)),$((top + y))"
    done
}

# drawn_in_shape: the screen shows the setup window in its shape: at every place inside the
# shape something else than the bare desktop, at every place outside it the bare desktop. Sets
# left and top to where the window is, and mismatch to the first place that is not so.
drawn_in_shape() {
    local places shown bare i count=${#outside[@]}
    read -r left top < <(geometry "$setup")
    mapfile -t places < <(screen_places "${outside[@]}" "${inside[@]}")
    mapfile -t shown < <(e2e_colours root "${places[@]}")
    mapfile -t bare < <(e2e_picture_colours "$bare_desktop" "${places[@]}")
    for i in "${!places[@]}"; do
        if ((i < count)) && [[ ${shown[i]} != "${bare[i]}" ]]; then
            mismatch="outside the shape at ${outside[i]} the window shows ${shown[i]}, not the desktop's ${bare[i]}"
            return 1
        elif ((i >= count)) && [[ ${shown[i]} == "${bare[i]}" ]]; then
            mismatch="inside the shape at ${inside[i - count]} the desktop shows (${shown[i]})"
            return 1
        fi
    done
}

# desktop_shown: where the window's shape was, the screen shows the bare desktop again.
desktop_shown() {
    local places shown bare
    mapfile -t places < <(screen_places "${inside[@]}")
    mapfile -t shown < <(e2e_colours root "${places[@]}")
    mapfile -t bare < <(e2e_picture_colours "$bare_desktop" "${places[@]}")
    [[ ${shown[*]} == "${bare[*]}" ]]
}

e2e_start_desktop
xdotool mousemove 5 5
bare_desktop=$e2e_tmp/bare-desktop.png
import -window root "$bare_desktop"
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
mismatch='the window is not drawn'
e2e_try_until drawn_in_shape || e2e_fail "$mismatch"
e2e_log "the setup window is at $left, $top, drawn in its shape"
e2e_screenshot skin-window
convert "$E2E_ARTIFACTS/skin-window.png" -crop "494x265+$((left - 10))+$((top - 10))" +repage \
    "$E2E_ARTIFACTS/skin-window-close.png"

e2e_log "dragging with Shift held does not move the window"
drag "$setup" 60 40 shift
# A plain drag after it takes the window to the place that it alone gives only if the drag with
# Shift left the window where it was.
drag "$setup" -30 -20
e2e_try_until moved_to "$setup" "$((left - 30)) $((top - 20))" ||
    e2e_fail "the window is at $(geometry "$setup"), not $((left - 30)) $((top - 20)): moved with Shift held?"
drag "$setup" 30 20
e2e_wait_until "the window to move back" moved_to "$setup" "$left $top"

e2e_log "dragging with the left button moves it by the pointer's movement"
drag "$setup" 60 40
e2e_wait_until "the window to move by 60, 40" moved_to "$setup" "$((left + 60)) $((top + 40))"
drag "$setup" -60 -40
e2e_wait_until "the window to move back" moved_to "$setup" "$left $top"

e2e_log "the desktop alone, behind where the window was"
e2e_click "$setup" "${minimise_button[@]}"
e2e_wait_until "the setup window to hide" e2e_withdrawn "$setup"
xdotool mousemove 5 5
e2e_wait_until "the desktop where the window was" desktop_shown
e2e_screenshot skin-desktop
e2e_log "the shape cuts the window; the desktop shows outside it"
