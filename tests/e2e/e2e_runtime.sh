#!/usr/bin/env bash
# The real program in a real window: first start in an empty folder, intro
# screen, Enter shows the one-key default table, a click frames the key in
# blue and plays its WAV and then its speech (SDL's disk audio driver records
# what was played), Esc twice ends the program.
# Usage: e2e_runtime.sh <path to the mirelva program>
set -euo pipefail

program=${1:?program path}
for tool in Xvfb xdotool import convert od awk timeout; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (make test installs it)"; exit 1; }
done
[[ -x $program ]] || { echo "FAIL: no program at $program"; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [[ -s $work/app.log ]] && { echo "--- program output:"; cat "$work/app.log"; }
    [[ -f $work/shot.png ]] && cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_runtime_failure.png" && \
        echo "last screenshot: ${TMPDIR:-/tmp}/e2e_runtime_failure.png"
    exit 1
}

# A display of our own.
display=""
for n in $(seq 71 119); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=":$n"; break; fi
done
[[ -n $display ]] || fail "no free display number"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"

# The program alone in an empty folder: it installs its data beside itself.
mkdir "$work/app"
cp "$program" "$work/app/mirelva"
export XDG_RUNTIME_DIR=$work/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"
audio=$work/audio.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$audio QT_QPA_PLATFORM=xcb "$work/app/mirelva" >"$work/app.log" 2>&1 &
app_pid=$!

shot() { import -window root "$work/shot.png"; }
# Colour of one pixel of the last screenshot, as r,g,b.
pixel() {
    convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
# Waits (at most ~20 s) until pixel x,y shows the colour.
wait_pixel() {
    local x=$1 y=$2 want=$3 what=$4
    for _ in $(seq 80); do
        shot
        [[ $(pixel "$x" "$y") == "$want" ]] && return 0
        kill -0 "$app_pid" 2>/dev/null || fail "the program ended while waiting for $what"
        sleep 0.25
    done
    fail "$what: pixel $x,$y is $(pixel "$x" "$y"), expected $want"
}

# The runtime window: the one named Mirelva that covers the screen.
window=""
for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name '^Mirelva$' 2>/dev/null || true); do
        if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 1024x768'; then window=$id; fi
    done
    [[ -n $window ]] && break
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended at start: $(cat "$work/app.log")"
    sleep 0.2
done
[[ -n $window ]] || fail "no full-screen Mirelva window"
for f in cfg.ini layout/lay1.ini layout/lay12.ini; do
    [[ -f $work/app/$f ]] || fail "first start did not write $f"
done

# Intro screen: the blue top bar and the purple border of the description box.
wait_pixel 300 3 "0,115,255" "intro top bar"
[[ $(pixel 83 309) == "192,31,170" ]] || fail "intro description box: $(pixel 83 309)"
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_runtime_intro.png"

timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
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
# Sent to the focused window: the press ends the program, so a release
# addressed to its window would find it gone.
xdotool key Escape
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$app_pid" 2>/dev/null; then fail "the program is still running after Esc twice"; fi
wait "$app_pid" || fail "the program ended with an error: $(cat "$work/app.log")"
app_pid=""
echo "PASS"
