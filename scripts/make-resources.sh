#!/usr/bin/env bash
# Regenerates Mirelva's embedded resources under resources/:
#   pictures/111.gif … 126.gif  the sixteen default key pictures (Twemoji art, see README "Credits")
#   sounds/111.wav … 126.wav    the sixteen key names spoken by espeak-ng's Italian voice
#   sounds/127.wav              a short applause, synthesised with sox
#   bitmaps/101.bmp … 104.bmp   the intro screen's band tiles and emblems, drawn with ImageMagick
#   ../packaging/icons/*.png      the menu icon at 48, 128 and 256 px, from the SVG drawn by hand beside them
#
# Run by hand, once, when a resource has to change; the results are committed. Neither the build nor
# make runs it, and nothing it installs becomes a build dependency.
#
# Needs: librsvg2-bin (rsvg-convert), imagemagick, espeak-ng, sox, npm. It installs the missing Debian
# packages (as root or through sudo) and fetches the npm package @twemoji/svg into a temporary folder
# outside the repository, which it deletes at the end.
#
# Usage: scripts/make-resources.sh [--keep-temp | --icons]   (--icons: only the menu icon)
set -euo pipefail

TWEMOJI_PKG="@twemoji/svg@15.0.0"

repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources"
work=$(mktemp -d)
if [[ "${1:-}" != "--keep-temp" ]]; then
    trap 'rm -rf "$work"' EXIT
else
    echo "temporary files kept in $work"
fi

