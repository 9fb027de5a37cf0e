#!/usr/bin/env bash
# The message bar and the strip of the function keys' layouts with one switch
# (Space, automatic scan). A one-switch user builds "io voglio mela" on a
# 21-key layout the script writes, speaks it with "Parla" (the disk driver
# hears one continuous speech after the three keys' own outputs), keeps it as
# a favourite, and after a restart says it again from the phrases view with
# one choice. Then, from the default data, the same user reaches every
# default layout through the strip and comes back to the first.
# Usage: e2e_edges.sh <path to the mirelva program>
set -euo pipefail

name=e2e_edges
tools=(od)
options() {
    printf '[Accesso]\r\nMetodo=Scansione automatica, un sensore\r\nIntervallo=%s\r\nPrimoElemento=100\r\nGiri=10\r\n%b' \
        "$1" "$2" >"$work/app/accesso.ini"
}
before_start() { options 2500 'StrisciaFrase=1\r\n'; }
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# The layout: 21 keys with pictures of the default data, the first three saying "io", "voglio", "mela".
quit_from_intro
layout=$work/app/layout/frase.ini
mapfile -t pictures < <(find "$work/app/immagini" -maxdepth 1 -type f -name "*.gif" | sort)
((${#pictures[@]} > 0)) || fail "no pictures in the default data"
words=(io voglio mela pane acqua casa mamma papa gioco letto bagno fuori sole luna cane gatto libro musica nonna si no)
{
    printf '[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\n\r\n[Impostazioni]\r\nTasti=21\r\nIsSezione1=1\r\nIsSezione2=0\r\nIsSezione3=1\r\n\r\n'
    printf '[Input Obbligato]\r\nIsInput=0\r\n\r\n[Sezione Immagini]\r\n'
    for i in $(seq 21); do printf 'Immagine%d=%s\r\n' "$i" "${pictures[$(((i - 1) % ${#pictures[@]}))]}"; done
    printf '\r\n[Sezione Testo]\r\n'
    for i in $(seq 21); do printf 'Testo%d=%s\r\n' "$i" "${words[$((i - 1))]}"; done
} >"$layout"
sed -i "s#^File *=.*#File=$layout\r#" "$work/app/cfg.ini"
start_program
xdotool key --window "$window" space
# 21 keys under a bar 109 pixels high: key 1 from x 4 to 140, keys 2 and 3 from x 150 and 296,
# row 1 from y 115 to 323 (its frame alone crosses the gap at x 145); the bar's five actions are squares from x 529, 628, 727, 826, 925.
wait_pixel 40 130 "255,255,255" "the table under the bar"
row1=145,115
for key in 140,219 150,219 296,219; do
    keys_from=$(audio_bytes)
    press_when "row 1" "$row1"
    press_when "the key at $key" "$key"
done
# The last key's own speech heard to its end before "Parla".
heard_seconds "$keys_from" >/dev/null
sleep 0.3
shot
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_edges_bar.png"
bar=622,10
before=$(audio_bytes)
press_when "the bar" "$bar"
press_when "Parla" 617,54
heard_seconds "$before" >/dev/null
runs=$(speech_runs "$before")
echo "Parla: $runs continuous speech after the three keys"
[[ $runs == 1 ]] || fail "Parla gave $runs separate sounds, not one speech"
press_when "the bar" "$bar"
press_when "Preferita" 826,54
wait_for "the favourite saved" grep -q "^io voglio mela" "$work/app/frasi.txt"
grep -q '^\[Recenti\]' "$work/app/frasi.txt" || fail "no recent phrases in frasi.txt"

# After a restart the phrases view says it again in one choice (its first phrase is the favourite).
quit_from_table
start_program
xdotool key --window "$window" space
wait_pixel 40 130 "255,255,255" "the table under the bar"
press_when "the bar" "$bar"
press_when "Frasi" 925,54
wait_pixel 500 150 "255,255,255" "the phrases view"
shot
cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_edges_phrases.png"
before=$(audio_bytes)
# One row of three items is scanned item by item: "Torna", the favourite, the recent phrase.
press_when "the favourite" 348,100
heard_seconds "$before" >/dev/null
[[ $(speech_runs "$before") == 1 ]] || fail "the favourite was not said as one speech"
focus "$window"
xdotool key Escape Escape
wait_pixel 300 3 "0,115,255" "intro top bar"
quit_from_intro

# The default data, the strip on by default under scanning: every layout and back. Each
# item is lit for 2.5 s: on a loaded machine the screen is read and Space sent well within that.
options 2500 'StriscePrima=1\r\n'
cp "$work/app/cfg.ini" "$work/cfg.saved"
sed -i "s#^File *=.*#File=$work/app/layout/lay1.ini\r#" "$work/app/cfg.ini"
start_program
xdotool key --window "$window" space
# The strip's twelve items down the right edge from x 878, 63 pixels apart from y 10; the
# top edge of item n (n > 1), or the bottom of item 1, is lit only when that item is; the
# strip's own frame alone crosses the gap between items 11 and 12 (y 700). The strip is
# scanned first.
active() { grep -qi "^File *=.*lay$1.ini" "$work/app/cfg.ini"; }
for n in 2 3 4 5 6 7 8 9 10 11 12 1; do
    y=$((n == 1 ? 62 : 10 + (n - 1) * 63))
    press_when "the strip" 878,700
    press_when "the strip's item $n" "945,$y"
    wait_for "lay$n.ini active" active "$n"
done
echo "reached every default layout through the strip and came back"
quit_from_table
echo "PASS"
