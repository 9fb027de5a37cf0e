#!/usr/bin/env bash
# One-switch scanning in the real program: an option file beside it asks for
# the automatic scan (0.5 s, first item 1.5 s, one round) with the table on the whole
# screen (no strip of the function keys' layouts). Space starts the
# table, F12 shows the 16-key layout, Space presses choose row 1, then key 1:
# screenshots prove where the yellow highlight is, the key gets the blue frame
# and SDL's disk driver records its sound. A press during that sound and a
# switch held for 2 s choose nothing.
# Usage: e2e_access.sh <path to the mirelva program>
set -euo pipefail

name=e2e_access
tools=(od)
before_start() {
    printf '[Accesso]\r\nMetodo=Scansione automatica, un sensore\r\nIntervallo=500\r\nPrimoElemento=300\r\nGiri=1\r\nStrisciaTastiFunzione=0\r\n' \
        >"$work/app/accesso.ini"
}
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
yellow="255,200,0"

# 16 keys at 1024x768: columns start at x 4, 260, 516, 772; rows near y 6, 197, 389, 580.
# Row 1's frame covers its top edge (y 6) across the gap at x 512 and the left edge (x 4);
# key 1's frame also covers its right edge (x 250), which row 1's does not.
highlight_at() { [[ $(pixel "$1" "$2") == "$yellow" ]]; }
# Left edges of keys 1 to 4 and of rows 2 to 4: one is yellow while the scan runs.
scanning() {
    local p
    for p in 4,100 260,100 516,100 772,100 4,290 4,480 4,670; do
        highlight_at "${p%,*}" "${p#*,}" && return 0
    done
    return 1
}
# Takes screenshots until one shows the highlight at x,y (bounded). The scan
# stops after one round, and a busy machine may miss a 1.5 s item, so a
# stopped scan is started again with the given Space presses.
catch_highlight() {
    local x=$1 y=$2 what=$3
    shift 3
    for _ in $(seq 60); do
        shot
        highlight_at "$x" "$y" && return 0
        scanning || xdotool key --window "$window" --delay 30 "$@"
        alive "waiting for $what"
    done
    fail "$what: never highlighted at $x,$y"
}
not_scanning() { shot && ! scanning; }

xdotool key --window "$window" space
wait_pixel 40 400 "255,255,255" "the table after Space on the intro"
xdotool key --window "$window" F12
catch_highlight 512 6 "row 1" space
highlight_at 4 100 || fail "row 1's left edge not highlighted: $(pixel 4 100)"
highlight_at 512 198 && fail "row 2 highlighted with row 1"
highlight_at 250 100 && fail "key 1's right edge highlighted while scanning rows"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_access_row.png"

catch_highlight 250 100 "key 1" space space
highlight_at 260 100 && fail "key 2 highlighted with key 1"
highlight_at 512 6 && fail "row 1 highlighted with key 1"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_access_key.png"

# From a stopped scan, three presses: start at row 1, take row 1, choose key 1. From here on
# the keys go through XTEST, as a keyboard's do, with the X server's timestamps.
wait_for "the scan to stop after its round" not_scanning
before=$(stat -c %s "$work/audio.raw" 2>/dev/null || echo 0)
focus "$window"
xdotool key --delay 30 space space space
wait_pixel 249 100 "0,0,255" "blue frame of key 1"
# A press while key 1 still sounds waits in the queue; it is dropped, so the scan starts
# again at row 1 (its first item lasts 1.5 s) instead of opening it.
xdotool key space

# Key 1's sound (nothing sounded before: no auditory cues), heard whole.
wav=$(key1_wav_seconds "$work/app/layout/lay12.ini")
span=$(heard_seconds "$before")
echo "heard ${span}s after the choice; key 1's WAV lasts ${wav}s"
awk -v s="$span" -v w="$wav" 'BEGIN { exit !(s > w) }' || fail "key 1's sound was not heard whole"
shot
highlight_at 250 100 && fail "the press made during key 1's sound opened row 1 afterwards"

# The switch held for 2 s (X11 repeats it, Qt flags only some repeats) is one press, judged
# at its release: it opens the row highlighted then, and chooses nothing.
before=$(stat -c %s "$work/audio.raw")
xdotool keydown space sleep 2 keyup space sleep 1.5
[[ $(loud_frames "$before") == "0 "* ]] || fail "holding the switch chose a key"

# The scan starts again from row 1; Esc leaves the table, Esc again ends the program.
catch_highlight 512 6 "row 1 after the output" space
quit_from_table
echo "PASS"