install_tools() {
    # Command, then the Debian package bringing it.
    local tools=("rsvg-convert librsvg2-bin" "convert imagemagick" "espeak-ng espeak-ng" "sox sox" "npm npm")
    local missing=() row cmd pkg
    for row in "${tools[@]}"; do
        read -r cmd pkg <<<"$row"
        command -v "$cmd" >/dev/null || missing+=("$pkg")
    done
    if ((${#missing[@]})); then
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# ---------------------------------------------------------------- pictures

# The body of an SVG file without its outer <svg> element, for composing several emoji into one picture.
svg_inner() { sed -e 's/^<svg[^>]*>//' -e 's#</svg>[[:space:]]*$##' "$1"; }

# Writes an SVG made of the given body, in the emoji's own 36×36 units with room around for parts that
# stick out (the pictures are trimmed to their content anyway).
svg_wrap() {
    {
        echo '<svg xmlns="http://www.w3.org/2000/svg" viewBox="-8 -8 52 52">'
        echo "$2"
        echo '</svg>'
    } >"$1"
}

# Befana: the woman mage without her staff, on a broom that her hand grips, tilted as if flying.
compose_befana() {
    local tw=$1 mage broom hand
    mage=$(svg_inner "$tw/1f9d9-200d-2640-fe0f.svg" | sed 's/<path/\n<path/g')
    broom=$(svg_inner "$tw/1f9f9.svg")
    hand=$(grep 'M7 30.5C7' <<<"$mage")
    mage=$(grep -v -e 'D99E82' -e 'M7 30.5C7' <<<"$mage" | tr -d '\n')
    [[ -n "$hand" && "$mage" != *D99E82* ]] || { echo "unexpected woman mage artwork" >&2; exit 1; }
    svg_wrap "$2" "<g transform='rotate(-10 18 18)'>
<g transform='translate(4,0) scale(0.85)'>$mage</g>
<g transform='translate(23,29.1) rotate(-40) scale(-0.8,0.8) translate(-18,-18)'>$broom</g>
<g transform='translate(4,0) scale(0.85)'>$hand</g></g>"
}

# Postino: the worker in a blue cap (his wrench and name tag left out) with a shoulder bag and a letter.
compose_postino() {
    local tw=$1 man letter
    man=$(svg_inner "$tw/1f468-200d-1f527.svg" | sed -e 's#<path fill="\#66757F"[^>]*/>##g' -e 's#<ellipse[^>]*/>##')
    [[ "$man" != *66757F* ]] || { echo "unexpected worker artwork" >&2; exit 1; }
    letter=$(svg_inner "$tw/2709.svg")
    svg_wrap "$2" "<g transform='translate(-5,0)'>$man
<path fill='#8A4B38' d='M14 28 L16.2 28 L29 36 L25.5 36 Z'/></g>
<g transform='translate(23,18.8) scale(0.36) rotate(-10 18 18)'>$letter</g>
<rect x='21' y='27' width='14' height='9' rx='1.5' fill='#A0522D'/>
<path fill='#8A4B38' d='M21 28.5a1.5 1.5 0 0 1 1.5-1.5h11a1.5 1.5 0 0 1 1.5 1.5v3.5h-14z'/>
<circle cx='28' cy='31' r='0.9' fill='#FFCC4D'/>"
}

# SVG → 256×256 GIF: the art trimmed, fitted into 232×232 and centred on pure white (the program draws
# pictures with a bitwise AND, so the background must be exactly 0xFFFFFF to leave the table untouched).
svg_to_gif() {
    local svg=$1 gif=$2 png="$work/render.png"
    rsvg-convert -w 768 -h 768 "$svg" -o "$png"
    convert "$png" -trim +repage -filter Lanczos -resize 232x232 \
        -background white -gravity center -extent 256x256 -alpha remove -alpha off \
        -dither None -colors 255 -fuzz 1% -fill white -opaque white "$gif"
    local corners
    corners=$(convert "$gif" -format '%[hex:p{0,0}] %[hex:p{255,0}] %[hex:p{0,255}] %[hex:p{255,255}]' info:)
    [[ "$corners" == "FFFFFF FFFFFF FFFFFF FFFFFF" ]] || { echo "$gif: corners not pure white ($corners)" >&2; exit 1; }
}

make_pictures() {
    local tw="$work/npm/node_modules/@twemoji/svg"
    mkdir -p "$work/npm" "$work/svg" "$out/pictures"
    (cd "$work/npm" && npm init -y >/dev/null && npm install --no-audit --no-fund --silent "$TWEMOJI_PKG")
    compose_befana "$tw" "$work/svg/befana.svg"
    compose_postino "$tw" "$work/svg/postino.svg"
    # Resource number, key name, picture (a Twemoji code point file, or one composed above).
    local table=(
        "111 Arancia $tw/1f34a.svg"             # tangerine
        "112 Banana $tw/1f34c.svg"              # banana
        "113 Befana $work/svg/befana.svg"       # witch on a broom
        "114 Casa $tw/1f3e0.svg"                # house
        "115 Contadino $tw/1f468-200d-1f33e.svg" # man farmer
        "116 Elicottero $tw/1f681.svg"          # helicopter
        "117 Gallo $tw/1f413.svg"               # rooster
        "118 Lettera $tw/2709.svg"              # envelope
        "119 Mela $tw/1f34e.svg"                # red apple
        "120 Missile $tw/1f680.svg"             # rocket
        "121 Pallone $tw/26bd.svg"              # football
        "122 Pera $tw/1f350.svg"                # pear
        "123 Postino $work/svg/postino.svg"     # mail carrier
        "124 Sedia $tw/1fa91.svg"               # chair
        "125 Tamburo $tw/1f941.svg"             # drum
        "126 Torta $tw/1f382.svg"               # birthday cake
    )
    local row num name svg
    for row in "${table[@]}"; do
        read -r num name svg <<<"$row"
        svg_to_gif "$svg" "$out/pictures/$num.gif"
        echo "pictures/$num.gif  $name"
    done
}

# ---------------------------------------------------------------- sounds

# sox in its repeatable mode: its dither and its noise come from a fixed seed, so a rerun gives the same
# files and a commit shows only real changes.
sox() { command sox -R "$@"; }

# Mono 16-bit PCM at 22050 Hz: small, and what every WAV reader takes.
WAV_FORMAT=(-r 22050 -c 1 -b 16 -e signed-integer)

make_words() {
    local words=(Arancia Banana Befana Casa Contadino Elicottero Gallo Lettera Mela Missile Pallone Pera
        Postino Sedia Tamburo Torta)
    local i raw
    mkdir -p "$out/sounds"
    for i in "${!words[@]}"; do
        raw="$work/word.wav"
        espeak-ng -v it -s 150 -w "$raw" "${words[$i]}"
        # Silence trimmed at both ends, then a short lead-in so the first consonant is not clipped.
        sox "$raw" "${WAV_FORMAT[@]}" "$out/sounds/$((111 + i)).wav" \
            silence 1 0.01 0.1% reverse silence 1 0.01 0.1% reverse pad 0.05 0.1 gain -n -1
        echo "sounds/$((111 + i)).wav  ${words[$i]}"
    done
}

# Applause: a crowd of clappers, each with a hand timbre of its own (noise with a resonance of its own, a sharp attack
# and a fast decay) clapping about four times a second with a little jitter; they join in over the first
# half second and drop out one by one, and the mix swells in and dies away. Seeded, so it is repeatable.
make_applause() {
    local dir="$work/applause" clappers=14 c k
    mkdir -p "$dir"
    RANDOM=1976
    for c in $(seq 1 "$clappers"); do
        local centre=$((800 + RANDOM % 1700)) q decay
        # printf -v, not $(…): a subshell would draw from a reseeded RANDOM.
        printf -v q '0.%d' $((5 + RANDOM % 5))
        printf -v decay '0.%03d' $((25 + RANDOM % 30))
        sox -n "${WAV_FORMAT[@]}" "$dir/clap$c.wav" synth "$decay" whitenoise \
            gain -12 sinc 350-7000 equalizer "$centre" "${q}q" 12 fade l 0.001 "$decay" "$decay" gain -n -3
        local t start stop segs=() len gain period
        start=$((10 + RANDOM % 490))
        stop=$((1300 + RANDOM % 800))
        period=$((200 + RANDOM % 70))
        t=$start
        k=0
        segs=()
        sox -n "${WAV_FORMAT[@]}" "$dir/lead$c.wav" trim 0 "0.$(printf '%03d' "$start")"
        segs+=("$dir/lead$c.wav")
        while ((t < stop)); do
            len=$((period - 25 + RANDOM % 50))
            gain=$((-(RANDOM % 7)))
            sox -V1 "$dir/clap$c.wav" "$dir/seg$c-$k.wav" gain "$gain" pad 0 1 trim 0 "0.$(printf '%03d' "$len")"
            segs+=("$dir/seg$c-$k.wav")
            t=$((t + len))
            k=$((k + 1))
        done
        sox -V1 "${segs[@]}" "$dir/track$c.wav" pad 0 3 trim 0 2.3
    done
    sox -m "$dir"/track*.wav "$dir/mix.wav" reverb 25 50 40 highpass 300
    sox "$dir/mix.wav" "${WAV_FORMAT[@]}" "$out/sounds/127.wav" \
        trim 0 2.2 fade q 0.35 2.2 1.0 gain -n -1
    echo "sounds/127.wav  applause"
}

# ---------------------------------------------------------------- bitmaps

BLUE='rgb(0,115,255)'
PURPLE='rgb(192,31,170)'
KEY='rgb(255,123,57)'

# 24-bit BMP without an alpha channel: the intro screen copies them with a colour key.
to_bmp() { convert "$1" -alpha off -type TrueColor "BMP3:$2"; }

make_bitmaps() {
    mkdir -p "$out/bitmaps"
    # 101, left band tile 58×72, stacked from the bottom up: purple diamonds on band blue, a white dot
    # halved at each end of the tile so that two tiles meet in a full dot, and a white rule on the right.
    convert -size 58x72 "xc:$BLUE" \
        -fill "$PURPLE" -draw 'polygon 27,12 44,36 27,60 10,36' \
        -fill white -draw 'polygon 27,27 33,36 27,45 21,36' \
        -draw 'circle 27,0 27,4' -draw 'circle 27,72 27,68' \
        -draw 'rectangle 52,0 53,71' "$work/101.png"
    to_bmp "$work/101.png" "$out/bitmaps/101.bmp"
    # 102, right band tile 115×190 on white (the transparent key): a band-blue speech bubble with three
    # purple dots above a smaller purple bubble answering it.
    convert -size 115x190 xc:white \
        -fill "$BLUE" -draw 'roundrectangle 8,10 106,84 18,18' -draw 'polygon 26,80 52,80 22,104' \
        -fill "$PURPLE" -draw 'circle 33,47 33,55' -draw 'circle 57,47 57,55' -draw 'circle 81,47 81,55' \
        -draw 'roundrectangle 30,112 104,168 16,16' -draw 'polygon 80,164 100,164 104,184' \
        -fill white -draw 'circle 50,140 50,145' -draw 'circle 67,140 67,145' -draw 'circle 84,140 84,145' \
        "$work/102.png"
    to_bmp "$work/102.png" "$out/bitmaps/102.bmp"
    # 103, a ribbon 160×18 for the top edge, and 104, a round badge 160×120 under it; both on the key
    # colour, drawn without antialiasing so that no edge pixel is a blend of the key.
    convert -size 160x18 "xc:$KEY" +antialias \
        -fill "$PURPLE" -draw 'roundrectangle 0,1 159,16 8,8' \
        -fill white -draw 'circle 20,9 20,12' -draw 'circle 50,9 50,12' -draw 'circle 80,9 80,12' \
        -draw 'circle 110,9 110,12' -draw 'circle 140,9 140,12' "$work/103.png"
    to_bmp "$work/103.png" "$out/bitmaps/103.bmp"
    convert -size 160x120 "xc:$KEY" +antialias \
        -fill "$PURPLE" -draw 'circle 80,60 80,3' \
        -fill white -draw 'circle 80,60 80,8' \
        -fill "$BLUE" -draw 'circle 80,60 80,12' \
        -fill white -draw 'roundrectangle 52,38 108,76 10,10' -draw 'polygon 60,72 76,72 56,88' \
        -fill "$PURPLE" -draw 'circle 66,57 66,62' -draw 'circle 80,57 80,62' -draw 'circle 94,57 94,62' \
        "$work/104.png"
    to_bmp "$work/104.png" "$out/bitmaps/104.bmp"
    echo "bitmaps/101.bmp … 104.bmp"
}

# The package's icon, the intro screen's badge (bitmap 104) redrawn as a vector.
make_icons() {
    local icons="$repo/packaging/icons" size
    for size in 48 128 256; do
        rsvg-convert -w "$size" -h "$size" -o "$icons/org.mirelva.Mirelva-$size.png" "$icons/org.mirelva.Mirelva.svg"
    done
    echo "packaging/icons/org.mirelva.Mirelva-{48,128,256}.png"
}

install_tools
if [[ "${1:-}" == "--icons" ]]; then
    make_icons
    exit 0
fi
make_pictures
make_words
make_applause
make_bitmaps
make_icons
du -sh "$out"
