# shellcheck shell=bash
# A fresh Debian 12 (bookworm, minbase) to install packages into, for tests.
# Source it from a script running as root in a mount and PID namespace of its
# own (see debian_chroot_reexec); then `debian_chroot_make ROOT` fills ROOT
# and mounts what programs inside need, and an EXIT trap unmounts it all and
# removes ROOT. The debootstrap result is kept as a tarball in $chroot_cache
# (default ~/.cache/mirelva-chroot), so only the first run downloads the base
# system; the packages apt fetches later are kept there too.
#
# The mirror is the one this machine's apt uses for bookworm (read from
# /etc/apt/sources.list*), unless MIRELVA_DEBIAN_MIRROR names another.

chroot_cache=${MIRELVA_CHROOT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/mirelva-chroot}
chroot_root=""
chroot_mounts=()

chroot_fail() { echo "FAIL: $*" >&2; exit 1; }

# Re-runs the calling script as root, in namespaces of its own: every mount
# and every process started inside vanishes with it, even when it is killed.
debian_chroot_reexec() {
    [[ -n ${MIRELVA_CHROOT_NS:-} ]] && return 0
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo -n true 2>/dev/null ||
            chroot_fail "making a Debian chroot needs root (or sudo without a password); this user has neither"
        sudo=(sudo -n --preserve-env=MIRELVA_CHROOT_CACHE,MIRELVA_DEBIAN_MIRROR,HOME)
    fi
    unshare --mount --pid --fork --propagation private true 2>/dev/null ||
        chroot_fail "cannot make mount and PID namespaces here (unshare refused: no privileges for a chroot)"
    exec "${sudo[@]}" env MIRELVA_CHROOT_NS=1 unshare --mount --pid --fork --propagation private bash "$0" "$@"
}

# The first bookworm "deb" source of this machine's apt: one-line and deb822 formats.
debian_mirror() {
    if [[ -n ${MIRELVA_DEBIAN_MIRROR:-} ]]; then echo "$MIRELVA_DEBIAN_MIRROR"; return; fi
    local files=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources) found
    found=$(for f in "${files[@]}"; do [[ -f $f ]] && cat "$f" && echo; done | awk '
        /^[ \t]*#/ { next }
        $1 == "deb" { for (i = 2; i < NF; i++) if ($i ~ /^[a-z+]+:/ && $(i + 1) == "bookworm") { print $i; exit } }
        /^$/ { if (deb && off == 0 && suites ~ / bookworm( |$)/ && uri != "") { print uri; exit } deb = 0; off = 0; suites = ""; uri = "" }
        /^Types:/ { deb = ($0 ~ /[ \t]deb([ \t]|$)/) }
        /^Enabled:[ \t]*no/ { off = 1 }
        /^Suites:/ { suites = $0 }
        /^URIs:/ { uri = $2 }')
    [[ -n $found ]] || chroot_fail "no Debian bookworm source in /etc/apt/sources.list*; set MIRELVA_DEBIAN_MIRROR"
    echo "$found"
}

chroot_mount() {
    mount "$@" || chroot_fail "mount $* failed"
    chroot_mounts+=("${!#}")
}

debian_chroot_cleanup() {
    local i
    for ((i = ${#chroot_mounts[@]} - 1; i >= 0; i--)); do
        umount -l "${chroot_mounts[i]}" 2>/dev/null || echo "warning: cannot unmount ${chroot_mounts[i]}" >&2
    done
    chroot_mounts=()
    # Never delete through a mount that is still there: it would reach the cache or the host.
    if [[ -n $chroot_root && -d $chroot_root ]]; then
        if grep -qF " $chroot_root/" /proc/self/mountinfo; then
            echo "warning: $chroot_root still has mounts; left in place" >&2
        else
            rm -rf --one-file-system "$chroot_root"
        fi
    fi
}

# debootstrap in a container bind-mounts the host's nodes instead of making
# them, which leaves empty files in the tarball: make the few that programs need.
chroot_devices() {
    local row name major minor
    for row in "null 1 3" "zero 1 5" "full 1 7" "random 1 8" "urandom 1 9" "tty 5 0"; do
        read -r name major minor <<<"$row"
        [[ -c $chroot_root/dev/$name ]] && continue
        rm -f "$chroot_root/dev/$name"
        mknod -m 666 "$chroot_root/dev/$name" c "$major" "$minor" || chroot_fail "cannot make /dev/$name in the chroot"
    done
    mkdir -p "$chroot_root/dev/pts" "$chroot_root/dev/shm"
    rm -f "$chroot_root/dev/ptmx" && ln -s pts/ptmx "$chroot_root/dev/ptmx"
}

debian_chroot_make() {
    chroot_root=$1
    local tarball=$chroot_cache/bookworm-minbase-amd64.tar.gz
    mkdir -p "$chroot_cache/archives/partial" "$chroot_cache/lists/partial" "$chroot_root"
    trap debian_chroot_cleanup EXIT
    if [[ ! -s $tarball ]]; then
        command -v debootstrap >/dev/null || chroot_fail "debootstrap is missing (scripts/install-deps.sh --package installs it)"
        local mirror fresh
        mirror=$(debian_mirror)
        fresh=$(mktemp -d "$chroot_cache/fresh.XXXXXX")
        echo "debootstrap bookworm from $mirror (first run; cached afterwards)"
        debootstrap --variant=minbase --arch=amd64 bookworm "$fresh" "$mirror" >"$chroot_cache/debootstrap.log" 2>&1 ||
            { tail -n 20 "$chroot_cache/debootstrap.log"; rm -rf --one-file-system "$fresh"; chroot_fail "debootstrap failed"; }
        tar --numeric-owner -C "$fresh" -czf "$tarball.part" . && mv "$tarball.part" "$tarball"
        rm -rf --one-file-system "$fresh"
    fi
    tar --numeric-owner -C "$chroot_root" -xzf "$tarball" || chroot_fail "cannot unpack $tarball"
    # mktemp made both folders private; the chroot's users must enter its /.
    chmod 755 "$chroot_root"
    chroot_devices
    chroot_mount -t proc proc "$chroot_root/proc"
    chroot_mount -t devpts -o newinstance,ptmxmode=0666 devpts "$chroot_root/dev/pts"
    chroot_mount -t tmpfs tmpfs "$chroot_root/dev/shm"
    chroot_mount --bind "$chroot_cache/archives" "$chroot_root/var/cache/apt/archives"
    chroot_mount --bind "$chroot_cache/lists" "$chroot_root/var/lib/apt/lists"
    cp -L /etc/resolv.conf "$chroot_root/etc/resolv.conf"
    # A throw-away system: no fsync after every file dpkg unpacks.
    echo force-unsafe-io >"$chroot_root/etc/dpkg/dpkg.cfg.d/unsafe-io"
    # apt downloads as its own user _apt, into the cached folders.
    in_chroot chown _apt:root /var/cache/apt/archives/partial /var/lib/apt/lists/partial
}

# Runs a command as root inside the chroot, non-interactive.
in_chroot() {
    chroot "$chroot_root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"
}
