#!/usr/bin/env bash
# A parent makes a 6-key board on the board itself, on a family's desktop (a
# window manager, the accessibility tree): Ctrl+Shift+M on the intro opens
# "Modifica tabella"; "Nuova tabella" gives 6 empty keys; six photos chosen
# together in the picker fill them with their words; two keys get a sound
# recorded through SDL's disk capture, one also new words; that edit is
# undone and redone; the board is saved as "merenda" and opens on the table.
# Checked: the saved file, the recorded WAVs, the board as the table shows
# it, and the number of user actions it took.
# Usage: e2e_board_editor.sh <path to the mirelva program>
set -euo pipefail
if [[ -z ${MIRELVA_E2E_BUS:-} ]]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing (make test installs it)"; exit 1; }
    exec env MIRELVA_E2E_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
name=e2e_board_editor
here=$(cd "$(dirname "$0")" && pwd)
tools=(openbox python3 dbus-run-session od)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "FAIL: python3-pyatspi is missing (make test installs it)"; exit 1; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
# Colours of the photos, in the order their numbered names sort.
colours=("220,30,30" "240,200,40" "250,250,240" "40,120,230" "150,90,40" "250,230,60")
words=("mela" "pane" "latte" "acqua" "biscotti" "banana")
before_start() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    for _ in $(seq 240); do wm_ready && break; sleep 0.25; done
    wm_ready || { echo "FAIL: openbox did not start"; exit 1; }
    # The family's photos, numbered 2, 4, ... 12: by number they come in
    # another order than by letters ("10_" before "2_") or by their words.
    mkdir "$work/foto"
    for i in 0 1 2 3 4 5; do
        convert -size 64x64 "xc:rgb(${colours[$i]})" "$work/foto/$((2 * i + 2))_${words[$i]}.png"
    done
    # What the microphone hears on each recording: 0.3 s of quiet, 1.2 s of a
    # 440 Hz tone, then (the file ended) silence; 16-bit mono at 22050 Hz.
    python3 - "$work/microfono.raw" <<'PY'
import math, struct, sys
rate = 22050
quiet = [0] * int(rate * 0.3)
tone = [int(16000 * math.sin(2 * math.pi * 440 * i / rate)) for i in range(int(rate * 1.2))]
with open(sys.argv[1], "wb") as f:
    f.write(struct.pack("<%dh" % (len(quiet) + len(tone)), *(quiet + tone)))
PY
    export SDL_DISKAUDIOFILEIN=$work/microfono.raw
    # The picker opens in the program's working folder: the parent's home.
    cd "$work"
}
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"
app=$work/app
shots=${TMPDIR:-/tmp}

# ---- The parent's part, by the names a screen reader hears; it prints its action count.
focus "$window"
timeout 480 /usr/bin/python3 "$here/board_editor.py" "$work/foto" "$shots/${name}_editor.png" "$app_pid" \
    >"$work/driver.log" 2>&1 || { cat "$work/driver.log"; fail "the board could not be made in the editor"; }
cat "$work/driver.log"
actions=$(sed -n 's/^actions: //p' "$work/driver.log")
[[ $actions =~ ^[0-9]+$ ]] || fail "the driver did not count its actions"
((actions < 30)) || fail "a 6-key board took $actions actions (aim: under 30)"

# ---- The saved board.
layout=$app/layout/merenda.ini
[[ -f $layout ]] || fail "no layout/merenda.ini was saved: $(ls "$app/layout")"
value() { grep -i "^$1=" "$layout" | head -n 1 | cut -d= -f2- | tr -d '\r'; }
[[ $(value Tasti) == 6 ]] || fail "the saved board has $(value Tasti) keys"
# The words are said on the table; the sounds were switched off again at the save's question.
[[ $(value IsSezione3) == 1 && $(value IsSezione2) == 0 ]] ||
    fail "sections: sounds $(value IsSezione2), words $(value IsSezione3) (expected 0 and 1)"
expected_words=("mela" "pane e burro" "latte" "acqua" "biscotti" "banana")
for k in 1 2 3 4 5 6; do
    picture=$(value "Immagine$k")
    [[ -f $picture && $picture == "$app/immagini/"* ]] || fail "key $k's picture is not in the data folder: '$picture'"
    [[ $(value "Testo$k") == "${expected_words[$((k - 1))]}" ]] ||
        fail "key $k says '$(value "Testo$k")', not '${expected_words[$((k - 1))]}'"
    # The picture is the photo of its place in the name order, converted without loss.
    colour=$(convert "$picture" -format "%[fx:int(255*p{32,32}.r)],%[fx:int(255*p{32,32}.g)],%[fx:int(255*p{32,32}.b)]" info:)
    [[ $colour == "${colours[$((k - 1))]}" ]] || fail "key $k shows colour $colour, not ${colours[$((k - 1))]}"
done
for k in 3 4 5 6; do [[ -z $(value "Sonoro$k") ]] || fail "key $k has a sound nobody recorded"; done
# The two recordings: in the sounds folder, named after their words, about the
# 1.2 s the microphone heard, and loud.
for k in 1 2; do
    wav=$(value "Sonoro$k")
    [[ -f $wav && $wav == "$app/suoni/"* ]] || fail "key $k's recording is not in the sounds folder: '$wav'"
    read -r seconds peak < <(od -An -v -t d2 -j 44 "$wav" | awk -v rate="$(od -An -t u4 -j 24 -N 4 "$wav")" '
        { for (i = 1; i <= NF; i++) { n++; a = ($i < 0 ? -$i : $i); if (a > p) p = a } }
        END { printf "%.2f %d\n", n / rate, p }')
    awk -v s="$seconds" -v p="$peak" 'BEGIN { exit !(s >= 1.0 && s <= 2.5 && p > 8000) }' ||
        fail "key $k's recording $wav is $seconds s with peak $peak (expected about 1.2 s of a loud tone)"
    echo "key $k: $(basename "$wav"), $seconds s, peak $peak"
done
[[ $(basename "$(value Sonoro2)") == pane* ]] || fail "key 2's recording is not named after its words: $(value Sonoro2)"
grep -qi "^File=$layout" "$app/cfg.ini" || fail "cfg.ini does not name the new board: $(tr -d '\r' <"$app/cfg.ini")"

# ---- The table: Enter on the intro shows the six photos where the editor put them.
# Six keys are 2 rows of 3 on 1024x768; each picture is centred in its cell.
focus "$window"
xdotool key Return
table_shows() {
    shot || return 1
    local k
    for k in 0 1 2 3 4 5; do
        [[ $(pixel $((341 * (k % 3) + 170)) $((384 * (k / 3) + 192))) == "${colours[$k]}" ]] || return 1
    done
}
tries=240 wait_for "the table showing the six photos in order" table_shows
cp "$work/shot.png" "$shots/${name}_table.png"
no_message_windows "when the table opened"
echo "screenshots: $shots/${name}_editor.png $shots/${name}_table.png"
echo "PASS: a 6-key board made on the board in $actions actions opens on the table"
quit_from_table
