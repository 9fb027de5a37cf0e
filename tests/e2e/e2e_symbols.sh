#!/usr/bin/env bash
# The symbol library from the settings window, driven by accessible names:
# "mela" searched and its first symbol put on key 1 shows on the table; then
# a layout made from six words shows on the table with six pictures.
# Usage: e2e_symbols.sh <path to the mirelva program>
set -euo pipefail
# The accessibility bus lives in a session bus of this script's own.
if [[ -z ${MIRELVA_E2E_DBUS:-} ]]; then
    exec env MIRELVA_E2E_DBUS=1 dbus-run-session -- bash "$0" "$@"
fi
name=e2e_symbols
tools=(dbus-run-session /usr/bin/python3)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The library archive goes beside the program, as the build and the package put it.
before_start() { cp "$(dirname "$program")/mirelva-simboli.rcc" "$work/app/"; }
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
atspi() { timeout 60 /usr/bin/python3 "$(dirname "$0")/atspi.py" "$@" || fail "accessibility: $*"; }

# Key 1 of the first layout gets the first symbol found for "mela".
alt_key i
atspi press Impostazioni "Cerca simbolo per il tasto 1"
atspi settext "Cerca simbolo" "Parole da cercare" "mela"
atspi press "Cerca simbolo" "Scegli"
apple_written() { compgen -G "$work/app/immagini/1f34e_*.bmp" >/dev/null; }
wait_for "the apple's picture in immagini" apple_written
atspi press Impostazioni "Salva layout"
atspi press Mirelva OK
wait_window_gone Impostazioni
focus "$window"
xdotool key Return
# One key: the apple's red fills the middle of the screen.
apple_shown() { shot && [[ $(pixel 512 400) =~ ^(2[0-9][0-9]),([0-9]|[1-7][0-9]),([0-9]+)$ ]]; }
wait_for "the red apple in the middle of the table" apple_shown
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_apple.png"
echo "key 1 shows the apple: $(pixel 512 400)"
xdotool key Escape

# A layout from six words, made active, shows six pictures.
focus "$window"
alt_key i
atspi press Impostazioni "Tabella da parole..."
atspi settext "Tabella da parole" "Parole della tabella" "acqua, pane, mela, casa, cane, palla"
atspi press "Tabella da parole" "Proponi"
atspi settext "Tabella da parole" "Nome del layout" "merenda"
atspi press "Tabella da parole" "Salva layout"
atspi press Mirelva OK
wait_window_gone Impostazioni
grep -q '^File=.*layout/merenda.ini' "$work/app/cfg.ini" || fail "the new layout is not the active one"
focus "$window"
xdotool key Return
# Six keys in two rows of three: every cell holds a picture of many colours.
cells_filled() {
    shot
    local x y colours
    for y in 40 424; do
        for x in 40 381 722; do
            colours=$(convert "$work/shot.png" -crop 260x300+$x+$y -format %k info:)
            ((colours > 20)) || return 1
        done
    done
}
wait_for "six pictures on the table" cells_filled
cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_board.png"
echo "the six-word layout shows six pictures"
xdotool key Escape
quit_from_intro
echo "PASS"
