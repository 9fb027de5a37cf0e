#!/usr/bin/env bash
# The real program in a real window: first start in an empty folder, intro
# screen, Enter shows the one-key default table, a click frames the key in
# blue and plays its WAV and then its speech (SDL's disk audio driver records
# what was played), Esc twice ends the program.
# Usage: e2e_runtime.sh <path to the mirelva program>
set -euo pipefail

name=e2e_runtime
tools=(od)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

for f in cfg.ini layout/lay1.ini layout/lay12.ini; do
    [[ -f $work/app/$f ]] || fail "first start did not write $f"
done

# Intro screen (its blue top bar is already there): the purple border of the
# description box.
shot
[[ $(pixel 83 309) == "192,31,170" ]] || fail "intro description box: $(pixel 83 309)"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_runtime_intro.png"

xdotool key --window "$window" Return

# The one-key table at 1024x768: left of the picture's square (132 .. 888)
# the cell is white, the square holds the picture.
wait_pixel 40 400 "255,255,255" "table cell"
mean=$(convert "$work/shot.png" -crop 757x757+132+6 -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m < 0.98) }' || fail "no picture in the key's square (mean $mean)"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_runtime_table.png"

before=$(stat -c %s "$work/audio.raw" 2>/dev/null || echo 0)
xdotool mousemove --window "$window" 512 384 click 1
# The blue frame on the cell's left edge.
wait_pixel 5 384 "0,0,255" "blue frame"

# The device carries the key's WAV, then speech: more than the WAV alone.
wav=$(key1_wav_seconds "$work/app/layout/lay1.ini")
span=$(heard_seconds "$before")
echo "audio after the click: ${span}s of output, the key's WAV lasts ${wav}s"
awk -v s="$span" -v w="$wav" 'BEGIN { exit !(w > 0.05 && s > w + 0.2) }' || fail "the WAV and then speech: ${span}s heard"

# Esc leaves the table, Esc again ends the program.
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the click"
xdotool key --window "$window" Escape
wait_pixel 300 3 "0,115,255" "intro after Esc"
quit_from_intro
echo "PASS"
