# shellcheck shell=bash disable=SC2154 # name and tools come from the sourcing script
# Shared by the end-to-end scripts that drive the real program under Xvfb.
# Source it after setting `name` (used for the failure screenshot) and
# `tools` (the array of extra tools the script needs), and optionally a
# function `before_start` (run when $work/app holds the program, before it starts), with the program path
# in $1. It leaves: $work (a temporary folder removed on
# exit), $display, $app_pid and $window (the full-screen runtime window),
# and the helpers below. Every wait is bounded.

program=${1:?program path}
for tool in "${tools[@]}" Xvfb xdotool import convert awk timeout flock; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (make test installs it)"; exit 1; }
done
[[ -x $program ]] || { echo "FAIL: no program at $program"; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# X servers are started and stopped under one lock shared by every script on
# the machine: a server shutting down removes its socket file last, and a new
# server given the same number in that moment would lose its socket to it.
exec 8>>/tmp/mirelva-xvfb.lock
chmod a+rw /tmp/mirelva-xvfb.lock 2>/dev/null || true
cleanup() {
    if [[ -n $app_pid ]]; then kill "$app_pid" 2>/dev/null || true; fi
    if [[ -n $xvfb_pid ]]; then
        flock -w 60 8 || true
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        flock -u 8
    fi
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
# Runs the command every 0.25 s until it succeeds, for at most 20 s (or
# $tries quarter seconds); fails with $1 otherwise.
wait_for() {
    local what=$1
    shift
    for _ in $(seq "${tries:-80}"); do
        "$@" && return 0
        alive "waiting for $what"
        sleep 0.25
    done
    fail "$what"
}
shows() { shot && [[ $(pixel "$1" "$2") == "$3" ]]; }
wait_pixel() { wait_for "$4: pixel $1,$2 is not $3" shows "$1" "$2" "$3"; }
# Visible windows whose title is exactly $1.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
# Waits for a visible window titled $1 and prints its id.
wait_window() {
    tries=240 wait_for "the window \"$1\"" has_window "$1" >&2
    windows_named "$1" | head -n 1
}
has_window() { [[ -n $(windows_named "$1") ]]; }
no_window_named() { [[ -z $(windows_named "$1") ]]; }
# No message window beside the runtime window, such as one refusing a layout.
no_message_windows() {
    local title id
    for title in "Mirelva" "Mirelva - CARICAMENTO FILE DIGITALI" "Mirelva - CARICAMENTO RISORSE"; do
        for id in $(windows_named "$title"); do
            [[ $id == "$window" ]] || fail "a message \"$title\" appeared $1"
        done
    done
}
# Windows open and close slowly on a loaded machine under the address
# sanitizer: a minute for each.
wait_window_gone() { tries=240 wait_for "the window \"$1\" to close" no_window_named "$1"; }
# Seconds of sound in a PCM WAV: its data bytes over its byte rate.
# The length of key 1's WAV in the layout file $1 (a plain 44-byte header).
key1_wav_seconds() {
    local wav
    wav=$(grep -i '^Sonoro1=' "$1" | cut -d= -f2- | tr -d '\r')
    [[ -f $wav ]] || { echo "FAIL: no sound file for key 1 in $1" >&2; return 1; }
    od -An -t u4 -j 28 -N 4 "$wav" | awk -v size="$(stat -c %s "$wav")" '{ printf "%.3f", (size - 44) / $1 }'
}
# SDL's disk driver writes 44100 Hz stereo 16-bit frames: the first and last loud one after byte $1, and the count.
loud_frames() {
    tail -c +"$(($1 + 1))" "$work/audio.raw" | od -An -v -t d2 -w4 | awk '
        { a = ($1 < 0 ? -$1 : $1); c = ($2 < 0 ? -$2 : $2) }
        a > 64 || c > 64 { if (first == 0) first = NR; last = NR }
        END { printf "%d %d %d\n", first, last, NR }'
}
quiet_after_sound() {
    read -r first last total < <(loud_frames "$1")
    ((first > 0 && total - last > 44100))
}
# Seconds of sound heard after byte $1 of the device's output, once it has been quiet for a second.
heard_seconds() {
    wait_for "sound after byte $1 of the output" quiet_after_sound "$1" >&2
    read -r first last _ < <(loud_frames "$1")
    awk -v f="$first" -v l="$last" 'BEGIN { printf "%.3f", (l - f) / 44100 }'
}
# Loud stretches of the output after byte $1 separated by more than 0.35 s of quiet: words of one
# speech run together, two outputs apart count twice.
speech_runs() {
    tail -c +"$(($1 + 1))" "$work/audio.raw" | od -An -v -t d2 -w4 | awk '
        { a = ($1 < 0 ? -$1 : $1) }
        a > 64 { if (last == 0 || NR - last > 15435) runs++; last = NR }
        END { print runs + 0 }'
}
# Bytes the sound device has written so far.
audio_bytes() { stat -c %s "$work/audio.raw" 2>/dev/null || echo 0; }
# True when the scan's yellow highlight covers pixel x,y now, read straight from the screen:
# the highlight moves on while a whole screenshot is taken and read.
lit_now() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -q "(255,200,0)"
}
# Watches the screen until the highlight shows at every x,y given, then presses Space. Bounded
# by time, not by looks: a look is quick on an idle machine, and an item far down a scan at
# 2.5 s an item comes after half a minute.
press_when() {
    local what=$1 until=$((SECONDS + 90))
    shift
    while ((SECONDS < until)); do
        local all=1 p
        for p in "$@"; do lit_now "${p%,*}" "${p#*,}" || { all=0; break; }; done
        if ((all)); then
            xdotool key --window "$window" space
            return 0
        fi
        alive "waiting for $what"
    done
    fail "$what: never highlighted at $*"
}
# Moves the pointer to x,y of the screen and checks that the server put it there: the first
# move sent to a server just started can be lost. Bounded; usable before the program runs.
pointer_to() {
    for _ in $(seq 40); do
        xdotool mousemove "$1" "$2"
        [[ $(xdotool getmouselocation) == "x:$1 y:$2 "* ]] && return 0
        sleep 0.25
    done
    fail "the pointer did not go to $1,$2"
}
# Alt held while the letter goes down and up: the program acts on the
# letter's release with Alt alone still held.
alt_key() { xdotool keydown alt keydown "$1" keyup "$1" keyup alt; }
focus() { timeout 10 xdotool windowfocus --sync "$1" || fail "cannot focus window $1"; }

# A display of our own: Xvfb chooses a free number itself, locks it and
# writes it to the descriptor given with -displayfd, so no other server can
# be taken for ours.
start_xvfb() {
    local fifo=$work/displayfd n=""
    mkfifo "$fifo"
    flock -w 60 8 || fail "no X server could be started: another test kept the lock for a minute"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 8>&- >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    read -r -t 20 n <"$fifo" || true
    flock -u 8
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
full_screen_window() {
    for id in $(windows_named Mirelva); do
        xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 1024x768' && window=$id
    done
    [[ -n $window ]]
}
# Starts the program (again) and waits for its full-screen window on the intro screen.
start_program() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/audio.raw QT_QPA_PLATFORM=xcb "$work/app/mirelva" \
        >"$work/app.log" 2>&1 &
    app_pid=$!

    # The runtime window: the one named Mirelva that covers the screen.
    window=""
    wait_for "a full-screen Mirelva window" full_screen_window
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
    ! kill -0 "$app_pid" 2>/dev/null || fail "the program is still running after Esc on the intro"
    wait "$app_pid" || fail "the program ended with an error"
    app_pid=""
}

# Esc leaves the table for the intro screen, Esc again ends the program.
quit_from_table() {
    focus "$window"
    xdotool key Escape
    wait_pixel 300 3 "0,115,255" "intro after Esc"
    quit_from_intro
}
