#!/usr/bin/env bash
# Link keys in the real program: a home board of two keys opening boards a
# and b, each with a key back. A one-switch user (Space only, linear
# automatic scan) and a dwell user (the pointer only) walk home -> a -> home
# -> b -> home. Which board is shown is read from the keys' colours on
# screenshots; SDL's disk driver records the link key's sound; cfg.ini keeps
# naming home, and a pointer resting where a link key was chooses nothing
# on the board it opened.
# Usage: e2e_links.sh <path to the mirelva program>
set -euo pipefail

name=e2e_links
tools=(od python3)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# The first start installed the program; the boards are written beside it.
quit_from_intro
boards=$work/app/collegamenti
mkdir -p "$boards"
tone() {
    python3 - "$1" "$2" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
    f = float(sys.argv[2])
    w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * f * i / 22050)))
                           for i in range(int(22050 * 0.4))))
PY
}
# board NAME "r,g,b" "r,g,b" LINK1 LINK2: two keys of solid colours, each with a tone.
board() {
    local n=$1 k
    {
        printf '[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n\r\n'
        printf '[Impostazioni]\r\nTasti=2\r\nIsSezione1=1\r\nIsSezione2=1\r\nIsSezione3=0\r\n\r\n'
        printf '[Input Obbligato]\r\nIsInput=0\r\n\r\n[Bonus]\r\nFile1=\r\n\r\n[Sezione Immagini]\r\n'
        for k in 1 2; do printf 'Immagine%d=%s\r\n' "$k" "$boards/${n}$k.png"; done
        printf '\r\n[Sezione Sonoro]\r\n'
        for k in 1 2; do printf 'Sonoro%d=%s\r\n' "$k" "$boards/${n}$k.wav"; done
        printf '\r\n[Collegamenti]\r\nCollegamento1=%s\r\nCollegamento2=%s\r\n' "$4" "$5"
    } >"$boards/$n.ini"
    convert -size 32x32 "xc:rgb($2)" "$boards/${n}1.png"
    convert -size 32x32 "xc:rgb($3)" "$boards/${n}2.png"
    tone "$boards/${n}1.wav" 440
    tone "$boards/${n}2.wav" 660
}
home_1="255,0,0" home_2="0,160,0" a_1="128,0,128" a_2="0,128,128" b_1="0,0,128" b_2="100,100,100"
board home "$home_1" "$home_2" "$boards/a.ini" "$boards/b.ini"
board a "$a_1" "$a_2" "<indietro>" ""
board b "$b_1" "$b_2" "" "<indietro>"
printf '[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=%s\r\nIsProgramInstalled=1\r\n' "$boards/home.ini" \
    >"$work/app/cfg.ini"

# Two keys at 1024x768: squares at x 4 and 516, y 134, of side 502. A point
# low in each square tells the board; the link mark sits in the top right
# corner of a link key's square.
shown() { shot && [[ $(pixel 60 600) == "$2" && $(pixel 580 600) == "$3" ]]; }
wait_board() {
    local c1=${1}_1 c2=${1}_2
    wait_for "board $1 shown" shown "$1" "${!c1}" "${!c2}"
}
mark_on_home() {
    [[ $(pixel 498 140) == "255,140,0" && $(pixel 1010 140) == "255,140,0" ]] ||
        fail "no link mark on home's keys: $(pixel 498 140) $(pixel 1010 140)"
}
sound_heard() {
    local span
    span=$(heard_seconds "$1")
    awk -v s="$span" 'BEGIN { exit !(s > 0.3) }' || fail "the link key's sound was not heard ($span s)"
}
cfg_names_home() {
    grep -q "^File=$boards/home.ini" "$work/app/cfg.ini" || fail "cfg.ini no longer names home: $(cat "$work/app/cfg.ini")"
}

# ---- One switch: Space. Key 1 is highlighted for 12 s, then key 2 for 4 s: long enough for
# a busy machine's screenshots to see a highlight before it moves on.
printf '[Accesso]\r\nMetodo=Scansione automatica, un sensore\r\nOrdine=Lineare\r\nIntervallo=4000\r\nPrimoElemento=300\r\nGiri=10\r\n' \
    >"$work/app/accesso.ini"
start_program
yellow="255,200,0"
# Key 2's highlight reaches the screen's right edge, where key 1's never does.
key2_highlighted() { shot && [[ $(pixel 1020 385) == "$yellow" ]]; }
xdotool key --window "$window" space
wait_board home
before=$(audio_bytes)
xdotool key --window "$window" space
mark_on_home
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_links_home.png"
wait_board a
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_links_a.png"
sound_heard "$before"
xdotool key --window "$window" space
wait_board home
wait_for "key 2 of home highlighted" key2_highlighted
xdotool key --window "$window" space
wait_board b
wait_for "key 2 of b highlighted" key2_highlighted
xdotool key --window "$window" space
wait_board home
cfg_names_home
xdotool key --window "$window" Escape
wait_pixel 300 3 "0,115,255" "intro after Esc"
quit_from_intro

# ---- Dwell: the pointer alone, 1 s on a key chooses it.
printf '[Accesso]\r\nMetodo=Sosta\r\nTempoSosta=1000\r\n' >"$work/app/accesso.ini"
start_program
xdotool mousemove --window "$window" 510 420
wait_board home
before=$(audio_bytes)
xdotool mousemove --window "$window" 255 385
wait_board a
sound_heard "$before"
# Resting where home's key 1 was, on a's key back: nothing happens.
sleep 2.5
shown a "$a_1" "$a_2" || fail "a pointer resting where the link key was chose on the new board"
xdotool mousemove --window "$window" 767 385
wait_pixel 517 385 "0,0,255" "blue frame of a's key 2"
xdotool mousemove --window "$window" 255 385
wait_board home
xdotool mousemove --window "$window" 767 385
wait_board b
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_links_b.png"
xdotool mousemove --window "$window" 255 385
wait_pixel 5 385 "0,0,255" "blue frame of b's key 1"
xdotool mousemove --window "$window" 767 385
wait_board home
cfg_names_home
quit_from_table
echo "PASS"
