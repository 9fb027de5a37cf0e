#!/usr/bin/env bash
# A one-switch user (Space only, linear automatic scan) on an imported Open
# Board set: `mirelva --import path_images.obz --activate`, then from the
# home board "happy" opens the linked board, and the "Indietro" key the import
# added there comes back. Which board is shown is read from screenshots: home
# holds two keys with photographs, the linked board three keys of drawn
# labels. Then the switch is held down for a long press while X11 repeats it
# (xev counts the repeats the window gets): one press, one choice, one speech.
# Usage: e2e_switch_obf.sh <path to the mirelva program>
set -euo pipefail

name=e2e_switch_obf
tools=(od xev stdbuf)
# Key 1 is highlighted for three intervals after a table appears, every other key for one.
interval_ms=4000
first_percent=300
hold_s=2.5
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
sample=$(dirname "$0")/../obf/data/path_images.obz
awk -v i="$interval_ms" -v p="$first_percent" -v h="$hold_s" 'BEGIN { exit !(i * p / 100 > 2 * h * 1000) }' ||
    fail "key 1's time must leave room for the long press"

quit_from_intro
timeout 60 "$work/app/mirelva" --import "$sample" --activate >"$work/out.txt" 2>"$work/err.txt" ||
    fail "import failed: $(cat "$work/err.txt")"
printf '[Accesso]\r\nMetodo=Scansione automatica, un sensore\r\nOrdine=Lineare\r\nIntervallo=%d\r\nPrimoElemento=%d\r\nGiri=10\r\nStrisciaTastiFunzione=0\r\n' \
    "$interval_ms" "$first_percent" >"$work/app/accesso.ini"
start_program

# Home: two keys side by side (x 4 to 507 and 516 to 1019, the whole height), photographs in
# both, "happy" marked as a link (the orange corner). The linked board: three keys (from x 4,
# 346 and 686) of drawn labels with few colours, "Indietro" marked as a link.
colours() { convert "$work/shot.png" -crop "$1" -format %k info:; }
orange="255,140,0"
home_shown() {
    shot
    (($(colours 400x400+55+185) > 500 && $(colours 400x400+567+185) > 500)) && [[ $(pixel 495 140) == "$orange" ]]
}
linked_shown() {
    shot
    (($(colours 300x300+20+235) < 500 && $(colours 300x300+361+235) < 500 && $(colours 300x300+702+235) < 500)) &&
        [[ $(pixel 1010 225) == "$orange" && $(pixel 495 140) != "$orange" ]]
}
before=$(audio_bytes)
xdotool key --window "$window" space
wait_for "the home board after Space on the intro" home_shown
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_switch_obf_home.png"
# The highlight is a band across a key's edges: x 4 and 506 are both lit only when key 1 is.
press_when "home's key 1 (happy)" 4,385 506,385
wait_for "the linked board after happy" linked_shown
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_switch_obf_linked.png"
heard_seconds "$before" >/dev/null
[[ $(speech_runs "$before") == 1 ]] || fail "\"happy\" was not said once"

# Key 3, "Indietro", is the last: x 686 and 1016 are both lit only when it is.
before=$(audio_bytes)
press_when "the linked board's key 3 (Indietro)" 686,383 1016,383
wait_for "the home board again after Indietro" home_shown
heard_seconds "$before" >/dev/null
[[ $(speech_runs "$before") == 1 ]] || fail "\"Indietro\" was not said once"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_switch_obf_back.png"
grep -q "^File=.*Path Images Board.ini" "$work/app/cfg.ini" || fail "cfg.ini no longer names the home board"
echo "home -> linked board -> Indietro -> home with the switch alone"

# The long press, through XTEST as a real keyboard's, on home's key 1: X11 repeats it.
for _ in $(seq 200); do
    lit_now 4 385 && lit_now 506 385 && break
    alive "waiting for home's key 1"
done
lit_now 4 385 || fail "home's key 1 was never highlighted for the long press"
focus "$window"
before=$(audio_bytes)
stdbuf -oL xev -id "$window" -event keyboard >"$work/xev.txt" 2>/dev/null &
xev_pid=$!
sleep 0.5
xdotool keydown space sleep "$hold_s" keyup space
wait_for "the linked board after the long press" linked_shown
heard_seconds "$before" >/dev/null
kill "$xev_pid" 2>/dev/null || true
wait "$xev_pid" 2>/dev/null || true
presses=$(grep -c '^KeyPress' "$work/xev.txt" || true)
((presses > 3)) || fail "X11 did not repeat the held switch ($presses presses reached the window)"
runs=$(speech_runs "$before")
echo "held ${hold_s}s: the window got $presses presses; $runs speech, the linked board shown"
[[ $runs == 1 ]] || fail "the long press gave $runs outputs, not one"
linked_shown || fail "the long press went on past the linked board"

quit_from_table
echo "PASS"
