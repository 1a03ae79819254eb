#!/usr/bin/env bash
# The options dialog and the About window end to end: options saved with Enter and read back by
# the store tool, the autostart entry written with the program's full path, and the About
# window's update check against a local HTTP server offering a newer version.
# Usage: test_dialogs.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'

# A local server with a newer version.ini.
www=$e2e_tmp/www
mkdir -p "$www"
printf '[Tockwell]\nversion=9.0.0.0\nurl=https://www.kestrolab.pl/pobierz/\nnew=Nowości\n' \
    >"$www/version.ini"
port_file=$e2e_tmp/port
python3 -c '
import http.server, socketserver, sys, os
os.chdir(sys.argv[1])
class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *a): open(sys.argv[3], "a").write(self.path + "\n")
with socketserver.TCPServer(("127.0.0.1", 0), Quiet) as s:
    open(sys.argv[2], "w").write(str(s.server_address[1]))
    s.serve_forever()
' "$www" "$port_file" "$e2e_tmp/requests" &
e2e_pids+=("$!")
e2e_wait_until "the HTTP server" test -s "$port_file"
TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:$(cat "$port_file")/
export TOCKWELL_UPDATE_LOCATION

# The indicators of the autostart box and of "Minimalizuj wszystkie okna": their top-left
# corners in the dialog.
autostart_box=(12 4)
minimize_all_box=(10 108)

# boxes_show WINDOW STATE BOX...: every check box whose indicator's top-left corner is BOX ("X Y")
# is up and shows STATE, ticked or clear. An accelerator holds its box down briefly and only then
# toggles it, and a key meanwhile goes to the box. Up, the indicator's ground is white; the tick
# is dark.
boxes_show() {
    local window=$1 state=$2 places=() colours x y i
    shift 2
    for box in "$@"; do
        read -r x y <<<"$box"
        places+=("$((x + 2)),$((y + 2))" "$((x + 4)),$((y + 9))")
    done
    mapfile -t colours < <(e2e_colours "$window" "${places[@]}")
    for ((i = 0; i < ${#colours[@]}; i += 2)); do
        [[ ${colours[i]} == FFFFFF ]] || return 1
        if [[ $state == ticked ]]; then
            [[ ${colours[i + 1]} != FFFFFF ]] || return 1
        else
            [[ ${colours[i + 1]} == FFFFFF ]] || return 1
        fi
    done
}

e2e_start_desktop
e2e_start_program "$program"
e2e_wait_window Tockwell >/dev/null
icon=$(e2e_wait_tray_icon Tockwell)

e2e_log "Opcje from the tray menu: two boxes ticked by their accelerators, Enter saves"
e2e_open_tray_menu "$icon"
xdotool key Up Up Up Return
options=$(e2e_wait_window Opcje)
e2e_key "$options" alt+s alt+m
e2e_wait_until "the two boxes ticked" \
    boxes_show "$options" ticked "${autostart_box[*]}" "${minimize_all_box[*]}"
e2e_screenshot options
e2e_key "$options" Return
e2e_wait_window_gone Opcje
answer=$("$reg" query "$base" /v MinimizeAll)
[[ $answer == *REG_DWORD*0x1* ]] || e2e_fail "MinimizeAll: $answer"
answer=$("$reg" query "$base" /v PlayBeep)
[[ $answer == *REG_DWORD*0x0* ]] || e2e_fail "PlayBeep: $answer"
# The recording platform stands in for the autostart entry: the program's full path is written.
e2e_wait_call "^AutostartWrite \"$(realpath "$program")\" -> ok\$"

e2e_log "Opcje again: the boxes come back; Esc discards"
e2e_open_tray_menu "$icon"
xdotool key Up Up Up Return
options=$(e2e_wait_window Opcje)
e2e_wait_until "the two boxes ticked again" \
    boxes_show "$options" ticked "${autostart_box[*]}" "${minimize_all_box[*]}"
e2e_key "$options" alt+s
# While the accelerator holds the box down, Esc would only let it up.
e2e_wait_until "the autostart box cleared" boxes_show "$options" clear "${autostart_box[*]}"
e2e_key "$options" Escape
e2e_wait_window_gone Opcje
(($(e2e_count_calls '^AutostartRemove') == 0)) || e2e_fail "Esc removed the autostart entry"

e2e_log "O programie ...: the window appears after the check"
e2e_open_tray_menu "$icon"
xdotool key Up Up Return
about=$(e2e_wait_window 'O programie ...')
grep -qx /version.ini "$e2e_tmp/requests" || e2e_fail "no request for /version.ini"
e2e_screenshot about-update
eval "$(xdotool getwindowgeometry --shell "$about")"
e2e_log "About window ${WIDTH}x$HEIGHT"
e2e_key "$about" Escape
e2e_wait_window_gone 'O programie ...'

e2e_log "passed"
