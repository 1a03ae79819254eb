# shellcheck shell=bash
# The end-to-end harness: sourced by the test scripts. It starts a private desktop (Xvfb on a
# free display, a session D-Bus, icewm with its tray), runs the built program in it with an
# empty store and the recording platform, and drives and looks at it with xdotool, xwininfo
# and ImageMagick. Everything it starts is stopped when the script exits.
set -euo pipefail

# Seconds any one wait may take before the test fails: generous, so that a busy machine only
# makes a test slower, never failed.
E2E_TIMEOUT=${E2E_TIMEOUT:-30}

# A missing tool skips the test (CTest's SKIP_RETURN_CODE) rather than failing it.
for tool in Xvfb icewm dbus-daemon xdotool xwininfo xprop import python3; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed; skipped" >&2; exit 77; }
done

e2e_tmp=$(mktemp -d "${TMPDIR:-/tmp}/tockwell-e2e.XXXXXX")
e2e_pids=()
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}
E2E_CALLS=$e2e_tmp/calls.log
rm -f "$E2E_ARTIFACTS/failure-$(basename "$0" .sh).png"

e2e_log() { printf '[e2e %s] %s\n' "$(date +%T.%3N)" "$*" >&2; }

e2e_fail() {
    e2e_log "FAIL: $*"
    e2e_screenshot "failure-$(basename "$0" .sh)" || true
    exit 1
}

