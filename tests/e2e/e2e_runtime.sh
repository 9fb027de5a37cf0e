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
audio=$work/audio.raw

for f in cfg.ini layout/lay1.ini layout/lay12.ini; do
    [[ -f $work/app/$f ]] || fail "first start did not write $f"
done

# Intro screen (its blue top bar is already there): the purple border of the
# description box.
shot
[[ $(pixel 83 309) == "192,31,170" ]] || fail "intro description box: $(pixel 83 309)"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_runtime_intro.png"

xdotool key --window "$window" Return

# The one-key table at 1024x768: the cell is (4, 6, 1018, 762) and its dotted
# frame starts with a dark dot at its top-left corner; left of the picture's
# square (132 .. 888) the cell is white.
wait_pixel 40 400 "255,255,255" "table cell"
[[ $(pixel 4 6) == "0,0,0" ]] || fail "dotted frame of the cell: $(pixel 4 6)"
[[ $(pixel 4 7) == "255,255,255" ]] || fail "dotted frame of the cell: $(pixel 4 7)"
mean=$(convert "$work/shot.png" -crop 757x757+132+6 -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m < 0.98) }' || fail "no picture in the key's square (mean $mean)"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_runtime_table.png"

before=$(stat -c %s "$audio" 2>/dev/null || echo 0)
xdotool mousemove --window "$window" 512 384 click 1
# The blue frame on the cell's left edge.
wait_pixel 5 384 "0,0,255" "blue frame"

# Sound: after the click the device carries the WAV, then speech; wait until
# it has been quiet again for a while (bounded).
wav=$work/app/suoni/1.wav
[[ -f $wav ]] || wav=$(grep -i '^Sonoro1=' "$work/app/layout/lay1.ini" | cut -d= -f2- | tr -d '\r')
[[ -f $wav ]] || fail "no sound file for key 1"
# Duration of the WAV from its header: byte rate at offset 28, size of the data chunk.
wav_seconds=$(od -An -v -t u1 "$wav" | tr -s ' ' '\n' | sed '/^$/d' | awk '
    { b[NR-1] = $1 } END {
        rate = b[28] + 256*b[29] + 65536*b[30] + 16777216*b[31]
        for (i = 12; i + 8 <= NR; ) {
            id = sprintf("%c%c%c%c", b[i], b[i+1], b[i+2], b[i+3])
            size = b[i+4] + 256*b[i+5] + 65536*b[i+6] + 16777216*b[i+7]
            if (id == "data") { printf "%.3f\n", size / rate; exit }
            i += 8 + size + size % 2
        }
        print 0 }')
awk -v s="$wav_seconds" 'BEGIN { exit !(s > 0.05) }' || fail "cannot read the length of $wav"
analyse() {
    # 44100 Hz stereo 16-bit as SDL's disk driver writes it; frames after the click only.
    tail -c +"$((before + 1))" "$audio" | od -An -v -t d2 -w4 | awk '
        { a = ($1 < 0 ? -$1 : $1); c = ($2 < 0 ? -$2 : $2); loud = (a > 64 || c > 64) }
        loud { if (first == 0) first = NR; last = NR }
        END { printf "%d %d %d\n", first, last, NR }'
}
heard=""
for _ in $(seq 120); do
    read -r first last total < <(analyse)
    # Quiet for a second after the last sound: the output is over.
    if ((first > 0 && total - last > 44100)); then heard=yes; break; fi
    sleep 0.25
done
[[ -n $heard ]] || fail "no sound after the click (first=$first last=$last frames=$total)"
span=$(awk -v f="$first" -v l="$last" 'BEGIN { printf "%.3f", (l - f) / 44100 }')
echo "audio after the click: ${span}s of output, the key's WAV lasts ${wav_seconds}s"
# The WAV alone lasts wav_seconds; speech after it makes the output longer.
awk -v s="$span" -v w="$wav_seconds" 'BEGIN { exit !(s > w + 0.2) }' || fail "the WAV and then speech: ${span}s heard"

# Esc leaves the table, Esc again ends the program.
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the click"
xdotool key --window "$window" Escape
wait_pixel 300 3 "0,115,255" "intro after Esc"
quit_from_intro
echo "PASS"
