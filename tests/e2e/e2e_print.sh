#!/usr/bin/env bash
# Printing the table on a machine without printers: F12 shows the 16-key
# table, Alt+P opens "Stampa . . ." with the PDF printer, F6 and F8 choose
# "Al centro" and 50 %, the print button asks for the PDF file and writes one
# page with the table centred at half its screen size.
# Usage: e2e_print.sh <path to the mirelva program>
set -euo pipefail
name=e2e_print
tools=(pdfinfo pdftoppm pdfimages)
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
for _ in $(seq 80); do
    grep -qi 'lay12\.ini' "$work/app/cfg.ini" && break
    alive "switching to lay12.ini"
    sleep 0.25
done
grep -qi 'lay12\.ini' "$work/app/cfg.ini" || fail "F12 did not make lay12.ini the active layout"
sleep 1
shot
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_table.png"
# What of the table is not white: its frames and pictures, in screen pixels.
read -r cw ch cx cy < <(convert "$work/shot.png" -fuzz 2% -trim -format '%w %h %X %Y\n' info: | tr -d '+')

focus "$window"
alt_key p
printer=$(wait_window "Stampa . . .") || fail "Alt+P on the table did not open \"Stampa . . .\""
focus "$printer"
eval "$(xdotool getwindowgeometry --shell "$printer")"
echo "print window: ${WIDTH}x${HEIGHT} at $X,$Y"
# 90 % of the screen, centred.
((WIDTH == 922 && HEIGHT == 691)) || fail "the print window is ${WIDTH}x${HEIGHT}, not 90 % of 1024x768"

# The placement starts at "In alto al centro" (index 1): three F6 reach
# "Al centro" (4); the zoom starts at 100 % (index 9): five F8 wrap to 50 %.
for _ in 1 2 3; do xdotool key F6; done
for _ in 1 2 3 4 5; do xdotool key F8; done
sleep 1
shot
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_window.png"
# The preview page: white near its top-left corner, the table's picture
# in the middle of the area under the strip.
[[ $(pixel $((X + 60)) $((Y + 140))) == "255,255,255" ]] ||
    fail "no white preview page under the strip: $(pixel $((X + 60)) $((Y + 140)))"
mean=$(convert "$work/shot.png" -crop 200x150+$((X + WIDTH / 2 - 100))+$((Y + HEIGHT / 2 + 40 - 75)) -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m < 0.95) }' || fail "no picture in the middle of the preview page (mean $mean)"

# The print button: at the right end of the strip under the menu bar.
xdotool mousemove $((X + WIDTH - 77)) $((Y + 47)) click 1
save=$(wait_window "Seleziona il file in cui salvare") || fail "the print button did not ask for the PDF file"
focus "$save"
pdf=$work/tabella.pdf
xdotool type --delay 20 "$pdf"
xdotool key Return
wait_window_gone "Seleziona il file in cui salvare"
for _ in $(seq 80); do
    [[ -s $pdf ]] && pdfinfo "$pdf" >/dev/null 2>&1 && break
    alive "printing"
    sleep 0.25
done
[[ -s $pdf ]] || fail "no PDF written at $pdf"

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
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; exit !(d <= t && -d <= t) }'; }
{ near "$ippx" 192 2 && near "$ippy" 192 2; } || fail "the image is printed at ${ippx}x${ippy} ppi, not 192 (50 %)"

# Where it is: at 72 dots per inch one pixel is one point and one screen
# pixel is 0.375 points; the table's frames and pictures are found on the
# page and traced back to the picture's corner.
pdftoppm -r 72 -png -singlefile "$pdf" "$work/page"
cp "$work/page.png" "${TMPDIR:-/tmp}/${name}_page.png"
read -r bw bh bx by < <(convert "$work/page.png" -fuzz 2% -trim -format '%w %h %X %Y\n' info: | tr -d '+')
echo "table drawn at $bx,$by size ${bw}x${bh} points on a ${pw}x${ph} page (on screen ${cw}x${ch} at $cx,$cy)"
near "$bw" "$(awk -v w="$cw" 'BEGIN { print w * 0.375 }')" 2 || fail "the table is $bw points wide on the page"
near "$bh" "$(awk -v h="$ch" 'BEGIN { print h * 0.375 }')" 2 || fail "the table is $bh points high on the page"
left=$(awk -v b="$bx" -v c="$cx" 'BEGIN { printf "%d", b - c * 0.375 + 0.5 }')
top=$(awk -v b="$by" -v c="$cy" 'BEGIN { printf "%d", b - c * 0.375 + 0.5 }')
# Centred within the printable area, whose margins may differ by a few points.
near $((2 * left + 384)) "$pw" 6 || fail "the picture is not centred across the page (left $left)"
near $((2 * top + 288)) "$ph" 6 || fail "the picture is not centred down the page (top $top)"

focus "$printer"
xdotool key Escape
wait_window_gone "Stampa . . ."
focus "$window"
xdotool key Escape
wait_pixel 300 3 "0,115,255" "intro after Esc"
quit_from_intro
echo "PASS"