e2e_cleanup() {
    local status=$?
    local i
    for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do
        kill "${e2e_pids[i]}" 2>/dev/null || true
    done
    for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do
        e2e_end "${e2e_pids[i]}"
    done
    if ((status != 0)) && [[ -d $e2e_tmp ]]; then
        for log in "$e2e_tmp"/*.log; do
            [[ -s $log ]] && { e2e_log "--- $(basename "$log")"; cat "$log" >&2; }
        done
    fi
    rm -rf "$e2e_tmp"
    exit "$status"
}
# e2e_running PID: whether PID runs still (a child that has ended and is not yet waited for does
# not); e2e_ended PID: the opposite.
e2e_running() { [[ $(ps -o stat= -p "$1" 2>/dev/null) == [^Z]* ]]; }
e2e_ended() { ! e2e_running "$1"; }

# e2e_end PID: waits for PID, asked to end already, and kills it after 10 s: a process that hangs
# in its end must not hold the test up.
e2e_end() {
    if ! E2E_TIMEOUT=10 e2e_try_until e2e_ended "$1"; then
        e2e_log "$(ps -o args= -p "$1" | cut -c1-80) did not end on SIGTERM: killed"
        kill -KILL "$1" 2>/dev/null || true
    fi
    wait "$1" 2>/dev/null || true
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

# e2e_try_until COMMAND...: polls COMMAND every 20 ms until it succeeds (status 0) or
# E2E_TIMEOUT seconds have passed (status 1).
e2e_try_until() {
    local deadline=$(($(e2e_now_ms) + ${E2E_TIMEOUT%.*} * 1000))
    until "$@" >/dev/null 2>&1; do
        (($(e2e_now_ms) < deadline)) || return 1
        sleep 0.02
    done
}

e2e_now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# e2e_wait_until DESCRIPTION COMMAND...: polls COMMAND until it succeeds; fails the test after
# E2E_TIMEOUT seconds.
e2e_wait_until() {
    local what=$1
    shift
    e2e_try_until "$@" || e2e_fail "timed out waiting for $what"
}

# Starts Xvfb on a display it chooses itself, a private session bus and icewm; returns when the
# tray is there. With --no-tray: no window manager and no tray (e2e_start_icewm starts it later).
# With E2E_SCREENS=two: Xorg with the dummy driver instead, two screens side by side, the
# primary one (1280 x 800) on the right of the other (1024 x 768); the test is skipped where Xorg
# or its dummy driver is missing or Xorg cannot be started. E2E_ICEWM_PREFERENCES: lines of an
# icewm preferences file ("TaskBarAtTop=1").
# shellcheck disable=SC2120 # the option is for the scripts that want it
e2e_start_desktop() {
    local displayfile=$e2e_tmp/display
    : >"$displayfile"
    if [[ ${E2E_SCREENS:-one} == two ]]; then
        e2e_start_xorg_two_screens "$displayfile"
    else
        # -noreset: without it the server resets when its last client leaves (the readiness
        # probe below, when no window manager runs yet) and refuses the next one meanwhile.
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$displayfile" \
            >"$e2e_tmp/xvfb.log" 2>&1 &
        e2e_pids+=($!)
        # shellcheck disable=SC2034 # for the benchmarks, which measure the server's share
        e2e_xserver_pid=$!
    fi
    e2e_wait_until "the X server" grep -q . "$displayfile"
    DISPLAY=:$(head -n1 "$displayfile")
    export DISPLAY XDG_SESSION_TYPE=x11
    e2e_wait_until "the X server to answer" xwininfo -root
    e2e_log "X server on $DISPLAY"
    [[ ${E2E_SCREENS:-one} != two ]] || e2e_arrange_two_screens

    export XDG_RUNTIME_DIR=$e2e_tmp/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # The daemon tells its address once it listens; the socket file comes a moment earlier.
    dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" \
        --print-address=3 3>"$e2e_tmp/bus-address" >"$e2e_tmp/dbus.log" 2>&1 &
    e2e_pids+=($!)
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
    e2e_wait_until "the session bus" grep -q . "$e2e_tmp/bus-address"

    [[ ${1:-} != --no-tray ]] || return 0
    e2e_start_icewm
}

# Starts icewm with its tray on the running X server; returns when the tray is there.
e2e_start_icewm() {
    mkdir -p "$e2e_tmp/home/.icewm"
    printf '%s\n' "${E2E_ICEWM_PREFERENCES:-}" >"$e2e_tmp/home/.icewm/preferences"
    local attempt
    for attempt in 1 2 3; do
        # Under load icewm now and then fails to connect to a server that has just started.
        HOME=$e2e_tmp/home ICEWM_PRIVCFG=$e2e_tmp/home/.icewm icewm >>"$e2e_tmp/icewm.log" 2>&1 &
        e2e_pids+=($!)
        e2e_try_until e2e_tray_or_gone "$!" && e2e_tray_ready && return 0
        e2e_log "icewm gave no tray (attempt $attempt)"
    done
    e2e_fail "icewm gives no tray"
}

# e2e_start_xorg_two_screens DISPLAYFILE: starts Xorg with the dummy driver; it writes its
# display number to DISPLAYFILE.
e2e_start_xorg_two_screens() {
    if ! command -v Xorg >/dev/null || [[ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]]; then
        echo "e2e: Xorg with the dummy driver is not installed; skipped" >&2
        exit 77
    fi
    cat >"$e2e_tmp/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2304 800
    EndSubSection
EndSection
CONF
    Xorg -displayfd 3 -config "$e2e_tmp/xorg.conf" -logfile "$e2e_tmp/xorg.log" -noreset \
        -nolisten tcp 3>"$1" >"$e2e_tmp/xorg-out.log" 2>&1 &
    local pid=$!
    e2e_pids+=("$pid")
    E2E_TIMEOUT=20 e2e_try_until grep -q . "$1" && return 0
    kill -0 "$pid" 2>/dev/null || {
        echo "e2e: Xorg with the dummy driver cannot start here; skipped" >&2
        cat "$e2e_tmp/xorg-out.log" >&2
        exit 77
    }
    e2e_fail "Xorg gives no display"
}

# Puts the dummy driver's first two outputs side by side, the primary one on the right.
e2e_arrange_two_screens() {
    xrandr --newmode e2e-1280x800 83.50 1280 1352 1480 1680 800 803 809 831 -hsync +vsync
    xrandr --newmode e2e-1024x768 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
    xrandr --addmode DUMMY0 e2e-1024x768
    xrandr --addmode DUMMY1 e2e-1280x800
    xrandr --fb 2304x800 --output DUMMY0 --mode e2e-1024x768 --pos 0x0 \
        --output DUMMY1 --mode e2e-1280x800 --pos 1024x0 --primary
    e2e_log "screens: $(xrandr --listmonitors | tail -n +2 | tr -s ' ' | paste -sd';')"
}

# e2e_primary_work_area: "X Y WIDTH HEIGHT" of the work area on the primary screen: the primary
# RandR monitor cut by the window manager's _NET_WORKAREA.
e2e_primary_work_area() {
    local mx my mw mh ax ay aw ah
    # The monitor marked primary ("+*"), else the first (Xvfb marks none; Qt takes the first).
    read -r mw mh mx my < <(xrandr --listmonitors | awk '
        NR > 1 {
            split($3, g, /[x+\/]/)
            line = g[1] " " g[3] " " g[5] " " g[6]
            if (first == "") first = line
            if ($2 ~ /^\+\*/) primary = line
        }
        END { print (primary != "" ? primary : first) }')
    IFS=', ' read -r ax ay aw ah < <(xprop -root _NET_WORKAREA |
        grep -Eo '[0-9]+, [0-9]+, [0-9]+, [0-9]+' | head -n1)
    local left=$((mx > ax ? mx : ax)) top=$((my > ay ? my : ay))
    local right=$((mx + mw < ax + aw ? mx + mw : ax + aw))
    local bottom=$((my + mh < ay + ah ? my + mh : ay + ah))
    echo "$left $top $((right - left)) $((bottom - top))"
}

