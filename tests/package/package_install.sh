#!/usr/bin/env bash
# Installs the package on a fresh Debian 12 and runs it there as a normal user:
# the intro screen appears, the first-run installation lands in the user's
# ~/.local/share/mirelva, nothing is written under /usr, --version answers.
# Usage: package_install.sh build/mirelva_<version>_amd64.deb   (run by `make package-test`)
set -euo pipefail
deb=$(realpath "${1:?path of the .deb}")
[[ -f $deb ]] || { echo "FAIL: no package at $1"; exit 1; }
# shellcheck source=../../scripts/debian-chroot.sh
source "$(dirname "$0")/../../scripts/debian-chroot.sh"
debian_chroot_reexec "$@"

start=$SECONDS
step() { echo "[$((SECONDS - start)) s] $*"; }
fail() {
    echo "FAIL: $*"
    [[ -f $chroot_root/tmp/app.log ]] && { echo "--- program output:"; cat "$chroot_root/tmp/app.log"; }
    exit 1
}
version=$(dpkg-deb -f "$deb" Version)

step "making the chroot"
debian_chroot_make "$(mktemp -d "${TMPDIR:-/var/tmp}/mirelva-chroot.XXXXXX")"
in_chroot apt-get update -qq || fail "apt-get update in the chroot failed"

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$chroot_root/tmp/"
in_chroot sh -c "cd /tmp && apt-get install -y -qq --no-install-recommends ./$(basename "$deb")" \
    >"$chroot_root/tmp/install.log" 2>&1 || { tail -n 30 "$chroot_root/tmp/install.log"; fail "the package does not install"; }
in_chroot useradd --create-home --shell /bin/bash user
# Before any test tool arrives: the package's own dependencies must be enough to start.
answer=$(in_chroot chroot --userspec=user:user / env HOME=/home/user mirelva --version) ||
    fail "mirelva --version failed"
[[ $answer == "Mirelva $version" ]] || fail "mirelva --version answered \"$answer\", expected \"Mirelva $version\""
[[ -f $chroot_root/usr/share/applications/org.mirelva.Mirelva.desktop ]] || fail "no menu entry"

step "test tools"
in_chroot apt-get install -y -qq --no-install-recommends xvfb xauth xdotool imagemagick >/dev/null 2>&1 ||
    fail "cannot install xvfb, xdotool and imagemagick in the chroot"
touch "$chroot_root/tmp/stamp"
sleep 1

step "mirelva as a normal user under Xvfb"
cat >"$chroot_root/tmp/as-user.sh" <<'USER'
set -u
cd "$HOME"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>/tmp/display 2>/tmp/xvfb.log &
for _ in $(seq 100); do [[ -s /tmp/display ]] && break; sleep 0.1; done
[[ -s /tmp/display ]] || { echo "Xvfb did not report its display"; cat /tmp/xvfb.log; exit 1; }
export DISPLAY=":$(head -n 1 /tmp/display)"
SDL_AUDIODRIVER=dummy mirelva >/tmp/app.log 2>&1 &
app=$!
pixel=""
for _ in $(seq 120); do
    kill -0 $app 2>/dev/null || { echo "mirelva ended while starting"; exit 1; }
    pixel=$(import -window root png:- 2>/dev/null | convert png:- -format '%[fx:int(255*p{300,3}.r)],%[fx:int(255*p{300,3}.g)],%[fx:int(255*p{300,3}.b)]' info: 2>/dev/null)
    [[ $pixel == "0,115,255" ]] && break
    sleep 0.25
done
[[ $pixel == "0,115,255" ]] || { echo "no intro screen: pixel 300,3 is $pixel, expected 0,115,255"; import -window root /tmp/shot.png; exit 1; }
echo "intro screen shown"
window=$(xdotool search --onlyvisible --name '^Mirelva$' | head -n 1)
timeout 10 xdotool windowfocus --sync "$window" key Escape || { echo "cannot send Esc"; exit 1; }
for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.2; done
kill -0 $app 2>/dev/null && { echo "mirelva still runs after Esc on the intro screen"; exit 1; }
wait $app || { echo "mirelva ended with status $?"; exit 1; }
USER
in_chroot chroot --userspec=user:user / env HOME=/home/user XDG_RUNTIME_DIR=/tmp/runtime-user \
    bash /tmp/as-user.sh || fail "the run as a normal user failed"

step "checking the data folder and /usr"
data=$chroot_root/home/user/.local/share/mirelva
# INI files end their lines with CR LF.
tr -d '\r' <"$data/cfg.ini" 2>/dev/null | grep -qx "File=/home/user/.local/share/mirelva/layout/lay1.ini" ||
    fail "no cfg.ini naming lay1.ini in ~/.local/share/mirelva: $(ls -A "$data" 2>&1)"
for n in $(seq 12); do
    grep -q "^F12=/home/user/.local/share/mirelva/layout/lay12.ini" "$data/layout/lay$n.ini" ||
        fail "default layout lay$n.ini missing or not pointing into the data folder"
done
(($(ls "$data/immagini" | wc -l) == 16 && $(ls "$data/suoni" | wc -l) == 17)) ||
    fail "expected 16 pictures and 17 sounds, found $(ls "$data/immagini" | wc -l) and $(ls "$data/suoni" | wc -l)"
[[ $(in_chroot stat -c %U /home/user/.local/share/mirelva/cfg.ini) == user ]] || fail "cfg.ini is not the user's own"
written=$(cd "$chroot_root" && find usr -newer tmp/stamp -o -cnewer tmp/stamp | head)
[[ -z $written ]] || fail "written under /usr: $written"
step "PASS: installed, started as a normal user, data in ~/.local/share/mirelva, /usr untouched"
