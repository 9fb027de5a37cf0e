#!/usr/bin/env bash
# The Alt commands of the runtime window in a real window, with a real window
# manager's focus: on the intro screen Alt+P opens nothing, Alt+A opens "Apri
# file..." and Alt+I "Impostazioni"; on the table Alt+P opens "Stampa . . .";
# Esc closes each of them and gives the window back; a layout chosen with Alt+A
# shows on the next Enter.
# Usage: e2e_windows.sh <path to the mirelva program>
set -euo pipefail
name=e2e_windows
tools=()
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

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
sleep 2
no_window_named "Stampa . . ." || fail "Alt+P on the intro screen opened the print window"
shows 300 3 "0,115,255" || fail "the intro screen went away after Alt+P: $(pixel 300 3)"

opens_and_closes a "Apri file..." "intro screen"
opens_and_closes i "Impostazioni" "intro screen"
wait_pixel 300 3 "0,115,255" "intro after the windows closed"

# The table: white cell left of the key's picture, no blue intro bar.
focus "$window"
xdotool key Return
wait_pixel 40 400 "255,255,255" "table cell"
opens_and_closes p "Stampa . . ." "table"
wait_pixel 40 400 "255,255,255" "table after the print window closed"

# Alt+A choosing another layout: the table shown stays as it is, the intro
# after Esc and then Enter bring the chosen one.
left_mean() { convert "$work/shot.png" -crop 80x250+40+150 -format '%[fx:mean]' info:; }
sixteen_keys() { shot && awk -v m="$(left_mean)" 'BEGIN { exit !(m < 0.95) }'; }
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
! sixteen_keys || fail "the one-key table changed after Alt+A"
focus "$window"
xdotool key Escape
wait_pixel 300 3 "0,115,255" "intro after Esc"
xdotool key Return
wait_for "Enter showing the chosen 16-key layout" sixteen_keys
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_chosen.png"
echo "Alt+A chose lay12.ini: the intro and Enter show it"

# Esc leaves the table, Esc again ends the program.
quit_from_table
echo "PASS"
