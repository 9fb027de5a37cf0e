# shellcheck shell=bash disable=SC2154 # name and tools come from the sourcing script
# Shared by the end-to-end scripts that drive the real program under Xvfb.
# Source it after setting `name` (used for the failure screenshot) and
# `tools` (the array of extra tools the script needs), and optionally a
# function `before_start` (run when $work/app holds the program, before it starts), with the program path
# in $1. It leaves: $work (a temporary folder removed on
# exit), $display, $app_pid and $window (the full-screen runtime window),
# and the helpers below. Every wait is bounded.

program=${1:?program path}
for tool in "${tools[@]}" Xvfb xdotool import convert awk timeout; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (make test installs it)"; exit 1; }
done
[[ -x $program ]] || { echo "FAIL: no program at $program"; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    if [[ -n $app_pid ]]; then kill "$app_pid" 2>/dev/null || true; fi
    if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [[ -s $work/app.log ]] && { echo "--- program output:"; cat "$work/app.log"; }
    [[ -f $work/shot.png ]] && cp "$work/shot.png" "${TMPDIR:-/tmp}/${name}_failure.png" &&
        echo "last screenshot: ${TMPDIR:-/tmp}/${name}_failure.png"
    exit 1
}

shot() { import -window root "$work/shot.png"; }
# Colour of one pixel of the last screenshot, as r,g,b.
pixel() {
    convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
alive() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended while $1"; }
# Waits (at most ~20 s) until pixel x,y shows the colour.
wait_pixel() {
    local x=$1 y=$2 want=$3 what=$4
    for _ in $(seq 80); do
        shot
        [[ $(pixel "$x" "$y") == "$want" ]] && return 0
        alive "waiting for $what"
        sleep 0.25
    done
    fail "$what: pixel $x,$y is $(pixel "$x" "$y"), expected $want"
}
# Visible windows whose title is exactly $1.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
# Waits (at most 20 s) for a visible window titled $1 and prints its id.
wait_window() {
    local id
    for _ in $(seq 80); do
        id=$(windows_named "$1" | head -n 1)
        [[ -n $id ]] && { echo "$id"; return 0; }
        alive "waiting for the window \"$1\"" >&2
        sleep 0.25
    done
    return 1
}
# Waits (at most 20 s) until no visible window is titled $1.
wait_window_gone() {
    for _ in $(seq 80); do
        [[ -z $(windows_named "$1") ]] && return 0
        alive "waiting for the window \"$1\" to close"
        sleep 0.25
    done
    fail "the window \"$1\" is still open"
}
# Alt held while the letter goes down and up: the program acts on the
# letter's release with Alt alone still held.
alt_key() {
    xdotool keydown alt keydown "$1" keyup "$1" keyup alt
}
focus() { timeout 10 xdotool windowfocus --sync "$1" || fail "cannot focus window $1"; }

# A display of our own: Xvfb chooses a free number itself, locks it and
# writes it to the descriptor given with -displayfd, so no other server can
# be taken for ours.
start_xvfb() {
    local fifo=$work/displayfd n=""
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    read -r -t 20 n <"$fifo" || true
    rm -f "$fifo"
    [[ $n =~ ^[0-9]+$ ]] || fail "Xvfb did not report its display: $(cat "$work/xvfb.log")"
    display=":$n"
}
start_xvfb
export DISPLAY=$display

# The program alone in an empty folder: it installs its data beside itself.
mkdir "$work/app"
cp "$program" "$work/app/mirelva"
# A script may put files beside the program before it starts.
if declare -F before_start >/dev/null; then before_start; fi
export XDG_RUNTIME_DIR=$work/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"
export HOME=$work/home
mkdir "$HOME"
# Starts the program (again) and waits for its full-screen window on the intro screen.
start_program() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/audio.raw QT_QPA_PLATFORM=xcb "$work/app/mirelva" \
        >"$work/app.log" 2>&1 &
    app_pid=$!

    # The runtime window: the one named Mirelva that covers the screen.
    window=""
    for _ in $(seq 100); do
        for id in $(windows_named Mirelva); do
            if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 1024x768'; then window=$id; fi
        done
        [[ -n $window ]] && break
        alive "starting"
        sleep 0.2
    done
    [[ -n $window ]] || fail "no full-screen Mirelva window"
    # The intro screen: its blue top bar.
    wait_pixel 300 3 "0,115,255" "intro top bar"
    focus "$window"
}
start_program

# Esc on the intro screen ends the program; it must end cleanly.
quit_from_intro() {
    focus "$window"
    xdotool key Escape
    for _ in $(seq 50); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$app_pid" 2>/dev/null; then fail "the program is still running after Esc on the intro"; fi
    wait "$app_pid" || fail "the program ended with an error"
    app_pid=""
}
