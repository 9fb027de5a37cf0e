#!/usr/bin/env bash
# An Open Board set imported with `mirelva --import FILE --activate` shows on
# the table with its pictures; a file that is no board set is refused with a
# message and an exit code, and leaves the data folder as it was.
# Usage: e2e_obf.sh <path to the mirelva program>
set -euo pipefail
name=e2e_obf
tools=(md5sum)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
sample=$(dirname "$0")/../obf/data/path_images.obz
quit_from_intro

folder_state() { (cd "$work/app" && find . -type f -print0 | sort -z | xargs -0 md5sum); }
before=$(folder_state)
printf 'not a zip' >"$work/broken.obz"
if "$work/app/mirelva" --import "$work/broken.obz" >"$work/out.txt" 2>"$work/err.txt"; then
    fail "a broken file was imported: $(cat "$work/out.txt")"
fi
grep -q "Nessun file è stato scritto" "$work/err.txt" || fail "no message for a broken file: $(cat "$work/err.txt")"
[[ $(folder_state) == "$before" ]] || fail "a refused import changed the data folder"
echo "broken file refused: $(head -n 2 "$work/err.txt" | tr '\n' ' ')"

timeout 60 "$work/app/mirelva" --import "$sample" --activate >"$work/out.txt" 2>"$work/err.txt" ||
    fail "import failed: $(cat "$work/err.txt")"
grep -q "2 layout creati" "$work/out.txt" || fail "unexpected report: $(cat "$work/out.txt")"
grep -q "^File=.*Path Images Board.ini" "$work/app/cfg.ini" || fail "--activate did not change cfg.ini"
echo "imported: $(head -n 1 "$work/out.txt")"

start_program
xdotool key Return
# Two keys side by side: the left one shows the sample's picture (thousands
# of colours), which neither an empty cell nor a label picture has.
picture_shown() {
    shot
    colours=$(convert "$work/shot.png" -crop 400x400+50+180 -format %k info:)
    ((colours > 500))
}
wait_for "the imported picture on the table" picture_shown
echo "the imported layout shows its picture ($colours colours in the left key)"
focus "$window"
xdotool key Escape
quit_from_intro
echo "PASS"