# e2e_tray_or_gone PID: the tray is there, or the window manager PID has ended.
e2e_tray_or_gone() { e2e_tray_ready || ! kill -0 "$1" 2>/dev/null; }

# e2e_tray_ready: the tray's window is there and it owns the tray selection, which is what Qt
# asks when it looks for a tray.
e2e_tray_ready() { e2e_has_window '"SystemTray"' && e2e_owned_selection _NET_SYSTEM_TRAY_S0; }

# e2e_owned_selection NAME: some client owns the X selection NAME.
e2e_owned_selection() {
    python3 - "$1" <<'PYTHON'
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XGetSelectionOwner.restype = ctypes.c_ulong
x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
display = x11.XOpenDisplay(None)
owned = display and x11.XGetSelectionOwner(display, x11.XInternAtom(display, sys.argv[1].encode(), 0))
sys.exit(0 if owned else 1)
PYTHON
}

# e2e_has_window PATTERN: some window line of the tree matches PATTERN (a grep pattern).
# grep reads the whole tree: with -q it would stop at the match and xwininfo, killed by SIGPIPE,
# would fail the pipeline (pipefail) now and then.
e2e_has_window() { xwininfo -root -tree | grep -- "$1" >/dev/null; }

# Starts the program (path in $1) with an empty store and the recording platform; its pid is
# in E2E_PROGRAM_PID.
e2e_start_program() {
    local program=$1
    export XDG_CONFIG_HOME=$e2e_tmp/config
    mkdir -p "$XDG_CONFIG_HOME"
    # The update check of the About window asks a closed local port, never the maker's site.
    TOCKWELL_UPDATE_LOCATION=${TOCKWELL_UPDATE_LOCATION:-http://127.0.0.1:9/} \
        TOCKWELL_PLATFORM=record:$E2E_CALLS "$program" >>"$e2e_tmp/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    e2e_pids+=("$E2E_PROGRAM_PID")
}

# e2e_wait_window NAME: waits until a mapped window titled exactly NAME exists; prints its id.
# The title is the one the window manager shows (e2e_shown_title), so a suffix that the toolkit
# adds to _NET_WM_NAME alone fails the test.
e2e_wait_window() {
    local name=$1 window shown
    e2e_try_until e2e_visible_window "$name" || e2e_fail "no window \"$name\" within ${E2E_TIMEOUT} s"
    window=$(e2e_visible_window "$name") || e2e_fail "the window \"$name\" went at once"
    shown=$(e2e_shown_title "$window")
    [[ $shown == "$name" ]] || e2e_fail "the window \"$name\" is shown as \"$shown\""
    echo "$window"
}

# e2e_visible_window NAME: the first mapped window titled NAME; fails when there is none. Polled
# rather than xdotool's --sync: xdotool gives up with BadWindow when a window goes while it walks
# the tree (a menu closing, a popup hidden), and the next look finds the window.
e2e_visible_window() {
    local found
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | sed -n 1p) || true
    [[ -n $found ]] && echo "$found"
}

