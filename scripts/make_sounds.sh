#!/bin/sh
# Makes the game's own default sounds with sox: the ten event sounds and the background
# tune, 16-bit mono WAV, the same bytes at every run (no dither, fixed random seed).
# Usage: make_sounds.sh OUTPUT_FOLDER
#
# Headroom: at most one sound of each kind plays at a time, and the loudest that can sound at
# once are the music, a move (left, right, rotate or inverse), a drop, a landing, a line
# removal and the Vorblin figure. Each kind has its own peak level, and these add up to less
# than full scale (0.94), so the mixed output cannot clip at full volume however they meet.
set -eu
out=$1
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
peak_music=0.32
peak_move=0.12
peak_drop=0.14
peak_landing=0.16
peak_lines=0.12
peak_vorblin=0.08

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

tone "$tmp/left1.wav" 0.07 sine 760-520
tone "$tmp/right1.wav" 0.07 sine 520-760
tone "$tmp/rotate1.wav" 0.09 triangle 880-1320
tone "$tmp/inverse1.wav" 0.16 square 300-900
for name in left1 right1 rotate1 inverse1; do
    level "$tmp/$name.wav" "$out/$name.WAV" $peak_move
done
tone "$tmp/drop1.wav" 0.22 sine 1100-180
level "$tmp/drop1.wav" "$out/drop1.WAV" $peak_drop
tone "$tmp/down1.wav" 0.14 sine 160-55
level "$tmp/down1.wav" "$out/down1.WAV" $peak_landing
tone "$tmp/thud.wav" 0.12 brownnoise vol 0.9
sx "$tmp/thud.wav" "$tmp/down2.wav" lowpass 500 fade q 0.002 0.12 0.06
level "$tmp/down2.wav" "$out/down2.WAV" $peak_landing
tone "$tmp/swish.wav" 0.28 pinknoise vol 0.5
sx "$tmp/swish.wav" "$tmp/drop2.wav" bandpass 1800 1.2q fade q 0.05 0.28 0.2
level "$tmp/drop2.wav" "$out/drop2.WAV" $peak_drop
tone "$tmp/n1.wav" 0.09 pluck C5 vol 0.7
tone "$tmp/n2.wav" 0.09 pluck E5 vol 0.7
tone "$tmp/n3.wav" 0.09 pluck G5 vol 0.7
tone "$tmp/n4.wav" 0.22 pluck C6 vol 0.7
sx "$tmp/n1.wav" "$tmp/n2.wav" "$tmp/n3.wav" "$tmp/n4.wav" "$tmp/dellin1.wav"
level "$tmp/dellin1.wav" "$out/dellin1.WAV" $peak_lines
tone "$tmp/v1.wav" 0.35 sine 1200-2400 vol 0.35
sx "$tmp/v1.wav" "$tmp/vorblin1.wav" tremolo 18 60
level "$tmp/vorblin1.wav" "$out/vorblin1.WAV" $peak_vorblin

# The background tune: a bass line and a melody, every note the same length and faded at
# both ends, so the tune starts and ends in silence and loops without a click.
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
sx "$tmp/tune.wav" "$tmp/tune2.wav" repeat 1
level "$tmp/tune2.wav" "$out/bkgmusic.WAV" $peak_music
