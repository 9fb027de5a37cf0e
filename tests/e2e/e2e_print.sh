#!/usr/bin/env bash
# Printing the table on a machine without printers, in the real program: F12
# shows the 16-key table, Alt+P opens "Stampa . . ." with the PDF printer, F8
# chooses 50 %, the print button asks for the PDF file through the real file
# window and writes one page holding the screen's picture at half its size
# (where it lands on the page is the printing tests' matter).
# Usage: e2e_print.sh <path to the mirelva program>
set -euo pipefail
name=e2e_print
tools=(pdfinfo pdfimages)
# No print server: whatever printers this machine has stay out of reach, so
# the PDF printer is the only one and is preselected.
CUPS_SERVER=$(mktemp -u)/no-cups.sock
export CUPS_SERVER
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

focus "$window"
xdotool key Return
wait_pixel 40 400 "255,255,255" "table cell"
xdotool key F12
wait_for "F12 making lay12.ini the active layout" grep -qi 'lay12\.ini' "$work/app/cfg.ini"
sleep 1
shot
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_table.png"

focus "$window"
alt_key p
printer=$(wait_window "Stampa . . .") || fail "Alt+P on the table did not open \"Stampa . . .\""
focus "$printer"
eval "$(xdotool getwindowgeometry --shell "$printer")"
# The zoom starts at 100 % (index 9): five F8 wrap to 50 %.
for _ in 1 2 3 4 5; do xdotool key F8; done
sleep 1
shot
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_window.png"

# The print button: at the right end of the strip under the menu bar.
xdotool mousemove $((X + WIDTH - 77)) $((Y + 47)) click 1
save=$(wait_window "Seleziona il file in cui salvare") || fail "the print button did not ask for the PDF file"
focus "$save"
pdf=$work/tabella.pdf
xdotool type --delay 20 "$pdf"
xdotool key Return
wait_window_gone "Seleziona il file in cui salvare"
wait_for "the PDF at $pdf" pdfinfo "$pdf"
info=$(pdfinfo "$pdf")
pages=$(awk '/^Pages:/ { print $2 }' <<<"$info")
[[ $pages == 1 ]] || fail "the PDF has $pages pages"
# A4 landscape, the orientation the window starts with: 842 x 595 points.
read -r pw ph < <(awk '/^Page size:/ { printf "%d %d\n", $3 + 0.5, $5 + 0.5 }' <<<"$info")
((pw == 842 && ph == 595)) || fail "the page is ${pw}x${ph} points, not A4 landscape"

# The table's picture itself: 1024x768 pixels at 192 pixels per inch is
# 5.33 x 4 inches, half of the screen's 10.67 x 8 inches at 96 dpi.
read -r iw ih ippx ippy < <(pdfimages -list "$pdf" | awk 'NR > 2 && $3 == "image" { print $4, $5, $13, $14 }')
echo "image in the PDF: ${iw}x${ih} pixels at ${ippx}x${ippy} ppi"
[[ $iw == 1024 && $ih == 768 ]] || fail "the printed image is ${iw}x${ih}, not the 1024x768 window"
{ ((ippx >= 190 && ippx <= 194 && ippy >= 190 && ippy <= 194)); } || fail "the image is printed at ${ippx}x${ippy} ppi, not 192 (50 %)"

focus "$printer"
xdotool key Escape
wait_window_gone "Stampa . . ."
quit_from_table
echo "PASS"