# e2e_shown_title WINDOW: the title a window manager shows: _NET_WM_NAME (UTF-8) where the window
# has it, else WM_NAME.
e2e_shown_title() {
    local property value
    for property in _NET_WM_NAME WM_NAME; do
        value=$(LC_ALL=C.UTF-8 xprop -id "$1" -notype "$property" 2>/dev/null) || continue
        [[ $value == *' = "'* ]] || continue
        value=${value#*= \"}
        printf '%s\n' "${value%\"}"
        return 0
    done
}

# e2e_wait_window_gone NAME: waits until no mapped window is titled NAME.
e2e_wait_window_gone() {
    e2e_wait_until "\"$1\" to disappear" e2e_no_window "$1"
}
e2e_no_window() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }

# e2e_withdrawn WINDOW: WINDOW is neither shown nor minimised (or no longer exists).
e2e_withdrawn() { ! xprop -id "$1" WM_STATE 2>/dev/null | grep -Eq 'Normal|Iconic'; }

# e2e_tray_icon CLASS: the id of the icon that a program of window class CLASS docked in the
# tray, or nothing.
e2e_tray_icon() {
    # awk reads the whole tree: leaving early would end xwininfo with SIGPIPE, a failure under
    # pipefail.
    xwininfo -root -tree | awk -v class="\"$1\")" '
        found { next }
        /"YXTrayEmbedder"/ { embedder = 1; next }
        $1 !~ /^0x/ { next }
        embedder && index($0, class) { print $1; found = 1; next }
        { embedder = 0 }'
}

# e2e_has_tray_icon CLASS: a program of window class CLASS has docked an icon in the tray.
e2e_has_tray_icon() { [[ -n $(e2e_tray_icon "$1") ]]; }

# e2e_wait_tray_icon CLASS: waits for the icon of CLASS in the tray; prints its id.
e2e_wait_tray_icon() {
    e2e_wait_until "the tray icon of $1" e2e_has_tray_icon "$1"
    e2e_tray_icon "$1"
}

# e2e_untitled_window CLASS EXCEPT: a mapped window of CLASS with an empty WM_NAME other than
# EXCEPT (the tray icon): a popup menu of the program.
e2e_untitled_window() {
    local window
    for window in $(xdotool search --onlyvisible --classname "^$1\$"); do
        ((window == $2)) && continue
        xprop -id "$window" WM_NAME | grep -Eq '= *("")? *$' && { echo "$window"; return 0; }
    done
    return 1
}

# e2e_open_tray_menu ICON: opens the menu of the tray icon ICON and waits until it is shown.
e2e_open_tray_menu() {
    local attempt
    for attempt in 1 2 3; do
        e2e_click "$1" 8 8 3
        E2E_TIMEOUT=5 e2e_try_until e2e_untitled_window tockwell "$1" && return 0
        e2e_log "the tray menu did not open (attempt $attempt)"
    done
    e2e_fail "the tray menu does not open"
}

# e2e_click WINDOW X Y [BUTTON]: clicks at X, Y inside WINDOW (button 1 unless given).
e2e_click() {
    xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
}

