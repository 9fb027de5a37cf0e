#!/usr/bin/env bash
# A dwell user (the pointer only) on the default data, the strip of the
# function keys' layouts on as it is by default under "Sosta". First a
# keyboard user's run takes the screen each of lay1, lay5, lay9, lay12 and
# lay2 shows after its function key. Then the dwell user leaves the intro
# screen by resting on its panel and walks lay1 -> lay5 -> lay9 -> lay12 ->
# lay2 by resting on the strip's items. Each screen equals, pixel for pixel,
# the keyboard user's (no dwell progress left on the item still under the
# pointer); cfg.ini names each layout reached, as after a function key, and
# nothing else in it changes; SDL's disk driver hears nothing: the pointer
# left resting on the table after the intro, or on an item after its layout
# came, chooses nothing.
# Usage: e2e_dwell.sh <path to the mirelva program>
set -euo pipefail

name=e2e_dwell
tools=(od compare cmp diff)
dwell_ms=1000
before_start() {
    printf '[Accesso]\r\nMetodo=Sosta\r\nTempoSosta=%d\r\n' "$dwell_ms" >"$work/app/accesso.ini"
}
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# The pointer rests away from the intro's panel, the table's keys and the strip's items until
# the script means to dwell (a new server moves it only once a window is shown).
pointer_to 1020 3
wait_pixel 300 3 "0,115,255" "intro top bar with the pointer moved away"
cp "$work/app/cfg.ini" "$work/cfg.installed"
walk=(5 9 12 2)
# Long enough for a dwell that should not happen to end and be heard, on a busy machine.
idle=$(awk -v d="$dwell_ms" 'BEGIN { printf "%.2f", 3 * d / 1000 }')

active() { grep -qi "^File *=.*/lay$1.ini" "$work/app/cfg.ini"; }
# Pixels that differ between the screen now and the picture $1.
differing() {
    shot
    compare -metric AE "$work/shot.png" "$1" null: 2>&1 || true
}
# The screen equals the picture $1 in two screenshots in a row: a table drawn whole.
settled_as() { [[ $(differing "$1") == 0 ]] && [[ $(differing "$1") == 0 ]]; }
# The screen holds still and is not the picture $1.
settled_apart() {
    shot
    cp "$work/shot.png" "$work/previous.png"
    [[ $(differing "$work/previous.png") == 0 ]] && [[ $(differing "$1") != 0 ]]
}

# ---- The keyboard user: Enter, then the function keys. Each screen is the picture to match.
shot
cp "$work/shot.png" "$work/intro.png"
xdotool key --window "$window" Return
wait_for "lay1 on the table" settled_apart "$work/intro.png"
cp "$work/shot.png" "$work/lay1.png"
previous=$work/lay1.png
for n in "${walk[@]}"; do
    focus "$window"
    xdotool key "F$n"
    wait_for "F$n making lay$n active" active "$n"
    wait_for "lay$n after F$n" settled_apart "$previous"
    cp "$work/shot.png" "$work/lay$n.png"
    cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_dwell_f$n.png"
    previous=$work/lay$n.png
done
quit_from_table
cp "$work/cfg.installed" "$work/app/cfg.ini"

# ---- The dwell user.
start_program
wait_for "the sound device opened" test -s "$work/audio.raw"
# The intro's panel (its description box) is left by a dwell; the table of lay1 comes under
# the resting pointer.
pointer_to 455 395
wait_for "lay1 after a dwell on the intro's panel" settled_as "$work/lay1.png"
sleep "$idle"
[[ $(differing "$work/lay1.png") == 0 ]] ||
    fail "the pointer resting on lay1's key after the intro changed the screen (a dwell or a choice)"

# The strip's twelve items down the right edge: x 878 to 1013, item n from y 10 + 63 (n - 1), 53 high.
for n in "${walk[@]}"; do
    pointer_to 945 $((10 + (n - 1) * 63 + 26))
    wait_for "lay$n active after a dwell on the strip's item $n" active "$n"
    wait_for "lay$n shown as F$n shows it" settled_as "$work/lay$n.png"
    cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_dwell_lay$n.png"
    # The pointer rests on the item that brought the layout: no new dwell starts on it.
    sleep "$idle"
    [[ $(differing "$work/lay$n.png") == 0 ]] ||
        fail "the pointer resting on the strip's item $n after lay$n came changed the screen"
    diff <(grep -vi '^File *=' "$work/cfg.installed") <(grep -vi '^File *=' "$work/app/cfg.ini") ||
        fail "cfg.ini changed in more than the active layout"
done
echo "lay1$(printf ' -> lay%s' "${walk[@]}") by dwelling on the strip, each as its function key shows it"

read -r first _ total < <(loud_frames 0)
((total > 44100)) || fail "the sound device wrote only $total frames"
((first == 0)) || fail "a sound was heard at $((first / 44100)) s: a key was chosen"
echo "silent for $((total / 44100)) s of output: no key chosen"
quit_from_table
echo "PASS"
