#!/usr/bin/env bash
# Installs the Debian 12 packages Mirelva needs to build, run and test,
# only those that are missing. Usage: install-deps.sh [--run | --test | --bench | --fuzz | --package]
# (--package: what building, checking and test-installing the .deb needs;
# --run: the Festival Italian voices too, so that a developer hears them)
set -euo pipefail
packages=(cmake make g++ ccache pkg-config qt6-base-dev qt6-translations-l10n libsdl2-dev libespeak-ng-dev espeak-ng-data libzip-dev libsndfile1-dev qt6-svg-dev fonts-dejavu-core fonts-crosextra-carlito fonts-liberation2 festival-dev libestools-dev libspeechd-dev)
# Festival with its two Italian voices (female and male) and their lexicon.
festival_voices=(festival festvox-italp16k festvox-itapc16k festlex-ifd)
if [[ "${1:-}" == "--run" ]]; then
  packages+=("${festival_voices[@]}")
elif [[ "${1:-}" == "--test" ]]; then
  # The voices too, so that the speech engines' tests run Festival.
  packages+=(xvfb xauth xdotool imagemagick poppler-utils x11-utils clang-format sox libsox-fmt-mp3 python3-pyatspi at-spi2-core dbus-daemon
    "${festival_voices[@]}")
elif [[ "${1:-}" == "--package" ]]; then
  packages+=(dpkg-dev file lintian appstream desktop-file-utils debootstrap)
elif [[ "${1:-}" == "--bench" ]]; then
  # speech-dispatcher with its espeak-ng module: the system's voice is measured too.
  packages+=(libbenchmark-dev libx11-dev xvfb xauth xdotool valgrind sox libsox-fmt-mp3 "${festival_voices[@]}"
    speech-dispatcher speech-dispatcher-espeak-ng)
elif [[ "${1:-}" == "--fuzz" ]]; then
  # libclang-rt-14-dev holds libFuzzer and the sanitizer runtimes of Debian 12's clang.
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
# npm fetches the symbol library at build time; a machine whose Node.js comes
# with its own npm (not Debian's package) already has it.
command -v npm >/dev/null || missing+=(npm)
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""; [[ $(id -u) -ne 0 ]] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq -o DPkg::Lock::Timeout=300
  $sudo apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}"
fi
