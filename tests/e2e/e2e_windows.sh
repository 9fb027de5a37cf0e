#!/usr/bin/env bash
# The Alt commands of the runtime window in a real window: on the intro screen
# Alt+P opens nothing, Alt+A opens "Apri file..." and Alt+I "Impostazioni",
# both on the intro and on the table, and Esc closes each of them and gives
# the window back; Ctrl+Alt+P on the table opens nothing, Alt+P opens
# "Stampa . . ." and Esc closes it; a layout chosen with Alt+A shows on
# the next Enter.
# Usage: e2e_windows.sh <path to the mirelva program>
set -euo pipefail
name=e2e_windows
tools=()
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# Nothing titled $1 shows up within two seconds.
no_window() {
    for _ in $(seq 8); do
        [[ -z $(windows_named "$1") ]] || fail "$2 opened \"$1\""
        sleep 0.25
    done
    alive "after $2"
}
# Alt+letter opens the window titled $2; Esc closes it and the runtime window
# gets the keyboard back.
opens_and_closes() {
    local letter=$1 title=$2 where=$3 id
    focus "$window"
    alt_key "$letter"
    id=$(wait_window "$title") || fail "Alt+${letter^^} on the $where did not open \"$title\""
    focus "$id"
    xdotool key Escape
    wait_window_gone "$title"
    echo "Alt+${letter^^} on the $where: \"$title\" opened and Esc closed it"
}

focus "$window"
alt_key p
no_window "Stampa . . ." "Alt+P on the intro screen"
shot
[[ $(pixel 300 3) == "0,115,255" ]] || fail "the intro screen went away after Alt+P: $(pixel 300 3)"
echo "Alt+P on the intro screen: nothing opened"

opens_and_closes a "Apri file..." "intro screen"
opens_and_closes i "Impostazioni" "intro screen"
wait_pixel 300 3 "0,115,255" "intro after the windows closed"

# The table: white cell left of the key's picture, no blue intro bar.
focus "$window"
xdotool key Return
wait_pixel 40 400 "255,255,255" "table cell"

opens_and_closes a "Apri file..." "table"
opens_and_closes i "Impostazioni" "table"
# The table is still shown and still takes the keys.
wait_pixel 40 400 "255,255,255" "table after the windows closed"

focus "$window"
xdotool keydown ctrl keydown alt keydown p keyup p keyup alt keyup ctrl
no_window "Stampa . . ." "Ctrl+Alt+P on the table"
echo "Ctrl+Alt+P on the table: nothing opened"

opens_and_closes p "Stampa . . ." "table"
wait_pixel 40 400 "255,255,255" "table after the print window closed"

# Alt+A choosing another layout: the table shown stays as it is, the intro
# after Esc and then Enter bring the chosen one.
left_mean() { convert "$work/shot.png" -crop 80x250+40+150 -format '%[fx:mean]' info:; }
focus "$window"
alt_key a
dialog=$(wait_window "Apri file...") || fail "Alt+A on the table did not open \"Apri file...\""
focus "$dialog"
# The path field has the focus; Tab twice reaches "Apri ...".
xdotool type --delay 20 "$work/app/layout/lay12.ini"
xdotool key Tab Tab space
wait_window_gone "Apri file..."
grep -qi '^File=.*lay12\.ini' "$work/app/cfg.ini" || fail "cfg.ini does not name lay12.ini: $(cat "$work/app/cfg.ini")"
sleep 0.5
shot
awk -v m="$(left_mean)" 'BEGIN { exit !(m > 0.99) }' || fail "the one-key table changed after Alt+A"
focus "$window"
xdotool key Escape
wait_pixel 300 3 "0,115,255" "intro after Esc"
xdotool key Return
for _ in $(seq 80); do
    shot
    awk -v m="$(left_mean)" 'BEGIN { exit !(m < 0.95) }' && break
    alive "waiting for the 16-key table"
    sleep 0.25
done
awk -v m="$(left_mean)" 'BEGIN { exit !(m < 0.95) }' || fail "Enter did not show the chosen 16-key layout"
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_chosen.png"
echo "Alt+A chose lay12.ini: the intro and Enter show it"

# Esc leaves the table, Esc again ends the program.
focus "$window"
xdotool key Escape
wait_pixel 300 3 "0,115,255" "intro after Esc"
quit_from_intro
echo "PASS"