# e2e_choose_kind WINDOW N: selects the N-th kind of the setup window's kind list (1 … 9) with
# the keyboard.
e2e_choose_kind() {
    e2e_click "$1" 336 73
    local keys=(Home) i
    for ((i = 2; i <= $2; i++)); do keys+=(Down); done
    xdotool key --delay 30 "${keys[@]}" Return
}

# e2e_type_into WINDOW X Y TEXT: replaces the text of the field at X, Y.
e2e_type_into() {
    e2e_click "$1" "$2" "$3"
    xdotool key ctrl+a BackSpace type --delay 15 -- "$4"
}

# e2e_type WINDOW TEXT: types TEXT into WINDOW (which gets the focus first).
e2e_type() {
    xdotool windowactivate --sync "$1" type --delay 10 -- "$2"
}

# e2e_key WINDOW KEY...: presses keys (xdotool names: Return, F1, ctrl+a) in WINDOW.
e2e_key() {
    local window=$1
    shift
    xdotool windowactivate --sync "$window" key "$@"
}

# e2e_screenshot NAME: keeps a picture of the whole screen as NAME.png among the artifacts.
e2e_screenshot() {
    mkdir -p "$E2E_ARTIFACTS"
    import -window root "$E2E_ARTIFACTS/$1.png"
    e2e_log "screenshot $E2E_ARTIFACTS/$1.png"
}

# e2e_wait_call PATTERN: waits until a recorded platform call matches PATTERN (grep -E).
e2e_wait_call() {
    e2e_wait_until "a recorded call matching $1" grep -Eq -- "$1" "$E2E_CALLS"
}

# e2e_count_calls PATTERN: how many recorded platform calls match PATTERN (grep -E).
e2e_count_calls() {
    [[ -f $E2E_CALLS ]] || { echo 0; return 0; }
    grep -Ec -- "$1" "$E2E_CALLS" || true
}

# e2e_wait_calls N PATTERN: waits until at least N recorded calls match PATTERN (grep -E).
e2e_wait_calls() {
    e2e_wait_until "$1 recorded calls matching $2" e2e_has_calls "$1" "$2"
}
e2e_has_calls() { (($(e2e_count_calls "$2") >= $1)); }

# e2e_hold_for SECONDS DESCRIPTION COMMAND...: COMMAND keeps succeeding for SECONDS (tried every
# 20 ms); fails the test the moment it does not. For what must not happen, such as a beep after
# the popup has closed: a busy machine can only make the program do less meanwhile.
e2e_hold_for() {
    local end what=$2
    end=$(($(e2e_now_ms) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }')))
    shift 2
    while (($(e2e_now_ms) < end)); do
        "$@" >/dev/null 2>&1 || e2e_fail "did not hold: $what"
        sleep 0.02
    done
}

# e2e_picture_colours PICTURE X,Y...: the colours of places of a picture file (png:- reads
# standard input) as hex RRGGBB, one a line.
e2e_picture_colours() {
    local picture=$1 format='' place
    shift
    for place in "$@"; do format+="%[hex:p{$place}]\n"; done
    convert "$picture" -format "$format" info:
}

# e2e_colours WINDOW X,Y...: the colours the window WINDOW (an id, or root for the whole screen)
# shows now at places of it, as hex RRGGBB, one a line.
e2e_colours() {
    local window=$1
    shift
    import -window "$window" png:- | e2e_picture_colours png:- "$@"
}

# e2e_wait_still WINDOW: waits until two pictures of WINDOW in a row are the same, so that a
# screenshot shows it settled rather than half drawn.
e2e_wait_still() {
    local previous='' count=0
    e2e_wait_until "a still picture of $1" e2e_still_step "$1"
}
# One look of e2e_wait_still: keeps the last picture's checksum and how often in a row it came
# in e2e_wait_still's previous and count.
e2e_still_step() {
    local picture
    picture=$(import -window "$1" png:- | md5sum)
    if [[ $picture == "$previous" ]]; then
        count=$((count + 1))
    else
        previous=$picture count=1
    fi
    ((count >= 2))
}
