#!/usr/bin/env bash
# The settings window tells the truth, on a family's desktop (a window
# manager, the accessibility tree): a 6-key board with sounds for only two
# keys and "Attiva Sezione 2" ticked is not called saved; the question offers
# to switch the sounds off; taken, the board is saved and opens on the table.
# Usage: e2e_settings_truth.sh <path to the mirelva program>
set -euo pipefail
if [[ -z ${MIRELVA_E2E_BUS:-} ]]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing (make test installs it)"; exit 1; }
    exec env MIRELVA_E2E_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
name=e2e_settings_truth
tools=(openbox python3 dbus-run-session)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "FAIL: python3-pyatspi is missing (make test installs it)"; exit 1; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
before_start() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    for _ in $(seq 80); do wm_ready && return 0; sleep 0.25; done
    echo "FAIL: openbox did not start"
    exit 1
}
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

app=$work/app
mapfile -t pictures < <(find "$app/immagini" -name '*.gif' | sort | head -n 6)
((${#pictures[@]} == 6)) || fail "the installation did not leave six pictures"
focus "$window"
alt_key i
wait_window "Impostazioni" >/dev/null || fail "Alt+I did not open the settings window"
timeout 240 /usr/bin/python3 "$(dirname "$0")/settings_truth.py" "${pictures[@]}" "$app/suoni/1.wav" "$app/suoni/2.wav" ||
    fail "the settings window did not ask before saving"
wait_window_gone "Impostazioni"
grep -q '^IsSezione2=0' "$app/layout/merenda.ini" || fail "the fix was not saved: $(tr -d '\r' <"$app/layout/merenda.ini" | head -8)"
grep -qi "^File=$app/layout/merenda.ini" "$app/cfg.ini" || fail "cfg.ini does not name the new board"

# Enter: the board opens on the table, no error window.
focus "$window"
xdotool key Return
wait_pixel 40 400 "255,255,255" "table cell"
sleep 1
shows 300 3 "0,115,255" && fail "the intro is still shown: the table refused the board"
no_message_windows "when the table opened"
echo "a 6-key board with two sounds: asked, fixed as offered, opens on the table"
quit_from_intro_or_table() { focus "$window"; xdotool key Escape; sleep 0.5; quit_from_intro; }
quit_from_intro_or_table
