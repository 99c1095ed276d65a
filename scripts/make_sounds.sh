#!/bin/sh
# Makes the game's own default sounds with sox: every sound of the table of sounds
# (src/core/rules/sound_board_table.h), 16-bit mono WAV at the peak level its row gives, the
# same bytes at every run (no dither, fixed random seed). A row without a recipe here stops
# the build. The headroom test (tests/desktop/sound) checks the levels against the table and
# that the loudest that can sound together stay below full scale.
# Usage: make_sounds.sh OUTPUT_FOLDER
set -eu
out=$1
table=$(dirname "$0")/../src/core/rules/sound_board_table.h
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sx() { sox -R -D -V1 "$@"; }
# tone FILE SECONDS SYNTH-ARGS... : one sound with soft ends, so that it never clicks
tone() {
    file=$1 len=$2
    shift 2
    sx -n -r 22050 -c 1 -b 16 "$file" synth "$len" "$@" fade q 0.004 "$len" 0.03
}
# level IN OUT PEAK: the sound scaled so that its highest sample is PEAK of full scale
level() {
    sx "$1" "$2" gain -n "$(awk -v p="$3" 'BEGIN { printf "%.3f", 20 * log(p) / log(10) }')"
}

# The background tune: a bass line and a melody, every note the same length and faded at
# both ends, so the tune starts and ends in silence and loops without a click.
bkgmusic() {
    beat=0.3
    i=0
    for n in A2 A2 E3 A2 F2 F2 C3 F2 G2 G2 D3 G2 E2 E2 B2 E2; do
        tone "$tmp/b$(printf %02d $i).wav" $beat pluck $n vol 0.6
        i=$((i + 1))
    done
    i=0
    for n in E4 A4 C5 B4 A4 C5 E5 D5 C5 B4 G4 B4 D5 B4 G#4 B4; do
        tone "$tmp/m$(printf %02d $i).wav" $beat sine $n vol 0.18
        i=$((i + 1))
    done
    sx "$tmp"/b??.wav "$tmp/bass.wav"
    sx "$tmp"/m??.wav "$tmp/melody.wav"
    sx -m "$tmp/bass.wav" "$tmp/melody.wav" "$tmp/tune.wav"
    sx "$tmp/tune.wav" "$1" repeat 1
}

# recipe NAME FILE: the sound NAME, at any level, into FILE
recipe() {
    case $1 in
    left1) tone "$2" 0.07 sine 760-520 ;;
    right1) tone "$2" 0.07 sine 520-760 ;;
    rotate1) tone "$2" 0.09 triangle 880-1320 ;;
    inverse1) tone "$2" 0.16 square 300-900 ;;
    drop1) tone "$2" 0.22 sine 1100-180 ;;
    down1) tone "$2" 0.14 sine 160-55 ;;
    down2)
        tone "$tmp/thud.wav" 0.12 brownnoise vol 0.9
        sx "$tmp/thud.wav" "$2" lowpass 500 fade q 0.002 0.12 0.06
        ;;
    drop2)
        tone "$tmp/swish.wav" 0.28 pinknoise vol 0.5
        sx "$tmp/swish.wav" "$2" bandpass 1800 1.2q fade q 0.05 0.28 0.2
        ;;
    dellin1)
        for n in C5 E5 G5; do tone "$tmp/n$n.wav" 0.09 pluck $n vol 0.7; done
        tone "$tmp/nC6.wav" 0.22 pluck C6 vol 0.7
        sx "$tmp/nC5.wav" "$tmp/nE5.wav" "$tmp/nG5.wav" "$tmp/nC6.wav" "$2"
        ;;
    vorblin1)
        tone "$tmp/v1.wav" 0.35 sine 1200-2400 vol 0.35
        sx "$tmp/v1.wav" "$2" tremolo 18 60
        ;;
    bkgmusic) bkgmusic "$2" ;;
    *)
        echo "make_sounds.sh: no recipe for the sound \"$1\" of $table" >&2
        exit 1
        ;;
    esac
}

# Each row of the table: X(channel, "file", list, variant, "kind", peak, "label").
rows=$(sed -n 's/^ *X([A-Za-z0-9]*, *"\([a-z0-9]*\)", *[0-9]*, *[0-9]*, *"[a-z]*", *\([0-9.]*\),.*/\1 \2/p' "$table")
[ -n "$rows" ] || { echo "make_sounds.sh: no sounds in $table" >&2; exit 1; }
echo "$rows" | while read -r name peak; do
    recipe "$name" "$tmp/$name.wav"
    level "$tmp/$name.wav" "$out/$name.WAV" "$peak"
done
